// Template keywords: the %CALC% evaluator, the expansion of a template for one winner, and the
// main window's expansion over a real database file and a filled listing list.
#include "support/FixtureDb.h"
#include "support/MainWindowFixture.h"

#include "app/UnitNavi.h"
#include "compose/CalcExpression.h"
#include "compose/KeywordError.h"
#include "compose/KeywordExpander.h"
#include "compose/TemplateKeywords.h"
#include "platform/Sql.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/BidSearchPanel.h"
#include "views/ListingTab.h"

#include <QLineEdit>
#include <QTest>

#include <memory>

namespace {

const QString calcError = QStringLiteral("%CALC%キーワード計算エラー");
const QString overflow = QStringLiteral("浮動小数点数のオーバーフロー");

// One listing as the database row or the list cells hold it.
struct Listing
{
    QString aid;
    QString title;
    QString price;
    QString quantity;
};

struct Fixture
{
    QList<Listing> listings;
    QString winnerId = QStringLiteral("bidder1");
    QString winnerName = QStringLiteral("山田太郎");
    QString carriage = QStringLiteral("500");
    QString forwarding = QStringLiteral("F-123");
    SellerData seller = {"佐藤花子",          "さとうはなこ", "100-0001",
                         "東京都千代田区1-1", "03-0000-0000", "shop@example.jp"};
    QString loginId = QStringLiteral("seller");
};

Fixture fixture(const QString& name)
{
    const Listing camera{"a1", "Camera", "3000", ""};
    Fixture f;
    f.listings = {camera};
    if (name == "two")
        f.listings = {{"a1", "Camera", "1000", "1"}, {"a2", "Lens", "2000", "1"}};
    else if (name == "three")
        f.listings = {camera, {"a2", "Lens", "1200", "2"}, {"a3", "Bag", "500", ""}};
    else if (name == "thousand")
        f.listings = {{"a1", "Camera", "1000", "1"}};
    else if (name == "noCarriage")
        f.carriage = f.forwarding = QString();
    else if (name == "commaCarriage")
        f.carriage = "1,000";
    else if (name == "textCarriage")
        f.carriage = "着払い";
    else if (name == "hugeCarriage")
        f.carriage = "99999999999999999999";
    else if (name == "nobody")
        f.winnerName.clear(), f.seller = SellerData();
    else if (name == "badPrice")
        f.listings = {{"a1", "Camera", "abc", "1"}};
    else if (name == "emptyPrice")
        f.listings = {{"a1", "", "", ""}};
    else if (name == "badQuantity")
        f.listings = {{"a1", "Camera", "1000", "2個"}};
    else if (name == "otherBadPrice")
        f.listings = {camera, {"a2", "Lens", "1,200", "1"}};
    else if (name == "bigPrices")
        f.listings = {{"a1", "Camera", "4000000000", "3"}};
    else if (name == "hugeSubtotal")
        f.listings = {{"a1", "Camera", "9223372036854775807", "2"}};
    else if (name == "hugeTotal")
        f.listings = {{"a1", "Camera", "9223372036854775807", "1"}, {"a2", "Lens", "1", "1"}};
    else if (name == "sumOverflow")
        f.listings = {{"a1", "Camera", "9223372036854775807", "1"}}, f.carriage = "1";
    else if (name == "selfValues")
        f.listings = {{"a1", "[%title%]", "100", "1"}, {"a2", "B", "200", "1"}},
        f.winnerName = "<%name%>";
    else if (name == "lineInTitle")
        f.listings = {{"a1", "A\nB", "100", "1"}, {"a2", "Lens", "200", "1"}};
    return f;
}

KeywordSource sourceOf(const Fixture& f, const QString& templateText)
{
    KeywordSource source;
    source.templateText = templateText;
    for (const Listing& listing : f.listings)
        source.auctions << makeAuctionInfo(listing.aid, listing.title, listing.price,
                                           listing.quantity);
    source.winnerId = f.winnerId;
    source.winnerName = f.winnerName;
    source.carriage = f.carriage;
    source.forwarding = f.forwarding;
    source.seller = f.seller;
    source.loginId = f.loginId;
    return source;
}

QString unfilled(const QString& keyword, const QString& what)
{
    return keyword + "(" + what + ")が変換できませんでした。\n\r";
}

// The fixture with one of its texts replaced: "name" the winner's name, "title" and "aid" the
// first listing's, "otherTitle" the second listing's, "carriage", "forwarding", "winnerId",
// "loginId" and the seller's "myname", "myname_kana", "myadd", "mytel", "mymail".
Fixture withText(Fixture f, const QString& field, const QString& text)
{
    if (field == "name")
        f.winnerName = text;
    else if (field == "title")
        f.listings[0].title = text;
    else if (field == "aid")
        f.listings[0].aid = text;
    else if (field == "otherTitle")
        f.listings[1].title = text;
    else if (field == "carriage")
        f.carriage = text;
    else if (field == "forwarding")
        f.forwarding = text;
    else if (field == "winnerId")
        f.winnerId = text;
    else if (field == "loginId")
        f.loginId = text;
    else if (field == "myname")
        f.seller.name = text;
    else if (field == "myname_kana")
        f.seller.namePhonetic = text;
    else if (field == "myadd")
        f.seller.address1 = text;
    else if (field == "mytel")
        f.seller.tel = text;
    else if (field == "mymail")
        f.seller.mail = text;
    else
        qFatal("no such field");
    return f;
}

void addExpansion(const char* name, const QString& fixtureName, const QString& templateText,
                  const QString& text, const QString& errorText = QString(),
                  bool closeMissing = false)
{
    QTest::newRow(name) << fixtureName << templateText << text << !errorText.isEmpty() << errorText
                        << closeMissing << QString();
}

void addFailure(const char* name, const QString& fixtureName, const QString& templateText,
                const QString& message)
{
    QTest::newRow(name) << fixtureName << templateText << QString() << false << QString() << false
                        << message;
}

// A row of the table of values put in as text: the fixture (one listing unless named) with one
// text replaced, the template and what it gives.
void addValueRow(const char* name, const QString& field, const QString& value,
                 const QString& templateText, const QString& text, bool closeMissing = false,
                 const QString& fixtureName = QStringLiteral("one"))
{
    QTest::newRow(name) << fixtureName << field << value << templateText << text << closeMissing;
}

} // namespace

class TestKeywords : public QObject
{
    Q_OBJECT

private slots:
    void evaluatesCalcExpressions_data();
    void evaluatesCalcExpressions();
    void expandsTemplates_data();
    void expandsTemplates();
    void totalAndSubtotalsAreSixtyFourBit();
    void valuesStayText_data();
    void valuesStayText();

    void init();
    void cleanup();
    void convertsForTheCallsListingFirst();
    void otherListingsFollowTheSearch();
    void missingSellerRowLeavesSellerPlaceholders();
    void missingListingRowRaisesIntegerError();
    void missingClosingMarkerShowsTheBoxOnce();
    void storedWinnerNameStaysText_data();
    void storedWinnerNameStaysText();

private:
    void makeMainWindow();
    void addRows();
    QStringList shownAids() const;

    std::unique_ptr<MainWindowFixture> m_app;
    TFormNavi* m_navi = nullptr;
};

void TestKeywords::evaluatesCalcExpressions_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("written"); // the value as a span writes it, or the error message

    QTest::newRow("grouped number") << "1,000+500"
                                    << "1500";
    QTest::newRow("tax floored") << "1980*1.05"
                                 << "2079";
    QTest::newRow("exact tax") << "1000*1.08"
                               << "1080";
    QTest::newRow("exact where doubles miss") << "100*0.57"
                                              << "57";
    QTest::newRow("quotient floored") << "10/3"
                                      << "3";
    QTest::newRow("floored before the product") << "10/3*3"
                                                << "9";
    QTest::newRow("negative quotient floored down") << "(1-8)/2"
                                                    << "-4";
    QTest::newRow("negative product floored down") << "(0-7)*0.5"
                                                   << "-4";
    QTest::newRow("product floored before the difference") << "0-7*0.5"
                                                           << "-3";
    QTest::newRow("sum not floored") << "1.5+1"
                                     << "2.5";
    QTest::newRow("decimal sum exact") << "0.1+0.2"
                                       << "0.3";
    QTest::newRow("parentheses first") << "(100+50)*2"
                                       << "300";
    QTest::newRow("precedence") << "2*3+4*5"
                                << "26";
    QTest::newRow("precedence mixed") << "1+2*3-4"
                                      << "3";
    QTest::newRow("differences left to right") << "8-2-1"
                                               << "5";
    QTest::newRow("quotients left to right") << "8/2/2"
                                             << "2";
    QTest::newRow("surplus closing parenthesis") << "1+2)"
                                                 << "3";
    QTest::newRow("missing closing parenthesis") << "(1+2"
                                                 << "3";
    QTest::newRow("open parenthesis drops the sum") << "1+(2*3"
                                                    << "6";
    QTest::newRow("yen and kanji ignored") << "3,000円+送料500"
                                           << "3500";
    QTest::newRow("point first") << ".5*2"
                                 << "1";
    QTest::newRow("parenthesis does not end a number") << "2(3)"
                                                       << "23";
    QTest::newRow("blank does not end a number") << "1 2"
                                                 << "12";
    QTest::newRow("several values: the last") << "(1)(2)"
                                              << "2";
    QTest::newRow("sixteen digits") << "999999999999999+1"
                                    << "1E15";
    QTest::newRow("leading minus") << "-5" << calcError;
    QTest::newRow("leading plus") << "+5" << calcError;
    QTest::newRow("trailing operator") << "1+" << calcError;
    QTest::newRow("two operators") << "1+*2" << calcError;
    QTest::newRow("empty") << "" << calcError;
    QTest::newRow("empty parentheses") << "()" << calcError;
    QTest::newRow("only ignored characters") << "円abc" << calcError;
    QTest::newRow("two points") << "1.2.3+1"
                                << "'1.2.3' は浮動小数点数ではありません";
    QTest::newRow("point alone") << "1+."
                                 << "'.' は浮動小数点数ではありません";
    QTest::newRow("blank inside a number") << "1.2 .3"
                                           << "'1.2.3' は浮動小数点数ではありません";
    QTest::newRow("division by zero") << "5/(2-2)"
                                      << "0 による浮動小数点数除算";
    QTest::newRow("zero by zero") << "0/0"
                                  << "不正な浮動小数点数演算命令";
    QTest::newRow("product too large") << QString(38, u'9') + "*10" << overflow;
    QTest::newRow("number too long") << QString(39, u'9') << overflow;
}

void TestKeywords::evaluatesCalcExpressions()
{
    QFETCH(QString, expression);
    QFETCH(QString, written);
    try {
        QCOMPARE(evaluateCalcExpression(expression).toGeneralString(15), written);
    } catch (const KeywordError& error) {
        QCOMPARE(error.message(), written);
    }
}

void TestKeywords::expandsTemplates_data()
{
    QTest::addColumn<QString>("fixtureName");
    QTest::addColumn<QString>("templateText");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("error");
    QTest::addColumn<QString>("errorText");
    QTest::addColumn<bool>("closeMissing");
    QTest::addColumn<QString>("message"); // set when the expansion raises

    const QString plain = QStringLiteral("こんにちは\r\nよろしく\r\n\r\n");
    addExpansion("no placeholders", "one", plain, plain);
    addExpansion("no placeholders, three listings", "three", plain, plain);
    addExpansion("no placeholders, LF only", "three", "a\nb\n", "a\nb\n");

    addExpansion("one listing", "one", "%title% %price%円 x%quantity% %aid%",
                 "Camera 3,000円 x1 a1");
    addExpansion("three listings and a total", "three", "%title% %price%円\r\n合計 %total%円\r\n",
                 "Camera 3,000円\r\nLens 1,200円\r\nBag 500円\r\n合計 5,900円\r\n");
    addExpansion("every placeholder of a copy shows its listing", "two",
                 "%aid% %title% %quantity% %plural_price%\r\n",
                 "a1 Camera 1 1,000\r\na2 Lens 1 2,000\r\n");
    addExpansion("two item lines, one listing", "one", "%title%\r\n%title%\r\n",
                 "Camera\r\nCamera\r\n");
    addExpansion("two item lines cycle", "two", "%title%\r\n%title%\r\n",
                 "Camera\r\nLens\r\nCamera\r\nLens\r\n");
    addExpansion("placeholder twice on a line", "two", "%title%=%title%\r\n",
                 "Camera=Camera\r\nLens=Lens\r\n");
    addExpansion("last line without a break", "two", "ID:\r\n%aid%", "ID:\r\na1\r\na2");
    addExpansion("one line without a break", "two", "%aid%", "a1\r\na2");
    addExpansion("last line ending in CR", "two", "%aid%\r", "a1\r\na2\r");
    addExpansion("LF only", "two", "%title%\n合計 %total%\n", "Camera\nLens\n合計 3,000\n");
    addExpansion("LF only, last line without a break", "two", "x\n%aid%", "x\na1\na2");
    addExpansion("full width", "three", "%price_em% %quantity_em% %plural_price_em%\r\n%total_em%",
                 "３，０００ １ ３，０００\r\n１，２００ ２ ２，４００\r\n５００ １ ５００\r\n"
                 "５，９００");

    addExpansion("carriage and sum", "one", "%carriage% %carriage_em% %sum% %sum_em%",
                 "500 ５００ 3,500 ３，５００");
    addExpansion("no carriage", "noCarriage", "%carriage%/%sum%", "%carriage%/%sum%",
                 unfilled("%carriage%", "送料") + unfilled("%sum%", "商品合計+送料"));
    addExpansion(
        "errors in pass order", "noCarriage", "%sum_em%%sum%%carriage_em%%carriage%%send_num%",
        "%sum_em%%sum%%carriage_em%%carriage%%send_num%",
        unfilled("%carriage%", "送料") + unfilled("%carriage_em%", "送料【全角】") +
            unfilled("%sum%", "商品合計+送料") + unfilled("%sum_em%", "商品合計+送料【全角】") +
            unfilled("%send_num%", "発送番号"));
    addExpansion("one line per placeholder", "noCarriage", "%sum% %sum%", "%sum% %sum%",
                 unfilled("%sum%", "商品合計+送料"));
    addExpansion("grouped carriage cannot be summed", "commaCarriage", "%carriage% %sum%",
                 "1,000 %sum%", unfilled("%sum%", "商品合計+送料"));
    addExpansion("text carriage as it stands", "textCarriage", "%carriage_em% %sum_em%",
                 "着払い %sum_em%", unfilled("%sum_em%", "商品合計+送料【全角】"));
    addExpansion("long carriage grouped", "hugeCarriage", "%carriage%",
                 "99,999,999,999,999,999,999");
    addFailure("long carriage cannot be summed", "hugeCarriage", "%sum%",
               "'99999999999999999999' は整数ではありません");

    addExpansion("winner and seller", "one",
                 "%id% %name% %myid% %myname% %myname_kana% %mypost% %myadd% %mytel% %mymail% "
                 "%send_num%",
                 "bidder1 山田太郎 seller 佐藤花子 さとうはなこ 100-0001 東京都千代田区1-1 "
                 "03-0000-0000 shop@example.jp F-123");
    const QString people =
        QStringLiteral("%mymail% %mytel% %myadd% %mypost% %myname_kana% %myname% %myid% "
                       "%name% %id%");
    addExpansion("no winner name, no seller data", "nobody", people,
                 "%mymail% %mytel% %myadd% %mypost% %myname_kana% %myname% seller %name% "
                 "bidder1",
                 unfilled("%name%", "落札者氏名") + unfilled("%myname%", "名前") +
                     unfilled("%myname_kana%", "なまえ") + unfilled("%mypost%", "郵便番号") +
                     unfilled("%myadd%", "住所") + unfilled("%mytel%", "電話番号") +
                     unfilled("%mymail%", "メール"));

    addExpansion("span over grouped numbers", "one", "%CALC%1,000+500%/CALC%", "1,500");
    addExpansion("span over a placeholder", "thousand", "%CALC%%plural_price%*1.08%/CALC%",
                 "1,080");
    addExpansion("span with a fraction", "one", "%CALC%%sum%+0.5%/CALC%円", "3,500.5円");
    addExpansion("negative span", "one", "%CALC%1-%sum%%/CALC%", "-3,499");
    addExpansion("two spans", "one", "%CALC%1+1%/CALC% and %CALC%2*3%/CALC%", "2 and 6");
    addExpansion("stray closing marker first", "one", "%/CALC%%CALC%1+2%/CALC%", "%/CALC%3");
    addExpansion("opening marker inside a span", "one", "%CALC%1+%CALC%2%/CALC%", "3");
    addExpansion("missing closing marker", "one", "%CALC%1+2", "%CALC%1+2", QString(), true);
    addExpansion("missing closing marker after a span", "noCarriage",
                 "%CALC%1+1%/CALC% %CALC%5 %carriage%", "2 %CALC%5 %carriage%",
                 unfilled("%carriage%", "送料"), true);
    addExpansion("conditions, breaks and case stay", "one",
                 "%IF%(a)%/IF%%r%%TITLE% %Total% %calc%1+1%/calc%",
                 "%IF%(a)%/IF%%r%%TITLE% %Total% %calc%1+1%/calc%");
    addFailure("span error", "one", "%CALC%-5%/CALC%", calcError);
    addFailure("span over an unfilled placeholder", "noCarriage", "%CALC%%carriage%+1%/CALC%",
               calcError);
    addFailure("span dividing by zero", "one", "%CALC%%price%/0%/CALC%",
               "0 による浮動小数点数除算");

    addFailure("price no integer", "badPrice", "%title%", "'abc' は整数ではありません");
    addFailure("no listing row", "emptyPrice", "x", "'' は整数ではありません");
    addFailure("quantity no integer", "badQuantity", "x", "'2個' は整数ではありません");
    addFailure("other listing's price grouped", "otherBadPrice", "x",
               "'1,200' は整数ではありません");
    addFailure("subtotal too large", "hugeSubtotal", "x",
               "'18446744073709551614' は整数ではありません");
    addFailure("total too large", "hugeTotal", "x", "'9223372036854775808' は整数ではありません");
    addFailure("sum too large", "sumOverflow", "%sum%",
               "'9223372036854775808' は整数ではありません");
    addExpansion("total at the edge", "sumOverflow", "%total%", "9,223,372,036,854,775,807");

    addExpansion("values holding their own placeholder", "selfValues",
                 "%title%/%title%\r\n%name%%name%",
                 "[%title%]/[%title%]\r\nB/B\r\n<%name%><%name%>");
    addExpansion("line break inside a value", "lineInTitle", "%title% %price%\r\n",
                 "A\nB 100\r\nLens 200\r\n");
}

void TestKeywords::expandsTemplates()
{
    QFETCH(QString, fixtureName);
    QFETCH(QString, templateText);
    QFETCH(QString, text);
    QFETCH(bool, error);
    QFETCH(QString, errorText);
    QFETCH(bool, closeMissing);
    QFETCH(QString, message);

    try {
        const KeywordResult result =
            expandTemplateKeywords(sourceOf(fixture(fixtureName), templateText));
        QVERIFY2(message.isEmpty(), "the expansion should have raised");
        QCOMPARE(result.text, text);
        QCOMPARE(result.error, error);
        QCOMPARE(result.errorText, errorText);
        QCOMPARE(result.calcCloseMissing, closeMissing);
    } catch (const KeywordError& raised) {
        QCOMPARE(raised.message(), message);
    }
}

void TestKeywords::totalAndSubtotalsAreSixtyFourBit()
{
    const KeywordResult result = expandTemplateKeywords(
        sourceOf(fixture("bigPrices"), "%price% %plural_price% %total% %sum%"));
    QCOMPARE(result.text, QStringLiteral("4,000,000,000 12,000,000,000 12,000,000,000 "
                                         "12,000,000,500"));
}

// A value is put in as text: whatever placeholders, markers or percent signs it holds, it is
// never expanded or evaluated, and the template's own keywords around it work as before.
void TestKeywords::valuesStayText_data()
{
    QTest::addColumn<QString>("fixtureName");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("templateText");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("closeMissing");

    const QString sellerKeywords = QStringLiteral("%mytel% %myadd% %mymail%");
    const QString zeroSpan = QStringLiteral("%CALC%1/0%/CALC%");
    addValueRow("name with the seller's keywords", "name", sellerKeywords, "%name% 様",
                sellerKeywords + " 様");
    addValueRow("name with a span", "name", zeroSpan, "%name% 様", zeroSpan + " 様");
    addValueRow("name with a span beside the template's", "name", zeroSpan,
                "%CALC%%price%*2%/CALC%円 %name% 様", "6,000円 " + zeroSpan + " 様");
    addValueRow("name with an opening marker before the template's span", "name", "%CALC%",
                "%name% %CALC%1+2%/CALC%", "%CALC% 3");
    addValueRow("name does not close the template's span", "name", "%/CALC%", "%CALC%1+2 %name%",
                "%CALC%1+2 %/CALC%", true);
    addValueRow("name with a condition", "name", "%IF%(a)%/IF%", "%name% 様", "%IF%(a)%/IF% 様");
    addValueRow("name with a break entry", "name", "a%r%b", "%name%", "a%r%b");
    addValueRow("name ending in a lone percent", "name", "50%", "%name%myid%", "50%myid%");
    addValueRow("lone percent before the template's word", "title", "%", "%title%name%", "%name%");
    addValueRow("title with item and sum keywords", "title", "%price% %myname% %sum%",
                "%title% %price%円", "%price% %myname% %sum% 3,000円");
    addValueRow("title of a repeated line", "otherTitle", "%price%", "%title% %price%円\r\n",
                "Camera 1,000円\r\n%price% 2,000円\r\n", false, "two");
    addValueRow("auction id with the title keyword", "aid", "%title%", "%aid% %title%",
                "%title% Camera");
    addValueRow("text carriage with a keyword", "carriage", "%myname%", "%carriage%", "%myname%");
    addValueRow("forwarding number with the name keyword", "forwarding", "%name%", "%send_num%",
                "%name%");
    addValueRow("winner id with the name keyword", "winnerId", "%name%", "%id% %name%",
                "%name% 山田太郎");
    addValueRow("login id with the seller's keywords", "loginId", sellerKeywords, "%myid%",
                sellerKeywords);
    addValueRow("seller's name with the kana keyword", "myname", "%myname_kana%", "%myname%",
                "%myname_kana%");
    addValueRow("seller's kana with a span", "myname_kana", zeroSpan, "%myname_kana%", zeroSpan);
    addValueRow("seller's address with a span", "myadd", zeroSpan, "%myadd%", zeroSpan);
    addValueRow("seller's phone with the mail keyword", "mytel", "%mymail%", "%mytel% %mymail%",
                "%mymail% shop@example.jp");
    addValueRow("seller's mail with a closing marker", "mymail", "%/CALC%",
                "%CALC%%total%+1 %mymail%", "%CALC%3,000+1 %/CALC%", true);
}

void TestKeywords::valuesStayText()
{
    QFETCH(QString, fixtureName);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, templateText);
    QFETCH(QString, text);
    QFETCH(bool, closeMissing);

    KeywordResult result;
    try {
        result = expandTemplateKeywords(
            sourceOf(withText(fixture(fixtureName), field, value), templateText));
    } catch (const KeywordError& raised) {
        QFAIL(qPrintable("the expansion raised: " + raised.message()));
    }
    QCOMPARE(result.text, text);
    QVERIFY(!result.error);
    QCOMPARE(result.errorText, QString());
    QCOMPARE(result.calcCloseMissing, closeMissing);
}

// ---- The main window's expansion ----

void TestKeywords::init()
{
    m_app = std::make_unique<MainWindowFixture>();
}

void TestKeywords::cleanup()
{
    m_app.reset();
    m_navi = nullptr;
}

void TestKeywords::makeMainWindow()
{
    m_navi = m_app->startProgram();
    m_navi->loginId = QStringLiteral("seller");
}

// Winner "bidder1" has x1, x2 (quoted id), x4 and x5; "bidder2" has x3; "BIDDER1" (another
// text) has x6. The list shows them by Index.
void TestKeywords::addRows()
{
    const QSqlDatabase& db = m_navi->connection;
    FixtureDb::addListing(db, {.aid = "x1",
                               .bidId = "bidder1",
                               .title = "カメラ",
                               .price = "3000",
                               .index = 1,
                               .extra = {{"Carriage", "800"}, {"Forwarding", "F-1"}}});
    FixtureDb::addListing(db, {.aid = "x'2",
                               .bidId = "bidder1",
                               .title = "レンズ",
                               .price = "1200",
                               .index = 2,
                               .quantity = "",
                               .extra = {{"Carriage", "500"}, {"Forwarding", "F-2"}}});
    FixtureDb::addListing(db, {.aid = "x3", .bidId = "bidder2", .title = "三脚", .index = 3});
    FixtureDb::addListing(db, {.aid = "x4",
                               .bidId = "bidder1",
                               .title = "バッグ",
                               .price = "700",
                               .index = 4,
                               .quantity = "2"});
    FixtureDb::addListing(
        db,
        {.aid = "x5", .bidId = "bidder1", .title = "レンズフィルター", .price = "300", .index = 5});
    FixtureDb::addListing(db, {.aid = "x6", .bidId = "BIDDER1", .title = "箱", .index = 6});
    FixtureDb::addBidder(db, {.id = "bidder1", .name = "山田太郎"});
    FixtureDb::insert(db, "T_PersonalData",
                      {{"Name", "佐藤花子"},
                       {"NamePhonetic", "さとうはなこ"},
                       {"Post", "100-0001"},
                       {"Address1", "東京都"},
                       {"Tel", "03-0000-0000"},
                       {"Mail", "shop@example.jp"}});
}

QStringList TestKeywords::shownAids() const
{
    QStringList aids;
    for (int row = 0; row < m_navi->ListViewBid->topLevelItemCount(); ++row)
        aids << m_navi->ListViewBid->bidItem(row)->subItem(BidListColumns::Aid);
    return aids;
}

void TestKeywords::convertsForTheCallsListingFirst()
{
    makeMainWindow();
    addRows();
    m_navi->listingTab().ToolButtonBidSearchSearchClick();
    QCOMPARE(shownAids(), QStringList({"x1", "x'2", "x3", "x4", "x5", "x6"}));

    QString result;
    bool errorFlag = true;
    QString errorText;
    convertTemplateKeywords(result,
                            "%aid% %title% %quantity% %plural_price%\r\n"
                            "%total% %carriage% %sum% %send_num% %name% %myname% %myid%",
                            "x'2", "bidder1", errorFlag, errorText);
    QCOMPARE(result, QStringLiteral("x'2 レンズ 1 1,200\r\n"
                                    "x1 カメラ 1 3,000\r\n"
                                    "x4 バッグ 2 1,400\r\n"
                                    "x5 レンズフィルター 1 300\r\n"
                                    "5,900 500 6,400 F-2 山田太郎 佐藤花子 seller"));
    QVERIFY(!errorFlag);
    QCOMPARE(errorText, QString());
    QVERIFY(m_app->dialogs().requests().isEmpty());
}

void TestKeywords::otherListingsFollowTheSearch()
{
    makeMainWindow();
    addRows();
    m_navi->PanelBidSearch->EditBidSearchTitle->setText(QStringLiteral("ン"));
    m_navi->listingTab().ToolButtonBidSearchSearchClick();
    QCOMPARE(shownAids(), QStringList({"x'2", "x5"}));

    QString result;
    bool errorFlag = true;
    QString errorText;
    convertTemplateKeywords(result, "%aid%,", "x1", "bidder1", errorFlag, errorText);
    QCOMPARE(result, QStringLiteral("x1,\r\nx'2,\r\nx5,"));
    QVERIFY(!errorFlag);
}

void TestKeywords::missingSellerRowLeavesSellerPlaceholders()
{
    makeMainWindow();
    FixtureDb::addListing(m_navi->connection,
                          {.aid = "x1", .bidId = "bidder9", .title = "カメラ", .price = "3000"});

    QString result;
    bool errorFlag = false;
    QString errorText = QStringLiteral("前から\n");
    convertTemplateKeywords(result, "%myid% %myname% %mymail% %name% %title%", "x1", "bidder9",
                            errorFlag, errorText);
    QCOMPARE(result, QStringLiteral("seller %myname% %mymail% %name% カメラ"));
    QVERIFY(errorFlag);
    QCOMPARE(errorText, "前から\n" + unfilled("%name%", "落札者氏名") +
                            unfilled("%myname%", "名前") + unfilled("%mymail%", "メール"));
}

void TestKeywords::missingListingRowRaisesIntegerError()
{
    makeMainWindow();
    addRows();
    QString result = QStringLiteral("before");
    bool errorFlag = true;
    QString errorText;
    try {
        convertTemplateKeywords(result, "%title%", "x1", "bidder2", errorFlag, errorText);
        QFAIL("the expansion should have raised");
    } catch (const KeywordError& error) {
        QCOMPARE(error.message(), QStringLiteral("'' は整数ではありません"));
    }
    QCOMPARE(result, QStringLiteral("before"));
    QVERIFY(!errorFlag);
    QVERIFY(m_app->dialogs().requests().isEmpty());
}

void TestKeywords::missingClosingMarkerShowsTheBoxOnce()
{
    makeMainWindow();
    addRows();
    m_navi->listingTab().ToolButtonBidSearchSearchClick();
    QString result;
    bool errorFlag = true;
    QString errorText;
    convertTemplateKeywords(result, "%CALC%1+2 %CALC%3+4 %price%", "x1", "bidder1", errorFlag,
                            errorText);
    QCOMPARE(result, QStringLiteral("%CALC%1+2 %CALC%3+4 3,000\r\n%CALC%1+2 %CALC%3+4 1,200\r\n"
                                    "%CALC%1+2 %CALC%3+4 700\r\n%CALC%1+2 %CALC%3+4 300"));
    QVERIFY(!errorFlag);
    QCOMPARE(errorText, QString());
    QCOMPARE(m_app->dialogs().requests().size(), 1);
    const Dialogs::Request& box = m_app->dialogs().requests().first();
    QCOMPARE(box.kind, Dialogs::Kind::Error);
    QCOMPARE(box.caption, QStringLiteral("キーワード変換エラー"));
    QCOMPARE(box.text, QStringLiteral("%CALC%キーワードエラー\r\n%/CALC%がありません。"));
}

// A winner's name as the bidder panel stores it from a message, that is as the buyer wrote it,
// comes out of the main window's expansion as the buyer wrote it.
void TestKeywords::storedWinnerNameStaysText_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("the seller's keywords") << "%mytel% %myadd% %mymail%";
    QTest::newRow("a span dividing by zero") << "%CALC%1/0%/CALC%";
    QTest::newRow("an opening marker") << "%CALC%";
}

void TestKeywords::storedWinnerNameStaysText()
{
    QFETCH(QString, name);
    makeMainWindow();
    addRows();
    FixtureDb::addBidder(m_navi->connection, {.id = "bidder2", .name = name});
    m_navi->listingTab().ToolButtonBidSearchSearchClick();

    QString result;
    bool errorFlag = true;
    QString errorText;
    try {
        convertTemplateKeywords(result, "%name% 様\r\n%title% 税込%CALC%%price%*1.1%/CALC%円", "x3",
                                "bidder2", errorFlag, errorText);
    } catch (const KeywordError& raised) {
        QFAIL(qPrintable("the expansion raised: " + raised.message()));
    }
    QCOMPARE(result, name + QStringLiteral(" 様\r\n三脚 税込1,100円"));
    QVERIFY(!errorFlag);
    QCOMPARE(errorText, QString());
    QVERIFY(m_app->dialogs().requests().isEmpty());
}

QTEST_MAIN(TestKeywords)
#include "test_keywords.moc"
