// The settings file rules, the options and lists read from it, and the tool-bar band order.
#include "SmallFileSystem.h"
#include "TestDataFolder.h"
#include "common/NaviOptions.h"
#include "platform/ToolBarBands.h"
#include "platform/IniContents.h"
#include "platform/IniFile.h"
#include "platform/RowBreaks.h"
#include "platform/SafeFileWriter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTest>

#include <stdexcept>

class TestSettings : public QObject
{
    Q_OBJECT

private:
    static void writeFile(const QString& path, const QByteArray& text)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    static QByteArray fileBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // The message of the write error the call throws; empty when it throws none.
    template <typename Call> static QString writeError(Call call)
    {
        try {
            call();
        } catch (const std::runtime_error& error) {
            return QString::fromUtf8(error.what());
        }
        return {};
    }

private slots:
    void cleanup() { SafeFileWriter::simulateDiskFullAfter(-1); }

    void readsValuesByTheProfileRules_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("asString");
        QTest::addColumn<int>("asInteger");
        QTest::addColumn<bool>("asBool");
        // Defaults: "def", 7, true.
        QTest::newRow("plain text") << QByteArray("Key=abc") << "abc" << 7 << true;
        QTest::newRow("one pair of quotes removed")
            << QByteArray("Key=\" a b \"") << " a b " << 7 << true;
        QTest::newRow("inner quotes kept") << QByteArray("Key=\"\"x\"\"") << "\"x\"" << 7 << true;
        QTest::newRow("lone quote kept") << QByteArray("Key=\"abc") << "\"abc" << 7 << true;
        QTest::newRow("blanks around value trimmed")
            << QByteArray("Key =  12  ") << "12" << 12 << true;
        QTest::newRow("zero is false") << QByteArray("Key=0") << "0" << 0 << false;
        QTest::newRow("any non-zero is true") << QByteArray("Key=-3") << "-3" << -3 << true;
        QTest::newRow("not a number gives defaults")
            << QByteArray("Key=12abc") << "12abc" << 7 << true;
        QTest::newRow("empty value") << QByteArray("Key=") << "" << 7 << true;
        QTest::newRow("key without regard to case") << QByteArray("kEY=5") << "5" << 5 << true;
        QTest::newRow("Japanese text") << QByteArray("Key=氏名：") << "氏名：" << 7 << true;
        QTest::newRow("missing key") << QByteArray("Other=1") << "def" << 7 << true;
    }
    void readsValuesByTheProfileRules()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, asString);
        QFETCH(int, asInteger);
        QFETCH(bool, asBool);
        TestDataFolder folder;
        const QString path = folder.filePath("setting.ini");
        writeFile(path, "[Other]\nKey=wrong\n[sEcTiOn]\r\n" + line + "\r\n");
        IniFile ini(path);
        QCOMPARE(ini.readString("Section", "Key", "def"), asString);
        QCOMPARE(ini.readInteger("Section", "Key", 7), asInteger);
        QCOMPARE(ini.readBool("Section", "Key", true), asBool);
    }

    void writesReachTheFileAtOnceInFileOrder()
    {
        TestDataFolder folder;
        const QString path = folder.filePath("setting.ini");
        writeFile(path, "; a comment\n[B]\nX=1\n[A]\nY=2\n");
        IniFile ini(path);
        ini.writeString("a", "Z", "three");
        ini.writeBool("B", "X", false);
        ini.writeInteger("C", "N", -5);
        IniFile reread(path);
        QCOMPARE(reread.readString("A", "Z", ""), QString("three"));
        QCOMPARE(reread.readSection("B"), QStringList{"X"});
        QCOMPARE(reread.readString("B", "X", ""), QString("0"));
        QCOMPARE(reread.readInteger("C", "N", 0), -5);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 QByteArray("; a comment\n[B]\nX=0\n[A]\nY=2\nZ=three\n[C]\nN=-5\n"));
        QCOMPARE(QFile::permissions(path) & 0x0077, QFile::Permissions());
    }

    void erasesSectionsAndKeys()
    {
        TestDataFolder folder;
        IniFile ini(folder.filePath("setting.ini"));
        ini.writeString("S", "A", "1");
        ini.writeString("S", "B", "2");
        ini.writeString("T", "C", "3");
        ini.deleteKey("s", "a");
        ini.eraseSection("t");
        IniFile reread(folder.filePath("setting.ini"));
        QVERIFY(!reread.valueExists("S", "A"));
        QVERIFY(reread.valueExists("S", "B"));
        QVERIFY(!reread.sectionExists("T"));
    }

    void twoObjectsOnOneFileKeepEachOthersWrites_data()
    {
        QTest::addColumn<QString>("olderWrite");
        QTest::newRow("string") << "string";
        QTest::newRow("list") << "list";
        QTest::newRow("key deleted") << "deleteKey";
        QTest::newRow("section erased") << "eraseSection";
    }
    void twoObjectsOnOneFileKeepEachOthersWrites()
    {
        QFETCH(QString, olderWrite);
        TestDataFolder folder;
        const QString path = folder.filePath("setting.ini");
        writeFile(path, "[Main]\nLeft=1\n[Old]\nX=1\n[L]\nBidCarriageItem0=a\n");
        // The main window's object is made first; the settings dialog's while it is open.
        IniFile older(path);
        IniFile newer(path);
        newer.writeString("Setting", "BidFlg", "2");
        newer.writeList("L", "BidCarriage", 1, {"b", "c"});
        newer.deleteKey("Main", "Left");
        // Reads through the older object go to the file.
        QCOMPARE(older.readInteger("Setting", "BidFlg", 0), 2);
        QCOMPARE(older.readList("L", "BidCarriage"), (QStringList{"b", "c"}));
        QVERIFY(!older.valueExists("Main", "Left"));
        if (olderWrite == "string")
            older.writeInteger("Main", "Top", 7);
        else if (olderWrite == "list")
            older.writeList("L", "BidForwarding", 0, {"f"});
        else if (olderWrite == "deleteKey")
            older.deleteKey("Old", "X");
        else
            older.eraseSection("Old");
        const IniFile reread(path);
        QCOMPARE(reread.readInteger("Setting", "BidFlg", 0), 2);
        QCOMPARE(reread.readList("L", "BidCarriage"), (QStringList{"b", "c"}));
        QVERIFY(!reread.valueExists("Main", "Left"));
        QCOMPARE(reread.readInteger("Main", "Top", 0), olderWrite == "string" ? 7 : 0);
        QCOMPARE(reread.readList("L", "BidForwarding"),
                 olderWrite == "list" ? QStringList{"f"} : QStringList());
        QCOMPARE(reread.valueExists("Old", "X"), olderWrite == "string" || olderWrite == "list");
        QCOMPARE(reread.sectionExists("Old"), olderWrite != "eraseSection");
    }

    void writingTheFirstOfTwoEqualKeysWhichReadsSee()
    {
        TestDataFolder folder;
        const QString path = folder.filePath("setting.ini");
        writeFile(path, "[S]\nKey=first\nkey=second\n");
        IniFile ini(path);
        ini.writeString("S", "KEY", "new");
        QCOMPARE(ini.readString("S", "Key", ""), QString("new"));
    }

    void listsEndAtTheFirstEmptyValue()
    {
        TestDataFolder folder;
        const QString path = folder.filePath("setting.ini");
        writeFile(path, "[L]\nNameItem0=a\nNameItem2=c\nTelItem0=x\nTelItem1=\nTelItem2=z\n");
        IniFile ini(path);
        QCOMPARE(ini.readList("L", "Name"), QStringList{"a"});
        QCOMPARE(ini.readList("L", "Tel"), QStringList{"x"});
        QCOMPARE(ini.readList("L", "Mail"), QStringList());
    }

    void listLinesKeepTheirBlanksAcrossASave()
    {
        TestDataFolder folder;
        const QString path = folder.filePath("setting.ini");
        writeFile(path,
                  "[L]\nBidCarriageItem0=old0\nBidCarriageItem1=old1\nBidCarriageItem2=old2\n");
        IniFile ini(path);
        const QStringList read = ini.readList("L", "BidCarriage");
        ini.writeList("L", "BidCarriage", int(read.size()), {" 500円 ", "　全角　"});
        IniFile reread(path);
        QCOMPARE(reread.readList("L", "BidCarriage"), (QStringList{" 500円 ", "　全角　"}));
        QVERIFY(!reread.valueExists("L", "BidCarriageItem2"));
    }

    // A value holding line breaks stays on its line: the keys after it are still read and
    // written once, and no second section of the same name appears.
    void valuesWithLineBreaksStayOnTheirLine_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("CR") << "山田\r太郎"
                            << "山田太郎";
        QTest::newRow("LF") << "山田\n太郎"
                            << "山田太郎";
        QTest::newRow("CR LF") << "山田\r\n太郎"
                               << "山田太郎";
        QTest::newRow("a section header on a line of its own") << "x\r\n[Main]\r\nLeft=5\r\n"
                                                               << "x[Main]Left=5";
        QTest::newRow("a section header after a leading break") << "\n[Main]"
                                                                << "[Main]";
        QTest::newRow("breaks alone") << "\r\n\r\n"
                                      << "";
    }
    void valuesWithLineBreaksStayOnTheirLine()
    {
        QFETCH(QString, value);
        QFETCH(QString, readBack);
        TestDataFolder folder;
        const QString path = folder.filePath("setting.ini");
        writeFile(path, "[Main]\nLeft=1\n[Other]\nX=1\n");
        {
            IniFile ini(path);
            ini.writeString("Main", "SearchBidName", value);
            ini.writeInteger("Main", "Top", 2);
            ini.writeList("SettingOtherItem", "BidCarriage", 0, {value + "円", "next"});
            ini.writeString("Main", "SearchBidName", value);
            ini.writeInteger("Main", "Width", 3);
        }
        const QByteArray bytes = fileBytes(path);
        QCOMPARE(bytes.count('\r'), 0);
        QCOMPARE(bytes.split('\n').count("[Main]"), 1);
        QCOMPARE(bytes.count("SearchBidName="), 1);
        // What the next start reads, from the file alone.
        const IniContents contents = IniContents::parse(bytes);
        QCOMPARE(contents.keys("Main"), (QStringList{"Left", "SearchBidName", "Top", "Width"}));
        QCOMPARE(*contents.value("Main", "SearchBidName"), readBack);
        QCOMPARE(*contents.value("Main", "Width"), QString("3"));
        QCOMPARE(contents.keys("Other"), QStringList{"X"});
        QCOMPARE(contents.keys("SettingOtherItem"),
                 (QStringList{"BidCarriageItem0", "BidCarriageItem1"}));
        QCOMPARE(*contents.value("SettingOtherItem", "BidCarriageItem0"), '"' + readBack + "円\"");
        // The object that wrote them reads what the file holds.
        const IniFile ini(path);
        QCOMPARE(ini.readString("Main", "SearchBidName", "def"), readBack);
        QCOMPARE(ini.readList("SettingOtherItem", "BidCarriage"),
                 (QStringList{readBack + "円", "next"}));
    }

    // Files that hold an escape-like text or a lone CR read as they always have.
    void valuesWrittenBeforeReadAsTheyStand()
    {
        TestDataFolder folder;
        const QString path = folder.filePath("setting.ini");
        writeFile(path, "[Main]\r\nSearchBidName=a\\nb\\r\r\nSearchBidTitle=c\rd\r\n");
        const IniFile ini(path);
        QCOMPARE(ini.readString("Main", "SearchBidName", ""), QString("a\\nb\\r"));
        QCOMPARE(ini.readString("Main", "SearchBidTitle", ""), QString("c\rd"));
    }

    void firstRunWritesTheBidderLabels()
    {
        TestDataFolder folder;
        IniFile ini(folder.filePath("setting.ini"));
        const BidInfoKeywords keywords = BidInfoKeywords::readCreatingDefaults(ini);
        QCOMPARE(keywords.name, QStringList{"氏名："});
        QCOMPARE(keywords.post, QStringList{"郵便番号："});
        QCOMPARE(keywords.address1, QStringList{"住所："});
        QCOMPARE(keywords.tel, QStringList{"電話番号："});
        QCOMPARE(keywords.mail, QStringList{"メール："});
        QVERIFY(IniFile(ini.path()).readBool("SettingGetBidInfo", "ExistsSection", false));
    }

    void existingBidderSectionIsLeftAsItIs()
    {
        TestDataFolder folder;
        const QString path = folder.filePath("setting.ini");
        // The test is whether the section exists, not whether ExistsSection is set.
        writeFile(path, "[SettingGetBidInfo]\nExistsSection=0\nNameItem0=\"名前 \"\n");
        IniFile ini(path);
        const BidInfoKeywords keywords = BidInfoKeywords::readCreatingDefaults(ini);
        QCOMPARE(keywords.name, QStringList{"名前 "});
        QVERIFY(keywords.post.isEmpty());
    }

    void optionsHaveTheirDefaults()
    {
        TestDataFolder folder;
        IniFile ini(folder.filePath("setting.ini"));
        const NaviOptions options = NaviOptions::read(ini, false);
        QCOMPARE(options.bidFlg, 1);
        QCOMPARE(options.bidBackColor, QString("16772829"));
        QCOMPARE(options.operationBidListEnter, 1);
        QCOMPARE(options.operationNaviListDblClick, 1);
        QCOMPARE(options.loginTaskTrayShowMessageTime, 2000);
        QVERIFY(options.confirmationEvaluationTransmission);
        QVERIFY(!options.loginTaskTrayShowBalloon);
        QVERIFY(NaviOptions::read(ini, true).loginTaskTrayShowBalloon);
        QVERIFY(!NaviOptions::readLoginAutoLogin(ini));
        QVERIFY(!NaviOptions::readTaskTray(ini));
    }

    void rowColourIsReadOnlyWithTheFooterOption_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("colour");
        QTest::newRow("PrInsert on")
            << QByteArray("[Setting]\nPrInsert=1\nBidBackColor=255\n") << "255";
        QTest::newRow("PrInsert missing") << QByteArray("[Setting]\nBidBackColor=255\n") << "255";
        QTest::newRow("PrInsert off")
            << QByteArray("[Setting]\nPrInsert=0\nBidBackColor=255\n") << "16772829";
    }
    void rowColourIsReadOnlyWithTheFooterOption()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, colour);
        TestDataFolder folder;
        writeFile(folder.filePath("setting.ini"), file);
        QCOMPARE(NaviOptions::read(IniFile(folder.filePath("setting.ini")), false).bidBackColor,
                 colour);
    }

    void linesTheProgramDoesNotChangeKeepTheirBytes()
    {
        TestDataFolder folder;
        const QString path = folder.filePath("setting.ini");
        // Shift_JIS and bytes that are no text at all, odd blanks, CR LF, a comment, blank lines.
        const QByteArray foreign = QByteArray("Name=\x82\xa0\x82\xa2 \xff\xfe\r");
        const QByteArray header = QByteArray(" [Foreign] ; theirs\r");
        writeFile(path, "; kept\n" + header + "\n" + foreign + "\n  Spaced =  1  \n\n[Main]\n" +
                            "Left=1\n\n[Other]\nX=\x93\xfa\n");
        IniFile ini(path);
        QCOMPARE(ini.readString("Foreign", "Spaced", ""), QString("1"));
        ini.writeInteger("Main", "Left", 5);
        ini.writeInteger("Main", "Top", 7);
        ini.writeString("New", "K", "v");
        ini.deleteKey("Other", "Missing");
        QCOMPARE(fileBytes(path), "; kept\n" + header + "\n" + foreign +
                                      "\n  Spaced =  1  \n\n[Main]\nLeft=5\nTop=7\n\n[Other]\n" +
                                      "X=\x93\xfa\n[New]\nK=v\n");
    }

    void readsParseTheFileOnlyWhenItChanged_data()
    {
        QTest::addColumn<bool>("longAgo");
        QTest::newRow("file written long ago") << true;
        // Within the file system's clock tick the stamp alone cannot show a change.
        QTest::newRow("file written just now") << false;
    }
    void readsParseTheFileOnlyWhenItChanged()
    {
        QFETCH(bool, longAgo);
        TestDataFolder folder;
        const QString path = folder.filePath("setting.ini");
        writeFile(path, "[S]\nKey=1\n");
        if (longAgo) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                     QFileDevice::FileModificationTime));
        }
        const int before = IniFile::parseCount();
        IniFile ini(path);
        const IniFile other(path);
        for (int i = 0; i < 50; ++i)
            QCOMPARE(ini.readInteger("S", "Key", 0), 1);
        QCOMPARE(other.readInteger("S", "Key", 0), 1);
        QCOMPARE(IniFile::parseCount() - before, 1);
        // Another program rewrites the file in place, to the same size.
        writeFile(path, "[S]\nKey=2\n");
        QCOMPARE(other.readInteger("S", "Key", 0), 2);
        QCOMPARE(ini.readInteger("S", "Key", 0), 2);
        QCOMPARE(IniFile::parseCount() - before, 2);
    }

    void aBatchOfWritesIsOneSave()
    {
        TestDataFolder folder;
        const QString path = folder.filePath("setting.ini");
        const QByteArray big = "[Foreign]\nBig=" + QByteArray(1 << 20, 'x') + "\n";
        writeFile(path, big);
        IniFile ini(path);
        IniFile other(path);
        const int saves = IniFile::saveCount();
        {
            IniFile::Batch batch(ini);
            for (int i = 0; i < 80; ++i)
                ini.writeInteger("Main", "Key" + QString::number(i), i);
            {
                // A batch within the batch, on another object of the file, joins it.
                IniFile::Batch inner(other);
                other.writeList("L", "Name", 0, {"a"});
                inner.save();
            }
            QCOMPARE(other.readInteger("Main", "Key79", -1), 79);
            QCOMPARE(ini.readList("L", "Name"), QStringList{"a"});
            QCOMPARE(fileBytes(path), big);
            QCOMPARE(IniFile::saveCount(), saves);
            batch.save();
        }
        QCOMPARE(IniFile::saveCount() - saves, 1);
        const IniFile reread(path);
        QCOMPARE(reread.readInteger("Main", "Key0", -1), 0);
        QCOMPARE(reread.readInteger("Main", "Key79", -1), 79);
        QCOMPARE(reread.readList("L", "Name"), QStringList{"a"});
        QVERIFY(fileBytes(path).startsWith(big));
        // Outside a batch every write reaches the file at once, as before.
        ini.writeInteger("Main", "Key0", 100);
        QCOMPARE(IniFile::saveCount() - saves, 2);
        QVERIFY(fileBytes(path).contains("\nKey0=100\n"));
    }

    void aWriteThatFailsLeavesTheOldFile_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("full disk, one write") << "write";
        QTest::newRow("full disk, a batch") << "batch";
        QTest::newRow("an exception leaves a batch") << "thrown";
        QTest::newRow("a real full file system") << "real";
    }
    void aWriteThatFailsLeavesTheOldFile()
    {
        QFETCH(QString, how);
        TestDataFolder folder;
        SmallFileSystem disk(64);
        if (how == "real" && !disk.isMounted())
            QSKIP("no small file system can be mounted here");
        // On the small file system the old file and its replacement do not fit side by side.
        const QString path =
            how == "real" ? disk.filePath("setting.ini") : folder.filePath("setting.ini");
        const QByteArray old =
            "[Main]\nLeft=1\n[Foreign]\nX=\xff" + QByteArray(40 * 1024, 'o') + "\n";
        writeFile(path, old);
        IniFile ini(path);
        QCOMPARE(ini.readInteger("Main", "Left", 0), 1);
        if (how != "real" && how != "thrown")
            SafeFileWriter::simulateDiskFullAfter(100);
        QString error;
        if (how == "write" || how == "real") {
            error = writeError([&] { ini.writeInteger("Main", "Left", 2); });
        } else {
            error = writeError([&] {
                IniFile::Batch batch(ini);
                ini.writeInteger("Main", "Left", 2);
                ini.writeInteger("Main", "Top", 3);
                if (how == "thrown")
                    throw std::runtime_error("midway");
                batch.save();
            });
        }
        SafeFileWriter::simulateDiskFullAfter(-1);
        QCOMPARE(fileBytes(path), old);
        QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files), QStringList{"setting.ini"});
        if (how == "thrown")
            QCOMPARE(error, QString("midway"));
        else
            QVERIFY2(error.contains(path), qPrintable(error));
        // The writes that did not reach the file are not read either.
        QCOMPARE(IniFile(path).readInteger("Main", "Left", 0), 1);
        QVERIFY(!ini.valueExists("Main", "Top"));
    }

    void bandOrderComesBackFromStoredPositions_data()
    {
        QTest::addColumn<QList<int>>("stored");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("layout order") << QList<int>{0, 1, 2, 3} << QList<int>{0, 1, 2, 3};
        QTest::newRow("reversed") << QList<int>{3, 2, 1, 0} << QList<int>{3, 2, 1, 0};
        // Moving bands one by one gets this rotation wrong; sorting does not.
        QTest::newRow("rotated") << QList<int>{1, 2, 3, 0} << QList<int>{3, 0, 1, 2};
        QTest::newRow("rotated back") << QList<int>{3, 0, 1, 2} << QList<int>{1, 2, 3, 0};
        QTest::newRow("missing keys tie") << QList<int>{0, 0, 0, 0} << QList<int>{0, 1, 2, 3};
    }
    void bandOrderComesBackFromStoredPositions()
    {
        QFETCH(QList<int>, stored);
        QFETCH(QList<int>, order);
        QCOMPARE(bandOrderFromStoredPositions(stored), order);
    }

    void bandsBreakIntoRowsWhereTheyDoNotFit_data()
    {
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<QList<bool>>("stored");
        QTest::addColumn<int>("rowWidth");
        QTest::addColumn<QList<bool>>("breaks");
        QTest::newRow("all fit") << QList<int>{300, 300, 300} << QList<bool>{false, false, false}
                                 << 900 << QList<bool>{false, false, false};
        QTest::newRow("full row wraps")
            << QList<int>{300, 300, 301} << QList<bool>{false, false, false} << 900
            << QList<bool>{false, false, true};
        QTest::newRow("wraps again on the next row")
            << QList<int>{826, 264, 355, 734} << QList<bool>{false, false, false, false} << 900
            << QList<bool>{false, true, false, true};
        QTest::newRow("band wider than the row stands alone")
            << QList<int>{1000, 100, 100} << QList<bool>{false, false, false} << 900
            << QList<bool>{false, true, false};
        QTest::newRow("stored break holds where the band would fit")
            << QList<int>{100, 100, 100} << QList<bool>{false, true, false} << 900
            << QList<bool>{false, true, false};
        QTest::newRow("stored break starts the count afresh")
            << QList<int>{800, 500, 400} << QList<bool>{false, true, false} << 900
            << QList<bool>{false, true, false};
        QTest::newRow("first band never breaks")
            << QList<int>{100, 100} << QList<bool>{true, false} << 900 << QList<bool>{false, false};
        QTest::newRow("hidden band takes no room")
            << QList<int>{900, 0, 100} << QList<bool>{false, false, false} << 900
            << QList<bool>{false, false, true};
    }
    void bandsBreakIntoRowsWhereTheyDoNotFit()
    {
        QFETCH(QList<int>, widths);
        QFETCH(QList<bool>, stored);
        QFETCH(int, rowWidth);
        QFETCH(QList<bool>, breaks);
        QCOMPARE(rowBreaks(widths, stored, rowWidth), breaks);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
