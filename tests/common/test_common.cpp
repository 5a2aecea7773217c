#include "common/CommonRoutines.h"
#include "common/HtmlReferences.h"

#include "platform/Database.h"
#include "platform/Sql.h"
#include "support/TestDataFolder.h"

#include <QSet>
#include <QStringEncoder>
#include <QTest>

#include <stdexcept>

class TestCommon : public QObject
{
    Q_OBJECT

private slots:
    void extractsAsciiDigits_data();
    void extractsAsciiDigits();
    void testsAsciiDigitsOnly_data();
    void testsAsciiDigitsOnly();
    void testsSingleDigitChar_data();
    void testsSingleDigitChar();
    void comparesIntegers_data();
    void comparesIntegers();
    void groupsThousands_data();
    void groupsThousands();
    void convertsToFullWidth_data();
    void convertsToFullWidth();
    void fullWidthAsciiIsEncodableForTheSite();
    void convertsNaviDate_data();
    void convertsNaviDate();
    void padsEndDateText_data();
    void padsEndDateText();
    void makesTodayText_data();
    void makesTodayText();
    void parsesNaviCount_data();
    void parsesNaviCount();
    void trimsHalfAndFullWidthBlanksOnly_data();
    void trimsHalfAndFullWidthBlanksOnly();
    void countsChars_data();
    void countsChars();
    void countsOccurrencesWithoutOverlap_data();
    void countsOccurrencesWithoutOverlap();
    void makesRandomDigits();
    void randomDigitsDoNotRepeatWithinASecond();
    void checksSaveNameUnused_data();
    void checksSaveNameUnused();
    void refusesOtherTablesForSaveName();
    void decodesHtmlReferences_data();
    void decodesHtmlReferences();
};

void TestCommon::extractsAsciiDigits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("price") << "1,500円"
                           << "1500";
    QTest::newRow("none") << "円"
                          << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("full-width digits dropped") << "１２3"
                                               << "3";
    QTest::newRow("other scripts' digits dropped") << "\u0663"
                                                      "7"
                                                   << "7";
    QTest::newRow("order kept") << "a1b2c3"
                                << "123";
}

void TestCommon::extractsAsciiDigits()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(extractDigits(text), expected);
}

void TestCommon::testsAsciiDigitsOnly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("digits") << "0123456789" << true;
    QTest::newRow("letter") << "12a" << false;
    QTest::newRow("full-width digit") << "1２" << false;
    QTest::newRow("sign") << "-12" << false;
    QTest::newRow("blank") << "1 2" << false;
}

void TestCommon::testsAsciiDigitsOnly()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(isAllDigits(text), expected);
}

void TestCommon::testsSingleDigitChar_data()
{
    QTest::addColumn<QChar>("c");
    QTest::addColumn<bool>("expected");
    QTest::newRow("0") << QChar(u'0') << true;
    QTest::newRow("9") << QChar(u'9') << true;
    QTest::newRow("/") << QChar(u'/') << false;
    QTest::newRow(":") << QChar(u':') << false;
    QTest::newRow("full-width 5") << QChar(u'５') << false;
    QTest::newRow("arabic-indic 3") << QChar(u'\u0663') << false;
    QTest::newRow("kana") << QChar(u'あ') << false;
}

void TestCommon::testsSingleDigitChar()
{
    QFETCH(QChar, c);
    QFETCH(bool, expected);
    QCOMPARE(isDigitChar(c), expected);
}

void TestCommon::comparesIntegers_data()
{
    QTest::addColumn<qint64>("a");
    QTest::addColumn<qint64>("b");
    QTest::addColumn<int>("expected");
    QTest::newRow("equal") << qint64(5) << qint64(5) << 0;
    QTest::newRow("greater") << qint64(6) << qint64(5) << 1;
    QTest::newRow("smaller") << qint64(-1) << qint64(0) << -1;
    QTest::newRow("far apart") << qint64(-2000000000) << qint64(2000000000) << -1;
    QTest::newRow("beyond int") << qint64(5000000000) << qint64(1) << 1;
}

void TestCommon::comparesIntegers()
{
    QFETCH(qint64, a);
    QFETCH(qint64, b);
    QFETCH(int, expected);
    QCOMPARE(compareInt(a, b), expected);
}

void TestCommon::groupsThousands_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("1 digit") << "7"
                             << "7";
    QTest::newRow("2 digits") << "12"
                              << "12";
    QTest::newRow("3 digits") << "123"
                              << "123";
    QTest::newRow("4 digits") << "1000"
                              << "1,000";
    QTest::newRow("1234") << "1234"
                          << "1,234";
    QTest::newRow("6 digits") << "123456"
                              << "123,456";
    QTest::newRow("7 digits") << "1234567"
                              << "1,234,567";
    QTest::newRow("10 digits") << "1234567890"
                               << "1,234,567,890";
    QTest::newRow("minus 2 digits") << "-12"
                                    << "-12";
    QTest::newRow("minus 3 digits") << "-100"
                                    << "-100";
    QTest::newRow("minus 4 digits") << "-1234"
                                    << "-1,234";
    QTest::newRow("minus 6 digits") << "-123456"
                                    << "-123,456";
    QTest::newRow("minus 7 digits") << "-1234567"
                                    << "-1,234,567";
    QTest::newRow("plus 3 digits") << "+123"
                                   << "+123";
    QTest::newRow("plus 4 digits") << "+1234"
                                   << "+1,234";
    QTest::newRow("point is a character") << "1234.5"
                                          << "123,4.5";
}

void TestCommon::groupsThousands()
{
    QFETCH(QString, number);
    QFETCH(QString, expected);
    QCOMPARE(addThousandsSeparators(number), expected);
}

void TestCommon::convertsToFullWidth_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("digits") << "0123456789"
                            << "０１２３４５６７８９";
    QTest::newRow("upper letters") << "ABCXYZ"
                                   << "ＡＢＣＸＹＺ";
    QTest::newRow("lower letters") << "abcxyz"
                                   << "ａｂｃｘｙｚ";
    QTest::newRow("blank") << " "
                           << "\u3000";
    QTest::newRow("signs") << "!#$%&()*+,-./:;<=>?@[]^_`{|}"
                           << "！＃＄％＆（）＊＋，－．／：；＜＝＞？＠［］＾＿｀｛｜｝";
    QTest::newRow("double quote") << "\""
                                  << "\uFF02";
    QTest::newRow("single quote") << "'"
                                  << "\uFF07";
    QTest::newRow("backslash") << "\\"
                               << "\uFF3C";
    QTest::newRow("tilde") << "~"
                           << "\uFF5E";
    QTest::newRow("grouped price") << "1,500円"
                                   << "１，５００円";
    QTest::newRow("katakana") << "ｱｲｳｴｵﾝｦｧｯｰ"
                              << "アイウエオンヲァッー";
    QTest::newRow("kana punctuation") << "｡｢｣､･"
                                      << "。「」、・";
    QTest::newRow("voiced") << "ｶﾞｷﾞｸﾞｹﾞｺﾞ"
                            << "ガギグゲゴ";
    QTest::newRow("semi-voiced") << "ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"
                                 << "パピプペポ";
    QTest::newRow("vu") << "ｳﾞ"
                        << "ヴ";
    QTest::newRow("lone voiced mark") << "ﾞ"
                                      << "\u309B";
    QTest::newRow("lone semi-voiced mark") << "ﾟ"
                                           << "\u309C";
    QTest::newRow("voiced mark on uncombinable kana") << "ｱﾞ"
                                                      << "ア\u309B";
    QTest::newRow("semi-voiced mark on voiced kana") << "ﾊﾞﾟ"
                                                     << "バ\u309C";
    QTest::newRow("two voiced marks") << "ｶﾞﾞ"
                                      << "ガ\u309B";
    QTest::newRow("mark after letter") << "Aﾟ"
                                       << "Ａ\u309C";
    QTest::newRow("full-width stays") << "テスト　ＡＢＣ漢字"
                                      << "テスト　ＡＢＣ漢字";
    QTest::newRow("control characters stay") << "a\r\nb\t"
                                             << "ａ\r\nｂ\t";
    QTest::newRow("mixed") << "No.12 ｶﾞﾝﾀﾞﾑ"
                           << "Ｎｏ．１２\u3000ガンダム";
}

void TestCommon::convertsToFullWidth()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(toFullWidth(text), expected);
}

void TestCommon::fullWidthAsciiIsEncodableForTheSite()
{
    // Posted text goes to the site as CP932: every full-width form of printable ASCII must
    // exist there.
    QString ascii;
    for (char16_t c = 0x20; c <= 0x7E; ++c)
        ascii += QChar(c);
    const QString full = toFullWidth(ascii);
    QCOMPARE(full.size(), ascii.size());
    QVERIFY(QStringEncoder("CP932").isValid());
    for (QChar c : full) {
        QStringEncoder one("CP932");
        const QByteArray bytes = one.encode(QString(c));
        QVERIFY2(!one.hasError() && bytes.size() == 2,
                 qPrintable(QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QChar(u'0'))));
    }
}

void TestCommon::convertsNaviDate_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("siteDate");
    QTest::addColumn<QString>("expected");
    const QDate jan5(2026, 1, 5);
    const QDate jun15(2026, 6, 15);
    const QDate dec10(2026, 12, 10);
    QTest::newRow("late december seen in january") << jan5 << "12月28日 09時03分"
                                                   << "2025/12/28 09:03";
    QTest::newRow("today") << jan5 << "1月5日 23時59分"
                           << "2026/01/05 23:59";
    QTest::newRow("site form") << dec10 << "12月08日 14時05分"
                               << "2026/12/08 14:05";
    QTest::newRow("one-digit parts") << dec10 << "12月8日 9時3分"
                                     << "2026/12/08 09:03";
    QTest::newRow("midnight") << dec10 << "12月9日 0時00分"
                              << "2026/12/09 00:00";
    QTest::newRow("121 days before") << jun15 << "2月14日 10時00分"
                                     << "2026/02/14 10:00";
    QTest::newRow("122 days before keeps the year") << jun15 << "2月13日 10時00分"
                                                    << "2026/02/13 10:00";
    QTest::newRow("long ago keeps the year") << dec10 << "1月5日 10時00分"
                                             << "2026/01/05 10:00";
    QTest::newRow("yesterday") << jun15 << "6月14日 10時00分"
                               << "2026/06/14 10:00";
    QTest::newRow("tomorrow") << jun15 << "6月16日 10時00分"
                              << "2026/06/16 10:00";
    QTest::newRow("120 days after") << jun15 << "10月13日 10時00分"
                                    << "2026/10/13 10:00";
    QTest::newRow("121 days after is last year") << jun15 << "10月14日 10時00分"
                                                 << "2025/10/14 10:00";
    QTest::newRow("120 days after across new year") << jan5 << "5月5日 10時00分"
                                                    << "2026/05/05 10:00";
    QTest::newRow("121 days after across new year") << jan5 << "5月6日 10時00分"
                                                    << "2025/05/06 10:00";
    QTest::newRow("leap day in a leap year") << QDate(2028, 3, 1) << "2月29日 12時00分"
                                             << "2028/02/29 12:00";
    QTest::newRow("leap day in a common year") << dec10 << "2月29日 12時00分"
                                               << "";
    QTest::newRow("no such month") << dec10 << "13月1日 10時00分"
                                   << "";
    QTest::newRow("no such day") << dec10 << "4月31日 10時00分"
                                 << "";
    QTest::newRow("no such hour") << dec10 << "12月1日 24時00分"
                                  << "";
    QTest::newRow("no such minute") << dec10 << "12月1日 10時60分"
                                    << "";
    QTest::newRow("empty") << dec10 << ""
                           << "";
    QTest::newRow("garbage") << dec10 << "昨日"
                             << "";
    QTest::newRow("no time") << dec10 << "12月1日"
                             << "";
    QTest::newRow("full-width digits") << dec10 << "１２月１日 10時00分"
                                       << "";
}

void TestCommon::convertsNaviDate()
{
    QFETCH(QDate, today);
    QFETCH(QString, siteDate);
    QFETCH(QString, expected);
    QCOMPARE(convertNaviDate(siteDate, today), expected);
}

void TestCommon::padsEndDateText_data()
{
    QTest::addColumn<QString>("endTime");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing to pad") << "12月 28日 22時 10分"
                                    << "12月28日 22時10分";
    QTest::newRow("every part padded") << "1月  5日  5時 5分"
                                       << "01月05日 05時05分";
    QTest::newRow("one-digit month") << "1月 28日 22時 10分"
                                     << "01月28日 22時10分";
    QTest::newRow("blank-padded day") << "12月  5日 22時 10分"
                                      << "12月05日 22時10分";
    QTest::newRow("blank-padded hour") << "12月 28日  5時 10分"
                                       << "12月28日 05時10分";
    QTest::newRow("one-digit minute") << "12月 28日 22時 5分"
                                      << "12月28日 22時05分";
    QTest::newRow("already fixed width") << "01月 05日 05時 05分"
                                         << "01月05日 05時05分";
    QTest::newRow("other shape unchanged") << "2026-12-28 22:10"
                                           << "2026-12-28 22:10";
    QTest::newRow("empty") << ""
                           << "";
}

void TestCommon::padsEndDateText()
{
    QFETCH(QString, endTime);
    QFETCH(QString, expected);
    QCOMPARE(padEndDateText(endTime), expected);
}

void TestCommon::makesTodayText_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one-digit month and day") << QDate(2026, 3, 7) << "03月07日";
    QTest::newRow("two-digit month and day") << QDate(2026, 12, 10) << "12月10日";
}

void TestCommon::makesTodayText()
{
    QFETCH(QDate, today);
    QFETCH(QString, expected);
    QCOMPARE(makeTodayText(today), expected);
}

void TestCommon::parsesNaviCount_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("unread");
    QTest::addColumn<int>("total");
    QTest::newRow("empty") << "" << true << 0 << 0;
    QTest::newRow("zero") << "0" << true << 0 << 0;
    QTest::newRow("total only") << "5" << true << 0 << 5;
    QTest::newRow("7") << "7" << true << 0 << 7;
    QTest::newRow("with unread") << "5(2)" << true << 2 << 5;
    QTest::newRow("7(2)") << "7(2)" << true << 2 << 7;
    QTest::newRow("large") << "120(15)" << true << 15 << 120;
    QTest::newRow("letters") << "abc" << false << 0 << 0;
    QTest::newRow("number with letters") << "5x" << false << 0 << 0;
    QTest::newRow("unclosed") << "5(2" << false << 0 << 0;
    QTest::newRow("empty parentheses") << "5()" << false << 0 << 0;
    QTest::newRow("no total") << "(2)" << false << 0 << 0;
    QTest::newRow("letters inside") << "5(a)" << false << 0 << 0;
    QTest::newRow("closing first") << ")5(2" << false << 0 << 0;
    QTest::newRow("full-width digit") << "５" << false << 0 << 0;
    QTest::newRow("too large") << "99999999999" << false << 0 << 0;
}

void TestCommon::parsesNaviCount()
{
    QFETCH(QString, cell);
    QFETCH(bool, ok);
    QFETCH(int, unread);
    QFETCH(int, total);
    int gotUnread = -99;
    int gotTotal = -99;
    QCOMPARE(parseNaviCount(cell, &gotUnread, &gotTotal), ok);
    QCOMPARE(gotUnread, unread);
    QCOMPARE(gotTotal, total);
}

void TestCommon::trimsHalfAndFullWidthBlanksOnly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("name") << "　山田　太郎 "
                          << "山田　太郎";
    QTest::newRow("two blanks") << "  "
                                << "";
    QTest::newRow("one blank") << " "
                               << "";
    QTest::newRow("full-width blank") << "　"
                                      << "";
    QTest::newRow("mixed blanks only") << " 　 　"
                                       << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("plain") << "a"
                           << "a";
    QTest::newRow("mixed both ends") << " 　 a b　 "
                                     << "a b";
    QTest::newRow("inner blanks kept") << "山田 　太郎"
                                       << "山田 　太郎";
    QTest::newRow("tab kept") << "\tab\t"
                              << "\tab\t";
    QTest::newRow("line break kept") << " ab\r\n"
                                     << "ab\r\n";
    QTest::newRow("no-break space kept") << "\u00A0ab"
                                         << "\u00A0ab";
}

void TestCommon::trimsHalfAndFullWidthBlanksOnly()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QString original = text;
    QCOMPARE(trimSpaces(text), expected);
    QCOMPARE(text, original);
}

void TestCommon::countsChars_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("ascii") << "abc" << 3;
    QTest::newRow("kana") << "あいう" << 3;
    QTest::newRow("mixed") << "aあ１ｱ" << 4;
    QTest::newRow("line break") << "a\r\nb" << 4;
    QTest::newRow("outside basic plane") << "𠮷野家" << 3;
}

void TestCommon::countsChars()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(countChars(text), expected);
}

void TestCommon::countsOccurrencesWithoutOverlap_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("expected");
    QTest::newRow("keyword twice") << "%id%%id%"
                                   << "%id%" << 2;
    QTest::newRow("overlapping") << "aaaa"
                                 << "aa" << 2;
    QTest::newRow("odd overlap") << "aaa"
                                 << "aa" << 1;
    QTest::newRow("none") << "abc"
                          << "%id%" << 0;
    QTest::newRow("empty text") << ""
                                << "%id%" << 0;
    QTest::newRow("empty pattern") << "abc"
                                   << "" << 0;
    QTest::newRow("case matters") << "%ID%%id%"
                                  << "%id%" << 1;
    QTest::newRow("japanese") << "様様様"
                              << "様" << 3;
}

void TestCommon::countsOccurrencesWithoutOverlap()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(int, expected);
    QCOMPARE(countOccurrences(text, pattern), expected);
}

void TestCommon::makesRandomDigits()
{
    for (int n : {0, 1, 10, 32}) {
        const QString digits = makeRandomDigits(n);
        QCOMPARE(digits.size(), n);
        QVERIFY(isAllDigits(digits));
    }
}

void TestCommon::randomDigitsDoNotRepeatWithinASecond()
{
    // Folder ids are drawn in quick succession; a repeated sequence would make every later
    // draw collide.
    QSet<QString> seen;
    for (int i = 0; i < 100; ++i)
        seen.insert(makeRandomDigits(10));
    QCOMPARE(seen.size(), 100);
}

void TestCommon::checksSaveNameUnused_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("expected");
    for (const QString table :
         {QStringLiteral("T_NaviTemplate"), QStringLiteral("T_EvaluationTemplate")}) {
        const QByteArray t = table.toUtf8();
        QTest::newRow(t + " taken") << table << "お礼" << false;
        QTest::newRow(t + " free") << table << "督促" << true;
        QTest::newRow(t + " other case") << table << "THANKS" << false;
        QTest::newRow(t + " quote taken") << table << "It's" << false;
        QTest::newRow(t + " quote free") << table << "O'Brien" << true;
        QTest::newRow(t + " injection") << table << "x' OR '1'='1" << true;
        QTest::newRow(t + " empty") << table << "" << true;
    }
}

void TestCommon::checksSaveNameUnused()
{
    QFETCH(QString, table);
    QFETCH(QString, name);
    QFETCH(bool, expected);
    TestDataFolder folder;
    QVERIFY(folder.isValid());
    try {
        Database::ScopedConnection connection;
        for (const QString& saved :
             {QStringLiteral("お礼"), QStringLiteral("thanks"), QStringLiteral("It's")})
            Sql::exec(connection.db(),
                      QStringLiteral("INSERT INTO %1 (SaveName) VALUES (:NAME)").arg(table),
                      {{QStringLiteral(":NAME"), saved}});
        QCOMPARE(isSaveNameUnused(table, name), expected);
    } catch (const std::exception& e) {
        QFAIL(e.what());
    }
}

void TestCommon::refusesOtherTablesForSaveName()
{
    TestDataFolder folder;
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, isSaveNameUnused("T_Navi", "x"));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                             isSaveNameUnused("T_NaviTemplate; DROP TABLE T_Navi", "x"));
}

void TestCommon::decodesHtmlReferences_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("decoded");
    QTest::newRow("no reference") << "送料込み 500円"
                                  << "送料込み 500円";
    QTest::newRow("markup characters") << "&quot;a&quot; &amp; &lt;b&gt; &#39;c&apos;"
                                       << "\"a\" & <b> 'c'";
    QTest::newRow("Latin-1, symbols, Greek")
        << "caf&eacute; &copy;&nbsp;&yen;100 &hellip;&mdash;&euro; &Omega;&omega; &hearts;"
        << QString::fromUtf8("café ©\u00a0¥100 …—€ Ωω ♥");
    QTest::newRow("names are case-sensitive")
        << "&Eacute;&eacute;&AMP;&Amp;" << QString::fromUtf8("Éé&AMP;&Amp;");
    QTest::newRow("unknown or unterminated names stay") << "&foo; &amp &copy x & y &;"
                                                        << "&foo; &amp &copy x & y &;";
    QTest::newRow("too long a name stays")
        << "&thetasymx; &thetasym;" << QString::fromUtf8("&thetasymx; ϑ");
    QTest::newRow("decimal and hexadecimal") << "&#12354;&#x3044;&#X3046;&#0038;"
                                             << "あいう&";
    QTest::newRow("beyond the basic plane") << "&#128512;&#x1F600;" << QString::fromUtf8("😀😀");
    QTest::newRow("number without its semicolon") << "&#65abc &#x41g"
                                                  << "Aabc Ag";
    QTest::newRow("no digits stays") << "&#; &#x; &# &#xyz;"
                                     << "&#; &#x; &# &#xyz;";
    QTest::newRow("zero, surrogates, beyond the last code point")
        << "&#0;&#xD800;&#57343;&#x110000;&#99999999999999999999;&#x0000000041;"
        << QString::fromUtf8("\ufffd\ufffd\ufffd\ufffd\ufffdA");
    QTest::newRow("C1 numbers are Windows-1252")
        << "&#150;&#x80;&#153;&#x81;" << QString::fromUtf8("–€™\u0081");
    QTest::newRow("read once") << "&amp;lt;br&amp;gt; &amp;#39;"
                               << "&lt;br&gt; &#39;";
    QTest::newRow("at the ends") << "&lt;x&gt;"
                                 << "<x>";
    QTest::newRow("tags stay") << "<b>&lt;br&gt;</b>"
                               << "<b><br></b>";
    QTest::newRow("ampersand at the very end") << "a&"
                                               << "a&";
}

void TestCommon::decodesHtmlReferences()
{
    QFETCH(QString, text);
    QFETCH(QString, decoded);
    QCOMPARE(decodeHtmlReferences(text), decoded);
}

QTEST_GUILESS_MAIN(TestCommon)
#include "test_common.moc"
