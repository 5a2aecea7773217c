// The exact decimal numbers of the %CALC% evaluator: reading, sums, floored products and
// quotients, range errors and the written form.
#include "compose/ExactDecimal.h"
#include "compose/KeywordError.h"

#include <QTest>

#include <limits>
#include <optional>
#include <stdexcept>

namespace {

const QString nines38 = QString(38, u'9');

// A value from its text; a leading "-" negates.
ExactDecimal value(const QString& text)
{
    const bool negative = text.startsWith(u'-');
    const std::optional<ExactDecimal> parsed = ExactDecimal::parse(negative ? text.mid(1) : text);
    if (!parsed)
        throw std::invalid_argument("bad test number");
    return negative ? -*parsed : *parsed;
}

} // namespace

class TestExactDecimal : public QObject
{
    Q_OBJECT

private slots:
    void readsDigitsWithOnePoint_data();
    void readsDigitsWithOnePoint();
    void computesExactlyAndFloors_data();
    void computesExactlyAndFloors();
    void writesGeneralForm_data();
    void writesGeneralForm();
    void readsInt64Range();
};

void TestExactDecimal::readsDigitsWithOnePoint_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("exact"); // "invalid" for no number, else the message or value

    QTest::newRow("whole") << "12"
                           << "12";
    QTest::newRow("trailing zeros go") << "1.50"
                                       << "1.5";
    QTest::newRow("point first") << ".5"
                                 << "0.5";
    QTest::newRow("point last") << "5."
                                << "5";
    QTest::newRow("leading zeros") << "007"
                                   << "7";
    QTest::newRow("zero with places") << "0.000"
                                      << "0";
    QTest::newRow("two points") << "1.2.3"
                                << "invalid";
    QTest::newRow("point alone") << "."
                                 << "invalid";
    QTest::newRow("empty") << ""
                           << "invalid";
    QTest::newRow("other character") << "1a"
                                     << "invalid";
    QTest::newRow("sign") << "-1"
                          << "invalid";
    QTest::newRow("full-width digit") << "１"
                                      << "invalid";
    QTest::newRow("38 digits") << nines38 << nines38;
    QTest::newRow("39 digits") << "1" + nines38 << "浮動小数点数のオーバーフロー";
    QTest::newRow("leading zeros are not digits") << QString(50, u'0') + "1"
                                                  << "1";
    QTest::newRow("places past the 38th are cut")
        << "0." + QString(40, u'1') << "0." + QString(38, u'1');
    QTest::newRow("fraction cut to 38 significant digits") << "1" + QString(36, u'0') + ".25"
                                                           << "1" + QString(36, u'0') + ".2";
    QTest::newRow("smallest place") << "0." + QString(37, u'0') + "1"
                                    << "0." + QString(37, u'0') + "1";
}

void TestExactDecimal::readsDigitsWithOnePoint()
{
    QFETCH(QString, text);
    QFETCH(QString, exact);
    try {
        const std::optional<ExactDecimal> parsed = ExactDecimal::parse(text);
        QCOMPARE(parsed ? parsed->toString() : QStringLiteral("invalid"), exact);
    } catch (const KeywordError& error) {
        QCOMPARE(error.message(), exact);
    }
}

void TestExactDecimal::computesExactlyAndFloors_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("expected"); // exact value or error message

    const QString overflow = QStringLiteral("浮動小数点数のオーバーフロー");
    const QString tiny = "0." + QString(37, u'0') + "1";
    const QString almostOne = "0." + QString(38, u'9');

    QTest::newRow("decimal sum is exact") << "0.1"
                                          << "+"
                                          << "0.2"
                                          << "0.3";
    QTest::newRow("sum not floored") << "1.5"
                                     << "+"
                                     << "1"
                                     << "2.5";
    QTest::newRow("difference below zero") << "1"
                                           << "-"
                                           << "8"
                                           << "-7";
    QTest::newRow("difference of fractions") << "0.3"
                                             << "-"
                                             << "1.05"
                                             << "-0.75";
    QTest::newRow("long sum keeps every digit") << "12345678901234567890.1234567890123456"
                                                << "+"
                                                << "0.0000000000000001"
                                                << "12345678901234567890.1234567890123457";
    QTest::newRow("sum past 38 digits is cut") << nines38 << "+"
                                               << "0.5" << nines38;
    QTest::newRow("tiny part of a sum is cut") << "1"
                                               << "+" << tiny << "1";
    QTest::newRow("sum too large") << nines38 << "+"
                                   << "1" << overflow;
    QTest::newRow("difference too large") << "-" + nines38 << "-"
                                          << "1" << overflow;

    QTest::newRow("product exact where doubles miss") << "100"
                                                      << "*"
                                                      << "0.57"
                                                      << "57";
    QTest::newRow("product with tax") << "1980"
                                      << "*"
                                      << "1.05"
                                      << "2079";
    QTest::newRow("product floored") << "7"
                                     << "*"
                                     << "0.5"
                                     << "3";
    QTest::newRow("negative product floored down") << "-1.5"
                                                   << "*"
                                                   << "3"
                                                   << "-5";
    QTest::newRow("negative factor second") << "1.5"
                                            << "*"
                                            << "-3"
                                            << "-5";
    QTest::newRow("two negatives") << "-1.5"
                                   << "*"
                                   << "-3"
                                   << "4";
    QTest::newRow("exact negative product") << "-2"
                                            << "*"
                                            << "3"
                                            << "-6";
    QTest::newRow("product of long fractions") << almostOne << "*" << almostOne << "0";
    QTest::newRow("negative product of long fractions")
        << "-" + almostOne << "*" << almostOne << "-1";
    QTest::newRow("product too large") << nines38 << "*"
                                       << "10" << overflow;
    QTest::newRow("large product that fits") << "1" + QString(18, u'0') << "*"
                                             << "1" + QString(19, u'0') << "1" + QString(37, u'0');

    QTest::newRow("quotient floored") << "10"
                                      << "/"
                                      << "3"
                                      << "3";
    QTest::newRow("negative quotient floored down") << "-7"
                                                    << "/"
                                                    << "2"
                                                    << "-4";
    QTest::newRow("negative divisor") << "7"
                                      << "/"
                                      << "-2"
                                      << "-4";
    QTest::newRow("two negatives divide") << "-7"
                                          << "/"
                                          << "-2"
                                          << "3";
    QTest::newRow("exact negative quotient") << "-8"
                                             << "/"
                                             << "2"
                                             << "-4";
    QTest::newRow("fraction divisor") << "1"
                                      << "/"
                                      << "0.3"
                                      << "3";
    QTest::newRow("exact fraction quotient") << "0.9"
                                             << "/"
                                             << "0.3"
                                             << "3";
    QTest::newRow("small negative quotient") << "-0.5"
                                             << "/"
                                             << "1"
                                             << "-1";
    QTest::newRow("zero dividend") << "0"
                                   << "/"
                                   << "5"
                                   << "0";
    QTest::newRow("division by zero") << "1"
                                      << "/"
                                      << "0"
                                      << "0 による浮動小数点数除算";
    QTest::newRow("zero by zero") << "0"
                                  << "/"
                                  << "0.000"
                                  << "不正な浮動小数点数演算命令";
    QTest::newRow("quotient too large") << nines38 << "/" << tiny << overflow;
    QTest::newRow("long quotient") << nines38 << "/"
                                   << "3" << QString(38, u'3');
}

void TestExactDecimal::computesExactlyAndFloors()
{
    QFETCH(QString, a);
    QFETCH(QString, op);
    QFETCH(QString, b);
    QFETCH(QString, expected);
    try {
        const ExactDecimal x = value(a), y = value(b);
        ExactDecimal result;
        if (op == "+")
            result = x + y;
        else if (op == "-")
            result = x - y;
        else if (op == "*")
            result = x.flooredProduct(y);
        else
            result = x.flooredQuotient(y);
        QCOMPARE(result.toString(), expected);
        if (op == "*" || op == "/")
            QVERIFY(result.isInteger());
    } catch (const KeywordError& error) {
        QCOMPARE(error.message(), expected);
    }
}

void TestExactDecimal::writesGeneralForm_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("written");

    QTest::newRow("whole") << "1080"
                           << "1080";
    QTest::newRow("fraction") << "2.5"
                              << "2.5";
    QTest::newRow("zero") << "0"
                          << "0";
    QTest::newRow("negative") << "-1234.5"
                              << "-1234.5";
    QTest::newRow("fifteen digits") << "999999999999999"
                                    << "999999999999999";
    QTest::newRow("sixteen digits") << "1000000000000000"
                                    << "1E15";
    QTest::newRow("rounded in exponent form") << "1234567890123456"
                                              << "1.23456789012346E15";
    QTest::newRow("fraction rounded to 15 digits") << "1.23456789012345678"
                                                   << "1.23456789012346";
    QTest::newRow("rounding carries into the whole part") << "0.999999999999999999"
                                                          << "1";
    QTest::newRow("carry keeps fixed form") << "99999999999999.99"
                                            << "100000000000000";
    QTest::newRow("carry into exponent form") << "999999999999999.9"
                                              << "1E15";
    QTest::newRow("half rounds away from zero") << "-0.1234567890123455"
                                                << "-0.123456789012346";
    QTest::newRow("small fixed") << "0.00001"
                                 << "0.00001";
    QTest::newRow("smaller in exponent form") << "0.0000015"
                                              << "1.5E-6";
    QTest::newRow("large negative") << "-" + QString(20, u'9') << "-1E20";
}

void TestExactDecimal::writesGeneralForm()
{
    QFETCH(QString, number);
    QFETCH(QString, written);
    QCOMPARE(value(number).toGeneralString(15), written);
}

void TestExactDecimal::readsInt64Range()
{
    QCOMPARE(ExactDecimal::fromInt64(std::numeric_limits<std::int64_t>::min()).toString(),
             QStringLiteral("-9223372036854775808"));
    QCOMPARE(ExactDecimal::fromInt64(0), ExactDecimal());
    QCOMPARE(ExactDecimal::fromInt64(-5).toString(), QStringLiteral("-5"));
}

QTEST_APPLESS_MAIN(TestExactDecimal)
#include "test_exact_decimal.moc"
