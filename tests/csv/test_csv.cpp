// CSV export: the text core (quoting, lines, CP932 bytes, bidder line), the two exports over
// real lists writing real files, and the main window's three commands on both tabs.
#include "FixtureDb.h"
#include "MainWindowFixture.h"
#include "SitePages.h"
#include "SmallFileSystem.h"

#include "app/CsvExport.h"
#include "app/CsvListExport.h"
#include "app/UnitNavi.h"
#include "platform/Database.h"
#include "platform/SafeFileWriter.h"
#include "platform/Sql.h"
#include "site/html.h"
#include "views/NaviFolderList.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/FolderTree.h"
#include "views/NaviListItem.h"
#include "views/NaviListQuery.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringDecoder>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using Answer = Dialogs::Answer;

namespace {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

QString readCp932(const QString& path)
{
    QStringDecoder decoder("CP932");
    return decoder.decode(readBytes(path));
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A reader of CSV as spreadsheet programs read it: quoted fields may hold commas, doubled
// quotes and line breaks; records end with CR LF. Returns nothing for a malformed text.
std::optional<QList<QStringList>> parseCsv(const QString& text)
{
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    bool afterQuote = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text.at(i + 1) == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                    afterQuote = true;
                }
            } else {
                field += c;
            }
            continue;
        }
        if (c == ',') {
            record << field;
            field.clear();
            afterQuote = false;
        } else if (c == '\r') {
            if (i + 1 >= text.size() || text.at(i + 1) != '\n')
                return std::nullopt;
            ++i;
            record << field;
            records << record;
            record.clear();
            field.clear();
            afterQuote = false;
        } else if (c == '"' && field.isEmpty() && !afterQuote) {
            quoted = true;
        } else if (afterQuote || c == '\n' || c == '"') {
            return std::nullopt;
        } else {
            field += c;
        }
    }
    if (quoted || !field.isEmpty() || !record.isEmpty())
        return std::nullopt; // a last record without its CR LF
    return records;
}

// A plain report list: column captions, then rows of cells.
void fillList(QTreeWidget& list, const QStringList& captions, const QList<QStringList>& rows)
{
    list.setColumnCount(int(captions.size()));
    list.setHeaderLabels(captions);
    for (const QStringList& cells : rows) {
        auto* item = new QTreeWidgetItem(&list);
        for (int column = 0; column < cells.size(); ++column)
            item->setText(column, cells.at(column));
    }
}

QString longMessage()
{
    QString text = QStringLiteral("お世話になります。\r\n");
    while (text.size() < 300)
        text += QStringLiteral("発送は明日になります, \"よろしく\"。\r\n");
    return text + QStringLiteral("最後の行");
}

} // namespace

class TestCsv : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;

    // The main window of the account "seller": two listings, messages of a1 (one longer than a
    // folder row holds), the winner b1 stored. On the message tab the received folder is shown.
    void startMainWindow(int tab)
    {
        html::setDefaultTimeout(5000);
        SitePages::serveAccount(app->site(), "seller");
        {
            Database::ScopedConnection db;
            FixtureDb::addListing(db.db(), {.aid = "a1", .bidId = "b1", .title = "カメラ, 中古"});
            FixtureDb::addListing(db.db(), {.aid = "a2", .bidId = "b2", .index = 2});
            FixtureDb::addMessage(
                db.db(), {.aid = "a1", .bidId = "b1", .number = 1, .message = longMessage()});
            FixtureDb::addMessage(db.db(), {.aid = "a1",
                                            .bidId = "b1",
                                            .number = 2,
                                            .received = false,
                                            .message = "了解です"});
            FixtureDb::addBidder(db.db(), {.id = "b1",
                                           .name = "山田",
                                           .mail = "y@example.jp",
                                           .post = "100-0001",
                                           .address = "東京都",
                                           .tel = "03"});
        }
        navi = app->start();
        QCOMPARE(navi->loginId, QString("seller"));
        QCOMPARE(navi->ListViewBid->topLevelItemCount(), 2);
        NaviListView::loadTransactionList(navi->ListViewBidNavi, navi->connection, "a1", "b1",
                                          "seller", 2, 0);
        QCOMPARE(navi->ListViewBidNavi->topLevelItemCount(), 2);
        if (tab == 1) {
            navi->PageControlMain->setCurrentIndex(1);
            navi->TreeViewNavi->setCurrentItem(FolderTree::findFolder(navi->TreeViewNavi, "000"));
            QCOMPARE(navi->ListViewNavi->rowCount(), 1);
        }
    }

    QString outPath(const QString& name = QStringLiteral("out.csv")) const
    {
        return app->folder().filePath(name);
    }
    // Runs the list export with the save dialog answered by the file name.
    bool exportList(QAbstractItemView& list, const QString& fileName, QString* message)
    {
        app->dialogs().queue(Answer::Ok, fileName);
        return exportListViewCsv(&list, message, QStringLiteral("出品終了データ"));
    }

private slots:
    void init() { app = std::make_unique<MainWindowFixture>(); }
    void cleanup() { app.reset(); }

    void quotesFieldsByCharacter_data();
    void quotesFieldsByCharacter();
    void joinsFieldsIntoLines_data();
    void joinsFieldsIntoLines();
    void writesCp932WithTwinsAndMarks_data();
    void writesCp932WithTwinsAndMarks();
    void bidderLineFromStoredRowOrNone();
    void appendsDefaultSuffix_data();
    void appendsDefaultSuffix();

    void emptyListWritesHeaderLineOnly();
    void cellsReadBackAsTheyWere();
    void writesShownOrderAfterSort();
    void writesFullTextOfShortenedCells();
    void writesLineBreaksOfCellsShownOnOneLine();
    void dialogPathsEndWithTheirMessage_data();
    void dialogPathsEndWithTheirMessage();
    void nameWithoutExtensionGetsCsv();
    void failedWriteKeepsFileAndReportsError();
    void fullDiskKeepsTheOldFileAndReportsError_data();
    void fullDiskKeepsTheOldFileAndReportsError();
    void unwritableCharactersAreMarkedAndReported();
    void bidderExportWritesSelectedRowsInListOrder();
    void bidderExportWithoutSelectionWritesEmptyFile();

    void commandsOnEachTab_data();
    void commandsOnEachTab();
    void naviExportWritesWholeMessagesOnEitherTab_data();
    void naviExportWritesWholeMessagesOnEitherTab();
    void refusedOverwriteFromCommandLogsCancel();
    void failedExportShowsBoxThenLogsFailure();
};

void TestCsv::quotesFieldsByCharacter_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("written");

    QTest::newRow("plain") << "abc"
                           << "abc";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("comma") << "1,500"
                           << "\"1,500\"";
    QTest::newRow("quote doubled") << "say \"hi\""
                                   << "\"say \"\"hi\"\"\"";
    QTest::newRow("half-width blank") << "a b"
                                      << "\"a b\"";
    QTest::newRow("tab") << "a\tb"
                         << "\"a\tb\"";
    QTest::newRow("CR LF inside") << "一\r\n二"
                                  << "\"一\r\n二\"";
    QTest::newRow("U+0001") << QString("a") + QChar(1) << QString("\"a") + QChar(1) + "\"";
    QTest::newRow("full-width blank only") << "　"
                                           << "　";
    QTest::newRow("full-width text") << "商品名　カメラ"
                                     << "商品名　カメラ";
    QTest::newRow("U+0021 is not quoted") << "!"
                                          << "!";
    QTest::newRow("byte 0x5C trail of a double-byte character") << "表示"
                                                                << "表示";
}

void TestCsv::quotesFieldsByCharacter()
{
    QFETCH(QString, field);
    QFETCH(QString, written);
    QCOMPARE(CsvExport::quoteField(field), written);
}

void TestCsv::joinsFieldsIntoLines_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("line");

    QTest::newRow("one empty field") << QStringList{""} << "\"\"";
    QTest::newRow("empty middle cell") << QStringList{"a", "", "b"} << "a,,b";
    QTest::newRow("all empty") << QStringList{"", "", ""} << ",,";
    QTest::newRow("quoted among plain") << QStringList{"x", "a,b", "y"} << "x,\"a,b\",y";
    QTest::newRow("no fields") << QStringList{} << "";
}

void TestCsv::joinsFieldsIntoLines()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, line);
    QCOMPARE(CsvExport::makeLine(fields), line);
}

void TestCsv::writesCp932WithTwinsAndMarks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("unwritable");

    QTest::newRow("ascii") << "A,1" << QByteArray("A,1") << 0;
    QTest::newRow("kana and kanji") << "あ名" << QByteArray("\x82\xa0\x96\xbc") << 0;
    QTest::newRow("wave dash") << "〜" << QByteArray("\x81\x60") << 0;
    QTest::newRow("full-width tilde") << "～" << QByteArray("\x81\x60") << 0;
    QTest::newRow("double vertical line") << "‖" << QByteArray("\x81\x61") << 0;
    QTest::newRow("minus sign") << "−" << QByteArray("\x81\x7c") << 0;
    QTest::newRow("cent") << "¢" << QByteArray("\x81\x91") << 0;
    QTest::newRow("pound") << "£" << QByteArray("\x81\x92") << 0;
    QTest::newRow("not sign") << "¬" << QByteArray("\x81\xca") << 0;
    QTest::newRow("em dash") << "—" << QByteArray("\x81\x5c") << 0;
    QTest::newRow("yen sign") << "¥" << QByteArray("\x81\x8f") << 0;
    QTest::newRow("emoji") << "😀" << QByteArray("\x81\xac") << 1;
    QTest::newRow("accented letter") << "é" << QByteArray("\x81\xac") << 1;
    QTest::newRow("hangul") << "한" << QByteArray("\x81\xac") << 1;
    QTest::newRow("replacement character") << QString(QChar(0xFFFD)) << QByteArray("\x81\xac") << 1;
    QTest::newRow("emoji between kana")
        << "あ😀い〜" << QByteArray("\x82\xa0\x81\xac\x82\xa2\x81\x60") << 1;
    QTest::newRow("two unwritable") << "é1😀"
                                    << QByteArray("\x81\xac"
                                                  "1\x81\xac")
                                    << 2;
    QTest::newRow("NEC and IBM extensions") << "①髙" << QByteArray("\x87\x40\xfb\xfc") << 0;
}

void TestCsv::writesCp932WithTwinsAndMarks()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(int, unwritable);

    CsvExport::Cp932Lines lines;
    lines.appendText(text);
    QCOMPARE(lines.bytes().toHex(' '), bytes.toHex(' '));
    QCOMPARE(lines.unwritableCount(), unwritable);
}

void TestCsv::bidderLineFromStoredRowOrNone()
{
    QCOMPARE(CsvExport::makeLine(CsvExport::bidderFields(QSqlRecord())), QString(",,,,,"));

    Database::ScopedConnection db;
    FixtureDb::addBidder(db.db(), {.id = "b1",
                                   .name = "山田 太郎",
                                   .mail = "t@example.jp",
                                   .post = "100-0001",
                                   .address = "東京都千代田区",
                                   .tel = "03-0000-0000"});
    QSqlQuery query = Sql::exec(db.db(), "SELECT * FROM T_BidMaster WHERE [Id]='b1'");
    QVERIFY(query.next());
    QCOMPARE(CsvExport::makeLine(CsvExport::bidderFields(query.record())),
             QString("b1,\"山田 太郎\",100-0001,東京都千代田区,03-0000-0000,t@example.jp"));
}

void TestCsv::appendsDefaultSuffix_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");

    QTest::newRow("no extension") << "/tmp/data"
                                  << "/tmp/data.csv";
    QTest::newRow("csv") << "/tmp/data.csv"
                         << "/tmp/data.csv";
    QTest::newRow("other extension") << "/tmp/data.txt"
                                     << "/tmp/data.txt";
    QTest::newRow("dot in folder only") << "/tmp/v1.2/data"
                                        << "/tmp/v1.2/data.csv";
}

void TestCsv::appendsDefaultSuffix()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QCOMPARE(CsvExport::withDefaultSuffix(chosen), written);
}

void TestCsv::emptyListWritesHeaderLineOnly()
{
    QTreeWidget list;
    fillList(list, {"ID", "名前", ""}, {});
    QString message;
    QVERIFY(exportList(list, outPath(), &message));
    QCOMPARE(message, QString("エクスポートしましたo(´□｀o)"));
    QCOMPARE(readBytes(outPath()), QByteArray("ID,\x96\xbc\x91\x4f,\r\n"));

    // The dialog proposed the default name with the CSV filter.
    QCOMPARE(app->dialogs().requests().size(), 1);
    const Dialogs::Request& request = app->dialogs().requests().first();
    QCOMPARE(request.kind, Dialogs::Kind::SaveFile);
    QCOMPARE(request.initialText, QString("出品終了データ"));
    QCOMPARE(request.filter, QString("CSVファイル (*.csv)"));
}

void TestCsv::cellsReadBackAsTheyWere()
{
    const QStringList captions{"商品ID", "商品名", "メモ", "空", "件名", "メッセージ"};
    const QList<QStringList> rows{
        {"a1", "カメラ, 中古", "say \"yes\"", "", "a b", "一行目\r\n二行目\r\n"},
        {"a2", "　", "tab\there", "", "全角のみ", "x"},
        {"a3"}, // a row that sets only its first cell still gives a field per column
    };
    QTreeWidget list;
    fillList(list, captions, rows);
    QString message;
    QVERIFY(exportList(list, outPath(), &message));

    const QByteArray bytes = readBytes(outPath());
    QVERIFY(bytes.endsWith("\r\n"));
    const QString text = readCp932(outPath());
    QVERIFY(text.contains("\"カメラ, 中古\",\"say \"\"yes\"\"\",,\"a b\""));
    QVERIFY(text.contains("a2,　,\"tab\there\",,全角のみ,x\r\n"));
    QVERIFY(text.endsWith("a3,,,,,\r\n"));

    const std::optional<QList<QStringList>> records = parseCsv(text);
    QVERIFY(records);
    QList<QStringList> expected{captions, rows.at(0), rows.at(1), {"a3", "", "", "", "", ""}};
    QCOMPARE(*records, expected);
}

void TestCsv::writesShownOrderAfterSort()
{
    BidListView list;
    for (const QString& aid : {"a2", "a3", "a1"}) {
        QStringList cells(BidListColumns::ColumnCount);
        cells[0] = "1";
        cells[BidListColumns::column(BidListColumns::Aid)] = aid;
        list.addBidItem(cells);
    }
    list.ListViewBidColumnClick(BidListColumns::column(BidListColumns::Aid));
    list.ListViewBidColumnClick(BidListColumns::column(BidListColumns::Aid));
    QString message;
    QVERIFY(exportList(list, outPath(), &message));

    const std::optional<QList<QStringList>> records = parseCsv(readCp932(outPath()));
    QVERIFY(records);
    QCOMPARE(records->size(), 4);
    QStringList header;
    for (const char* caption : BidListColumns::HeaderCaptions)
        header << QString::fromUtf8(caption);
    QCOMPARE(records->at(0), header);
    QStringList aids;
    for (int i = 1; i < records->size(); ++i) {
        QCOMPARE(records->at(i).size(), BidListColumns::ColumnCount);
        aids << records->at(i).at(BidListColumns::column(BidListColumns::Aid));
    }
    QStringList shown;
    for (int row = 0; row < list.topLevelItemCount(); ++row)
        shown << list.topLevelItem(row)->text(BidListColumns::column(BidListColumns::Aid));
    QCOMPARE(aids, shown);
    QCOMPARE(aids, QStringList({"a3", "a2", "a1"}));
}

void TestCsv::writesFullTextOfShortenedCells()
{
    // Folder rows hold only the head of a long message; the export reads the whole text.
    {
        Database::ScopedConnection db;
        FixtureDb::addMessage(db.db(),
                              {.aid = "a1", .bidId = "b1", .number = 1, .message = longMessage()});
        FixtureDb::addMessage(db.db(),
                              {.aid = "a1", .bidId = "b1", .number = 2, .message = "短い\r\n本文"});
    }
    Database::ScopedConnection db;
    QTreeWidget list;
    NaviListView::setupListViewNavi(&list);
    NaviListView::loadMessageList(&list, db.db(), "000", 0, "seller", 5, 0);
    QCOMPARE(list.topLevelItemCount(), 2);
    QVERIFY(!NaviListItem::of(list.topLevelItem(0))->row().wholeMessage);

    NaviListQuery::MessageReader reader(db.db(), "seller");
    app->dialogs().queue(Answer::Ok, outPath());
    QString message;
    QVERIFY(exportListViewCsv(&list, &message, "ナビデータ", wholeNaviMessages(reader)));

    const std::optional<QList<QStringList>> records = parseCsv(readCp932(outPath()));
    QVERIFY(records);
    QCOMPARE(records->size(), 3);
    QCOMPARE(records->at(0), QStringList({"", "商品ID", "商品名", "投稿者", "氏名", "No", "件名",
                                          "メッセージ", "投稿日時"}));
    QCOMPARE(records->at(1).at(7), longMessage());
    QCOMPARE(records->at(2).at(7), QString("短い\r\n本文"));
    QCOMPARE(records->at(1).at(5), QString("1"));
}

void TestCsv::writesLineBreaksOfCellsShownOnOneLine()
{
    BidListView list;
    QStringList cells(BidListColumns::ColumnCount);
    cells[0] = "1";
    cells[BidListColumns::column(BidListColumns::Aid)] = "a1";
    cells[BidListColumns::column(BidListColumns::Title)] = "カメラ\r\n付属品つき";
    cells[BidListColumns::column(BidListColumns::Remarks)] = "要連絡\r\n再送済み";
    list.addBidItem(cells);
    QCOMPARE(list.model()->index(0, BidListColumns::column(BidListColumns::Title)).data(),
             QVariant(QString("カメラ 付属品つき")));
    QString message;
    QVERIFY(exportList(list, outPath(), &message));

    const std::optional<QList<QStringList>> records = parseCsv(readCp932(outPath()));
    QVERIFY(records);
    QCOMPARE(records->size(), 2);
    QCOMPARE(records->at(1), cells);
}

void TestCsv::dialogPathsEndWithTheirMessage_data()
{
    QTest::addColumn<Answer>("pickerAnswer");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<Answer>("overwriteAnswer");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("written");

    const QString cancelled = "エクスポートを中止しました";
    const QString done = "エクスポートしましたo(´□｀o)";
    QTest::newRow("cancel") << Answer::Cancel << "" << false << Answer::Ok << cancelled << false;
    QTest::newRow("cancel with a name")
        << Answer::Cancel << "out.csv" << false << Answer::Ok << cancelled << false;
    QTest::newRow("empty name") << Answer::Ok << "" << false << Answer::Ok
                                << "名前が入力されていません。エクスポートを中止しました" << false;
    QTest::newRow("overwrite refused")
        << Answer::Ok << "out.csv" << true << Answer::Cancel << cancelled << false;
    QTest::newRow("overwrite accepted")
        << Answer::Ok << "out.csv" << true << Answer::Ok << done << true;
    QTest::newRow("new file") << Answer::Ok << "out.csv" << false << Answer::Ok << done << true;
}

void TestCsv::dialogPathsEndWithTheirMessage()
{
    QFETCH(Answer, pickerAnswer);
    QFETCH(QString, chosen);
    QFETCH(bool, exists);
    QFETCH(Answer, overwriteAnswer);
    QFETCH(QString, message);
    QFETCH(bool, written);

    const QByteArray old = "old contents\r\n";
    if (exists)
        writeBytes(outPath(), old);
    QTreeWidget list;
    fillList(list, {"ID"}, {{"x"}});
    app->dialogs().queue(pickerAnswer, chosen.isEmpty() ? chosen : outPath(chosen));
    app->dialogs().queue(overwriteAnswer);
    QString result;
    QVERIFY(exportListViewCsv(&list, &result, "出品終了データ"));
    QCOMPARE(result, message);

    const QByteArray expected = written ? QByteArray("ID\r\nx\r\n") : exists ? old : "<missing>";
    QCOMPARE(readBytes(outPath()), expected);
    QStringList asked;
    for (const Dialogs::Request& request : app->dialogs().requests())
        asked << request.caption + "|" + request.text;
    QStringList expectedAsked{"名前を付けて保存|"};
    if (exists && pickerAnswer == Answer::Ok)
        expectedAsked
            << "上書き確認|そのファイルは既に存在します。既存のファイルに置き換えますか？";
    QCOMPARE(asked, expectedAsked);
    if (exists && pickerAnswer == Answer::Ok)
        QCOMPARE(app->dialogs().requests().at(1).kind, Dialogs::Kind::OkCancel);
}

void TestCsv::nameWithoutExtensionGetsCsv()
{
    QTreeWidget list;
    fillList(list, {"ID"}, {{"x"}});
    QString message;
    QVERIFY(exportList(list, outPath("data"), &message));
    QVERIFY(!QFile::exists(outPath("data")));
    QCOMPARE(readBytes(outPath("data.csv")), QByteArray("ID\r\nx\r\n"));

    // The overwrite question looks at the name that is written.
    QVERIFY(exportList(list, outPath("data"), &message));
    QCOMPARE(app->dialogs().requests().size(), 3);
    QCOMPARE(app->dialogs().requests().at(2).caption, QString("上書き確認"));
}

void TestCsv::failedWriteKeepsFileAndReportsError()
{
    // A folder that is a regular file cannot hold the file, also for root.
    writeBytes(outPath("plain"), "not a folder");
    QTreeWidget list;
    fillList(list, {"ID"}, {{"x"}});
    QString message;
    QVERIFY(!exportList(list, outPath("plain/out.csv"), &message));
    QVERIFY(message.endsWith("\nファイルを開いてる可能性があります。"));
    const QString error = message.chopped(QString("\nファイルを開いてる可能性があります。").size());
    QVERIFY(!error.isEmpty());
    QCOMPARE(readBytes(outPath("plain")), QByteArray("not a folder"));
    // Nothing is left behind next to the plain file.
    QCOMPARE(QDir(app->folder().path()).entryList({"*.csv*"}, QDir::Files), QStringList());
}

void TestCsv::fullDiskKeepsTheOldFileAndReportsError_data()
{
    QTest::addColumn<bool>("real");
    QTest::newRow("write seam") << false;
    QTest::newRow("a real full file system") << true;
}

void TestCsv::fullDiskKeepsTheOldFileAndReportsError()
{
    QFETCH(bool, real);
    SmallFileSystem disk(64);
    if (real && !disk.isMounted())
        QSKIP("no small file system can be mounted here");
    // On the small file system the old file and its replacement do not fit side by side.
    const QString path = real ? disk.filePath("out.csv") : outPath();
    const QByteArray old(40 * 1024, 'o');
    writeBytes(path, old);
    QList<QStringList> rows;
    for (int i = 0; i < 4000; ++i)
        rows << QStringList{QString("x%1").arg(i, 10, 10, QChar('0'))};
    QTreeWidget list;
    fillList(list, {"ID"}, rows);
    if (!real)
        SafeFileWriter::simulateDiskFullAfter(1000);
    app->dialogs().queue(Answer::Ok, path); // the file picker, then the overwrite question
    app->dialogs().queue(Answer::Ok);
    QString message;
    const bool written = exportListViewCsv(&list, &message, QStringLiteral("出品終了データ"));
    SafeFileWriter::simulateDiskFullAfter(-1);
    QVERIFY(!written);
    QVERIFY(message.endsWith(CsvExport::openFileHint));
    QVERIFY(message.size() > CsvExport::openFileHint.size());
    QCOMPARE(readBytes(path), old);
    QCOMPARE(QDir(QFileInfo(path).path()).entryList({"out.csv*"}, QDir::Files),
             QStringList{"out.csv"});
}

void TestCsv::unwritableCharactersAreMarkedAndReported()
{
    QTreeWidget list;
    fillList(list, {"件名"}, {{"〜届きました😀"}});
    QString message;
    QVERIFY(exportList(list, outPath(), &message));
    QCOMPARE(message,
             QString("エクスポートしましたo(´□｀o)（CP932で書けない文字1個を〓で書きました）"));
    const QByteArray bytes = readBytes(outPath());
    QVERIFY(!bytes.contains("\xfc\xfc"));
    QVERIFY(bytes.contains("\x81\x60"));
    QVERIFY(bytes.endsWith("\x81\xac\r\n"));
    QCOMPARE(readCp932(outPath()), QString("件名\r\n～届きました〓\r\n"));
}

void TestCsv::bidderExportWritesSelectedRowsInListOrder()
{
    {
        Database::ScopedConnection db;
        FixtureDb::addBidder(db.db(), {.id = "b1",
                                       .name = "山田",
                                       .mail = "y@example.jp",
                                       .post = "100-0001",
                                       .address = "東京都",
                                       .tel = "03"});
        FixtureDb::addBidder(db.db(), {.id = "b2",
                                       .name = "佐藤, 花子",
                                       .mail = "s@example.jp",
                                       .post = "530-0001",
                                       .address = "大阪府",
                                       .tel = "06"});
    }
    QTreeWidget list;
    list.setSelectionMode(QAbstractItemView::ExtendedSelection);
    fillList(list, {"", "商品ID", "商品名", "落札者"},
             {{"1", "a1", "t", "b2"},
              {"2", "a2", "t", "b1"},
              {"3", "a3", "t", "nobody"},
              {"4", "a4", "t", "b2"},
              {"5", "a5", "t", "B1"}});
    // Selected out of order, one row left out: the lines follow the list.
    for (int row : {4, 2, 1, 0})
        list.topLevelItem(row)->setSelected(true);
    list.topLevelItem(3)->setSelected(false);

    app->dialogs().queue(Answer::Ok, outPath());
    QString message;
    QVERIFY(exportBidderInfoCsv(&list, 2, &message, "落札者情報"));
    QCOMPARE(message, QString("エクスポートしましたo(´□｀o)"));
    QCOMPARE(app->dialogs().requests().first().initialText, QString("落札者情報"));
    const QString b1 = "b1,山田,100-0001,東京都,03,y@example.jp\r\n";
    QCOMPARE(readCp932(outPath()), QString("\"佐藤, 花子\"").prepend("b2,") +
                                       ",530-0001,大阪府,06,s@example.jp\r\n" + b1 + ",,,,,\r\n" +
                                       b1);
    // The connection of the export is gone.
    for (const QString& name : QSqlDatabase::connectionNames())
        QVERIFY2(!name.startsWith("bidderCsv"), qPrintable(name));
}

void TestCsv::bidderExportWithoutSelectionWritesEmptyFile()
{
    writeBytes(outPath(), "old");
    QTreeWidget list;
    fillList(list, {"", "商品ID", "商品名", "落札者"}, {{"1", "a1", "t", "b1"}});
    app->dialogs().queue(Answer::Ok, outPath());
    app->dialogs().queue(Answer::Ok);
    QString message;
    QVERIFY(exportBidderInfoCsv(&list, 2, &message, "落札者情報"));
    QCOMPARE(message, QString("エクスポートしましたo(´□｀o)"));
    QCOMPARE(readBytes(outPath()), QByteArray());
}

void TestCsv::commandsOnEachTab_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<int>("lines");

    QStringList bidHeader;
    for (const char* caption : BidListColumns::HeaderCaptions)
        bidHeader << QString::fromUtf8(caption);
    const QStringList bidNaviHeader{"", "投稿者", "No", "件名", "メッセージ", "投稿日"};
    const QStringList naviHeader{"",   "商品ID", "商品名",     "投稿者",  "氏名",
                                 "No", "件名",   "メッセージ", "投稿日時"};
    QTest::newRow("listings on the listing tab")
        << 0 << "ActionCsvExportBidList" << true << "出品終了データ" << bidHeader << 3;
    QTest::newRow("messages on the listing tab")
        << 0 << "ActionCsvExportNaviList" << true << "ナビデータ" << bidNaviHeader << 3;
    QTest::newRow("bidders on the listing tab")
        << 0 << "ActionCsvExportBidInfo" << true << "落札者情報" << QStringList() << 1;
    QTest::newRow("listings on the message tab")
        << 1 << "ActionCsvExportBidList" << false << "" << QStringList() << 0;
    QTest::newRow("messages on the message tab")
        << 1 << "ActionCsvExportNaviList" << true << "ナビデータ" << naviHeader << 2;
    QTest::newRow("bidders on the message tab")
        << 1 << "ActionCsvExportBidInfo" << false << "" << QStringList() << 0;
}

void TestCsv::commandsOnEachTab()
{
    QFETCH(int, tab);
    QFETCH(QString, command);
    QFETCH(bool, enabled);
    QFETCH(QString, proposed);
    QFETCH(QStringList, header);
    QFETCH(int, lines);

    startMainWindow(tab);
    navi->ListViewBid->topLevelItem(0)->setSelected(true);
    QAction* action = navi->action(command);
    QVERIFY(action);
    QCOMPARE(action->isEnabled(), enabled);
    const QStringList logBefore = app->log();
    app->dialogs().clear();
    app->dialogs().queue(Answer::Ok, outPath());
    action->trigger();

    if (!enabled) {
        QCOMPARE(app->dialogs().requests().size(), 0);
        QVERIFY(!QFile::exists(outPath()));
        QCOMPARE(app->log(), logBefore);
        return;
    }
    QCOMPARE(app->dialogs().requests().size(), 1);
    QCOMPARE(app->dialogs().requests().first().initialText, proposed);
    QCOMPARE(app->log(), logBefore + QStringList{"エクスポートしましたo(´□｀o)"});
    const std::optional<QList<QStringList>> records = parseCsv(readCp932(outPath()));
    QVERIFY(records);
    QCOMPARE(records->size(), lines);
    if (!header.isEmpty()) {
        QCOMPARE(records->first(), header);
        for (const QStringList& record : *records)
            QCOMPARE(record.size(), header.size());
    } else {
        QCOMPARE(records->first(),
                 QStringList({"b1", "山田", "100-0001", "東京都", "03", "y@example.jp"}));
    }
}

void TestCsv::naviExportWritesWholeMessagesOnEitherTab_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("messageColumn");
    QTest::newRow("transaction list") << 0 << 4;
    QTest::newRow("folder list") << 1 << 7;
}

void TestCsv::naviExportWritesWholeMessagesOnEitherTab()
{
    QFETCH(int, tab);
    QFETCH(int, messageColumn);

    startMainWindow(tab);
    app->dialogs().queue(Answer::Ok, outPath());
    navi->action("ActionCsvExportNaviList")->trigger();
    const std::optional<QList<QStringList>> records = parseCsv(readCp932(outPath()));
    QVERIFY(records);
    QStringList messages;
    for (qsizetype i = 1; i < records->size(); ++i)
        messages << records->at(i).at(messageColumn);
    QVERIFY2(messages.contains(longMessage()), qPrintable(messages.join('|').left(400)));
}

void TestCsv::refusedOverwriteFromCommandLogsCancel()
{
    startMainWindow(0);
    writeBytes(outPath(), "kept");
    app->dialogs().queue(Answer::Ok, outPath());
    app->dialogs().queue(Answer::Cancel);
    navi->ActionCsvExportBidList->trigger();
    QCOMPARE(app->log().last(), QString("エクスポートを中止しました"));
    QCOMPARE(readBytes(outPath()), QByteArray("kept"));
}

void TestCsv::failedExportShowsBoxThenLogsFailure()
{
    startMainWindow(0);
    writeBytes(outPath("plain"), "not a folder");
    QList<Dialogs::Request> asked;
    qsizetype logLinesAtBox = -1;
    Dialogs::setAnswerer([&](const Dialogs::Request& request) {
        asked << request;
        if (request.kind == Dialogs::Kind::Error)
            logLinesAtBox = navi->ListBoxMessage->count();
        return Dialogs::Reply{Answer::Ok, request.kind == Dialogs::Kind::SaveFile
                                              ? outPath("plain/out.csv")
                                              : QString()};
    });
    const qsizetype logLinesBefore = navi->ListBoxMessage->count();
    navi->ActionCsvExportBidList->trigger();

    QCOMPARE(asked.size(), 2);
    QCOMPARE(asked.at(1).kind, Dialogs::Kind::Error);
    QCOMPARE(asked.at(1).caption, QString("ファイル保存エラー"));
    QVERIFY(asked.at(1).text.endsWith("\nファイルを開いてる可能性があります。"));
    QVERIFY(asked.at(1).text.size() > QString("\nファイルを開いてる可能性があります。").size());
    QCOMPARE(logLinesAtBox, logLinesBefore);
    QCOMPARE(app->log().last(), QString("エクスポート失敗('・ω・`)"));
    QCOMPARE(navi->ListBoxMessage->count(), logLinesBefore + 1);
}

QTEST_MAIN(TestCsv)
#include "test_csv.moc"
