// Start-up and closing of the main window: the settings it reads and writes, the database it
// creates, the shared queries, and the single-instance guard between real processes.
#include "FakeSite.h"
#include "FeedbackSite.h"
#include "FixtureDb.h"
#include "MainWindowFixture.h"
#include "NaviBoardSite.h"
#include "NaviPostSite.h"
#include "OtherUserListener.h"
#include "SitePages.h"
#include "SmallFileSystem.h"
#include "X11Desktop.h"
#include "app/UnitMain.h"
#include "app/UnitNavi.h"
#include "platform/ChildTeardown.h"
#include "platform/DataFolder.h"
#include "platform/DataFolderGuard.h"
#include "platform/Database.h"
#include "platform/GuiThreadWait.h"
#include "platform/IniFile.h"
#include "platform/InstanceAddress.h"
#include "platform/SingleInstance.h"
#include "platform/Sql.h"
#include "site/LoginControl.h"
#include "site/html.h"
#include "views/BidSearchPanel.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QLocalSocket>
#include <QLockFile>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QSignalSpy>
#include <QSpontaneKeyEvent>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <QToolBar>

#include <atomic>
#include <memory>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

IniFile settings(const TestDataFolder& folder)
{
    return IniFile(folder.filePath("setting.ini"));
}

// The program run on the data folder dataFolder. dialogLog: where the program records the boxes
// it would show, answering them itself. display: an X server to show the windows on, instead of
// the test's screen. environment: "NAME=value" sets a variable for the program, "NAME" alone
// removes it.
QProcess* startProgramIn(const QString& dataFolder, QObject* parent,
                         const QString& dialogLog = QString(),
                         const QString& program = QStringLiteral(TESSALY_PROGRAM_PATH),
                         const QString& display = QString(), const QStringList& arguments = {},
                         const QStringList& environment = {})
{
    auto* process = new QProcess(parent);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TESSALY_HOME", dataFolder);
    for (const QString& setting : environment) {
        const qsizetype equals = setting.indexOf('=');
        if (equals < 0)
            env.remove(setting);
        else
            env.insert(setting.left(equals), setting.mid(equals + 1));
    }
    // The program gets the test's screen.
    env.insert("QT_QPA_PLATFORM", qEnvironmentVariable("QT_QPA_PLATFORM", "offscreen"));
    if (!display.isEmpty()) {
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("DISPLAY", display);
    }
    if (!dialogLog.isEmpty())
        env.insert("TESSALY_TEST_DIALOG_LOG", dialogLog);
    process->setProcessEnvironment(env);
    process->start(program, arguments);
    return process;
}

QProcess* startProgram(const TestDataFolder& folder, QObject* parent,
                       const QString& dialogLog = QString(),
                       const QString& program = QStringLiteral(TESSALY_PROGRAM_PATH),
                       const QString& display = QString(), const QStringList& arguments = {},
                       const QStringList& environment = {})
{
    return startProgramIn(folder.path(), parent, dialogLog, program, display, arguments,
                          environment);
}

// The program of this user answers on the data folder's name.
bool instanceAnswers(const QString& dataFolder)
{
    const InstanceAddress address(dataFolder);
    QLocalSocket probe;
    probe.connectToServer(address.name());
    return probe.waitForConnected(100) && SingleInstance::peerIsThisUser(probe.socketDescriptor());
}

bool instanceAnswers(const TestDataFolder& folder)
{
    return instanceAnswers(folder.path());
}

QStringList fileLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

// Sets a flag when the watched window gets its first paint event.
class PaintSpy : public QObject
{
public:
    PaintSpy(QWidget* window, std::atomic<bool>& painted) : m_painted(painted)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            m_painted = true;
        return false;
    }

private:
    std::atomic<bool>& m_painted;
};

// The site's account host accepts and never answers in test time.
void silenceAccountHost(FakeSite& site)
{
    FakeSite::Response silent = SitePages::page(SitePages::statusPage("seller1"));
    silent.delayMs = 120000;
    site.setRoute("GET", "/jp/show/mystatus", silent);
}

// The site for the data folder, its account host silent.
bool startSilentAccountHost(FakeSite& site)
{
    if (!site.start())
        return false;
    site.useAsSite();
    silenceAccountHost(site);
    return true;
}

QList<QToolBar*> bandsOf(const TFormNavi& navi)
{
    return {navi.ToolBarMain, navi.ToolBarNavi, navi.PanelLogin, navi.ToolBarFlg};
}

// Band a stands before band b: in a row above it, or to its left in the same row.
bool standsBefore(const QToolBar* a, const QToolBar* b)
{
    const QRect ra = a->geometry();
    const QRect rb = b->geometry();
    return ra.top() != rb.top() ? ra.top() < rb.top() : ra.left() < rb.left();
}

// Every band lies inside the window at its full width, so none hides a button.
bool bandsWhole(const TFormNavi& navi)
{
    for (const QToolBar* band : bandsOf(navi))
        if (!navi.rect().contains(band->geometry()) || band->width() < band->sizeHint().width())
            return false;
    return true;
}

int bandRows(const TFormNavi& navi)
{
    QSet<int> tops;
    for (const QToolBar* band : bandsOf(navi))
        tops.insert(band->geometry().top());
    return int(tops.size());
}

// The permission bits of the file, -1 when it is missing.
int fileMode(const QString& path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

// Tells, as it happens, of each file that is created in a folder or moved into it.
class FolderWatch
{
public:
    explicit FolderWatch(const QString& folder) : m_handle(inotify_init1(IN_CLOEXEC))
    {
        if (m_handle >= 0 && inotify_add_watch(m_handle, QFile::encodeName(folder).constData(),
                                               IN_CREATE | IN_MOVED_TO) < 0) {
            ::close(m_handle);
            m_handle = -1;
        }
    }
    ~FolderWatch()
    {
        if (m_handle >= 0)
            ::close(m_handle);
    }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    bool isValid() const { return m_handle >= 0; }

    // Waits until a file whose whole name matches name appears, for at most timeoutMs; true
    // when one did. Returns as soon as it is told, without running the event loop.
    bool waitFor(const QRegularExpression& name, int timeoutMs)
    {
        const QDeadlineTimer deadline(timeoutMs);
        alignas(inotify_event) char buffer[8192];
        while (!deadline.hasExpired()) {
            pollfd ready{m_handle, POLLIN, 0};
            if (::poll(&ready, 1, int(deadline.remainingTime())) <= 0)
                continue;
            const ssize_t length = ::read(m_handle, buffer, sizeof buffer);
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0 && name.match(QFile::decodeName(event->name)).hasMatch())
                    return true;
                at += ssize_t(sizeof(inotify_event)) + event->len;
            }
        }
        return false;
    }

private:
    int m_handle;
};

void makeDatabaseUnreadable(const TestDataFolder& folder)
{
    QFile file(folder.filePath("Tessaly.db"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
}


// What reaches a window's handlers from its children after its destructor body has run.
struct LateCalls
{
    int signalled = 0;
    int filtered = 0;
};

// Like Qt's lists and edits, it still signals and gets an event while it is destroyed.
class ChattyChild : public QWidget
{
public:
    using QWidget::QWidget;
    ~ChattyChild() override
    {
        setObjectName("gone");
        QEvent last(QEvent::User);
        QCoreApplication::sendEvent(this, &last);
    }
};

class CountingHook : public QObject
{
public:
    CountingHook(LateCalls& late, QObject* parent) : QObject(parent), m_late(late) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::User)
            ++m_late.filtered;
        return false;
    }

private:
    LateCalls& m_late;
};

// A window with a grandchild connected to it and watched by a hook of the window's own.
class ChattyWindow : public QWidget
{
public:
    ChattyWindow(LateCalls& late, bool detach) : m_detach(detach)
    {
        auto* panel = new QWidget(this);
        child = new ChattyChild(panel);
        connect(child, &QObject::objectNameChanged, this, [&late] { ++late.signalled; });
        child->installEventFilter(new CountingHook(late, this));
    }
    ~ChattyWindow() override
    {
        if (m_detach)
            detachChildren(this);
    }
    ChattyChild* child = nullptr;

private:
    bool m_detach;
};

// Sets an environment variable (unsets it for a null value) while the object lives.
class EnvironmentOverride
{
public:
    EnvironmentOverride(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_previous(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~EnvironmentOverride()
    {
        if (m_had)
            qputenv(m_name, m_previous);
        else
            qunsetenv(m_name);
    }
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

private:
    const char* m_name;
    bool m_had;
    QByteArray m_previous;
};

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Every entry of the folder with its size and permission bits, links as their targets.
QStringList folderState(const QString& folder)
{
    QStringList state;
    const QDir dir(folder);
    for (const QFileInfo& entry : dir.entryInfoList(
             QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        state << QStringLiteral("%1 %2 %3 %4")
                     .arg(entry.fileName(), entry.symLinkTarget())
                     .arg(entry.isSymLink() ? -1 : entry.size())
                     .arg(fileMode(entry.filePath()), 0, 8);
    }
    return state << QString::number(fileMode(folder), 8);
}

// The process has the file open (its descriptors, as /proc shows them).
bool hasFileOpen(qint64 pid, const QString& path)
{
    const QString fds = QStringLiteral("/proc/%1/fd").arg(pid);
    const QString wanted = QFileInfo(path).canonicalFilePath();
    for (const QString& fd : QDir(fds).entryList(QDir::Files | QDir::System))
        if (QFile::symLinkTarget(fds + '/' + fd) == wanted)
            return true;
    return false;
}

// Writes a file into the folder until its file system has no room left.
void fillFileSystem(const QString& folder)
{
    QFile filler(folder + QStringLiteral("/filler"));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
}

// Sends the signal and waits until the program has ended in order, with exit code 0.
void endInOrder(QProcess* program, int signalNumber = SIGTERM)
{
    ::kill(pid_t(program->processId()), signalNumber);
    QVERIFY(program->waitForFinished(10000));
    QCOMPARE(program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(program->exitCode(), 0);
}

// The program ends by itself with 1, after one error box whose text names the given path.
void verifyRefusedWithABox(QProcess* program, const QString& dialogLog, const QString& named)
{
    QVERIFY(program->waitForFinished(10000));
    QCOMPARE(program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(program->exitCode(), 1);
    const QStringList boxes = fileLines(dialogLog);
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes.first().startsWith("Error\t"), qPrintable(boxes.first()));
    QVERIFY2(boxes.first().contains(named), qPrintable(boxes.first()));
}

// This process becomes the running instance of the data folder, and a later start raises it.
void becomesTheRunningInstance(const QString& dataFolder)
{
    SingleInstance running(dataFolder);
    QCOMPARE(running.acquire(), SingleInstance::Outcome::First);
    running.listen();
    QSignalSpy raised(&running, &SingleInstance::raiseRequested);
    SingleInstance second(dataFolder);
    QCOMPARE(second.acquire(), SingleInstance::Outcome::RaisedOther);
    QVERIFY(raised.wait());
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { GuiThreadWait::clearStop(); }

    void firstStartCreatesSettingsAndDatabase()
    {
        MainWindowFixture app;
        const TestDataFolder& folder = app.folder();
        TFormNavi* navi = app.show();
        QCOMPARE(navi->geometry(), QRect(100, 100, 900, 600));
        QVERIFY(navi->isDatabaseOpen());
        QVERIFY(QFile::exists(folder.filePath("Tessaly.db")));
        QCOMPARE(QFile::permissions(folder.filePath("Tessaly.db")) & 0x0077, QFile::Permissions());
        const IniFile ini = settings(folder);
        QVERIFY(ini.readBool("SettingGetBidInfo", "ExistsSection", false));
        QCOMPARE(ini.readString("SettingGetBidInfo", "MailItem0", ""), QString("メール："));
        QCOMPARE(navi->windowTitle(), QString("テサリー"));
        QCOMPARE(ini.readString("Version", "MdbVersion", ""), QString("1"));
        app.closeWindow();
        QCOMPARE(settings(folder).readInteger("Main", "Width", 0), 900);
    }

    void schemaHoldsEveryTableAndTheSharedQueriesPrepare()
    {
        MainWindowFixture app;
        TFormNavi* navi = app.start();
        const QMap<QString, QStringList> tables = {
            {"T_BidData",
             {"Aid",
              "Title",
              "BidId",
              "Price",
              "Url",
              "Index",
              "Quantity",
              "UpdateFlg",
              "DeleteFlg",
              "LoginId",
              "FirstFlg",
              "PaymentFlg",
              "ReceiptFlg",
              "EvaluationFlg",
              "EndFlg",
              "ContactMethod",
              "EvaluationUnnecessary",
              "EndDataTime",
              "DealingsCompletionFlg",
              "Carriage",
              "Forwarding",
              "Remarks"}},
            {"T_BidMaster", {"Id", "Name", "MailMain", "Post", "Address1", "Tel"}},
            {"T_Navi",
             {"Aid", "WriteId", "Number", "Subject", "Message", "WriteDate", "RecFlg", "NewFlg",
              "FolderID", "LoginId", "BidId", "UnsealingFlg", "DeleteFlgSub"}},
            {"T_NaviFolderMaster",
             {"ID", "Name", "ImageIndex", "SelectImageIndex", "StateIndex", "SortNumber",
              "ExpandFlg", "LoginId", "UniqueIdName"}},
            {"T_NaviTemplate",
             {"SaveName", "Subject", "Message", "SortNumber", "FirstFlg", "PaymentFlg",
              "ReceiptFlg", "EvaluationFlg", "EndFlg"}},
            {"T_EvaluationTemplate", {"SaveName", "Evaluation", "Message", "SortNumber"}},
            {"T_LoginId", {"LoginId", "PassWord", "Main"}},
            {"T_PersonalData", {"Name", "NamePhonetic", "Post", "Address1", "Tel", "Mail"}},
            {"T_BidDeleteData", {"Aid", "BidId", "Price", "LoginId"}},
            {"T_NaviDraft",
             {"UniqueIdName", "Aid", "ReplyNo", "Subject", "Message", "LoginId", "UpDateTime",
              "FirstFlg"}}};
        for (auto it = tables.cbegin(); it != tables.cend(); ++it) {
            const QSqlRecord record = navi->connection.record(it.key());
            for (const QString& column : it.value())
                QVERIFY2(record.contains(column), qPrintable(it.key() + "." + column));
        }
        // The shared queries run on SQLite with their parameters bound.
        FixtureDb::addListing(navi->connection, {.aid = "x1", .bidId = "b1", .loginId = "me"});
        FixtureDb::addMessage(navi->connection, {.aid = "x1", .bidId = "b1", .loginId = "me"});
        FixtureDb::addMessage(navi->connection, {.aid = "x1", .bidId = "b1", .loginId = "me"});
        Sql::exec(navi->session.queries.queryNewestAid, {{":DATA_LOGINID", "me"}});
        QVERIFY(navi->session.queries.queryNewestAid.next());
        QCOMPARE(navi->session.queries.queryNewestAid.value(0).toString(), QString("x1"));
        Sql::exec(navi->session.queries.queryNaviNumberCount, {{":AID", "x1"}, {":BID_ID", "b1"}});
        QVERIFY(navi->session.queries.queryNaviNumberCount.next());
        QCOMPARE(navi->session.queries.queryNaviNumberCount.value("NumberCount").toInt(), 2);
        Sql::exec(navi->session.queries.queryUnsealedCounts, {{":DATA_LOGINID", "me"}});
        QVERIFY(navi->session.queries.queryUnsealedCounts.next());
        QCOMPARE(navi->session.queries.queryUnsealedCounts.value("CntUnsealing").toInt(), 2);
        Sql::exec(navi->session.queries.queryDeleteNavi,
                  {{":AID", "x1"}, {":BID_ID", "b1"}, {":LOGIN_ID", "me"}});
        QCOMPARE(Sql::scalar(navi->connection, "SELECT COUNT(*) FROM T_Navi").toInt(), 0);
        app.closeWindow();
    }

    void settingsComeBackAfterARestart()
    {
        MainWindowFixture app;
        int width = 0;
        {
            TFormNavi* navi = app.show();
            width = navi->minimumSizeHint().width() + 20;
            navi->setGeometry(150, 120, width, 500);
            navi->ActionFlgConfirm->setChecked(true);
            navi->ComboBoxLoginId->setEditText("seller-1");
            navi->setMessageFontSize(16);
            navi->bidSortColumn = 6;
            navi->bidSortType = 1;
            app.closeWindow();
        }
        TFormNavi* navi = app.show();
        QCOMPARE(navi->geometry(), QRect(150, 120, width, 500));
        QVERIFY(navi->ActionFlgConfirm->isChecked());
        QCOMPARE(navi->ComboBoxLoginId->currentText(), QString("seller-1"));
        QCOMPARE(navi->checkedMessageFontSize(), 16);
        QCOMPARE(navi->bidSortColumn, 6);
        QCOMPARE(navi->bidSortType, 1);
        app.closeWindow();
    }

    // Text pasted with line breaks into the fields kept in setting.ini lands on one line, and
    // the settings written after those fields still come back at the next start.
    void pastedLineBreaksDoNotSplitTheSettings_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("kept");
        QTest::newRow("CR") << "yamada\rtaro"
                            << "yamadataro";
        QTest::newRow("LF") << "yamada\ntaro"
                            << "yamadataro";
        QTest::newRow("CR LF") << "yamada\r\ntaro\r\n"
                               << "yamadataro";
        QTest::newRow("a section header") << "yamada\r\n[Main]\r\nFontSize=8\r\n"
                                          << "yamada[Main]FontSize=8";
    }
    void pastedLineBreaksDoNotSplitTheSettings()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, kept);
        MainWindowFixture app;
        const TestDataFolder& folder = app.folder();
        const auto fields = [](TFormNavi* navi) {
            return QList<QWidget*>{navi->PanelBidSearch->EditBidSearchName,
                                   navi->PanelBidSearch->EditBidSearchId,
                                   navi->PanelBidSearch->EditBidSearchTitle, navi->ComboBoxLoginId};
        };
        {
            TFormNavi* navi = app.start();
            navi->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(navi));
            QGuiApplication::clipboard()->setText(pasted);
            for (QWidget* field : fields(navi)) {
                field->setFocus(Qt::TabFocusReason);
                QTRY_VERIFY(QApplication::focusWidget() == field ||
                            field->isAncestorOf(QApplication::focusWidget()));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
            }
            QCOMPARE(navi->PanelBidSearch->EditBidSearchName->text(), kept);
            QCOMPARE(navi->ComboBoxLoginId->currentText(), kept);
            navi->setMessageFontSize(16);
            navi->bidSortColumn = 6;
            app.closeWindow();
        }
        QFile file(folder.filePath("setting.ini"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.split('\n').count("[Main]"), 1);
        QCOMPARE(bytes.count('\r'), 0);
        TFormNavi* navi = app.start();
        QCOMPARE(navi->PanelBidSearch->EditBidSearchName->text(), kept);
        QCOMPARE(navi->PanelBidSearch->EditBidSearchId->text(), kept);
        QCOMPARE(navi->PanelBidSearch->EditBidSearchTitle->text(), kept);
        QCOMPARE(navi->ComboBoxLoginId->currentText(), kept);
        QCOMPARE(navi->checkedMessageFontSize(), 16);
        QCOMPARE(navi->bidSortColumn, 6);
        app.closeWindow();
    }

    void maximisedCloseWritesTheNormalBounds()
    {
        MainWindowFixture app;
        const TestDataFolder& folder = app.folder();
        TFormNavi* navi = app.show();
        const int width = navi->minimumSizeHint().width() + 20;
        navi->setGeometry(150, 120, width, 500);
        navi->showMaximized();
        QTRY_VERIFY(navi->isMaximized());
        app.closeWindow();
        const IniFile ini = settings(folder);
        QCOMPARE(ini.readInteger("Main", "WindowState", -1), 2);
        QCOMPARE(ini.readInteger("Main", "Left", 0), 150);
        QCOMPARE(ini.readInteger("Main", "Top", 0), 120);
        QCOMPARE(ini.readInteger("Main", "Width", 0), width);
        QCOMPARE(ini.readInteger("Main", "Height", 0), 500);
    }

    void minimisedCloseWritesTheStateBeforeMinimising()
    {
        MainWindowFixture app;
        const TestDataFolder& folder = app.folder();
        TFormNavi* navi = app.show();
        navi->showMaximized();
        QTRY_VERIFY(navi->isMaximized());
        navi->showMinimized();
        QTRY_VERIFY(navi->isMinimized());
        app.closeWindow();
        const IniFile ini = settings(folder);
        QCOMPARE(ini.readInteger("Main", "WindowState", -1), 2);
        QCOMPARE(ini.readInteger("Main", "Width", 0), 900);
    }

    // A large setting.ini (a 10 MB line in a key the program does not own) is read once at the
    // start and written once by the close, and the foreign line comes back byte for byte.
    void closeWithALargeSettingsFileSavesItOnce()
    {
        MainWindowFixture app;
        const TestDataFolder& folder = app.folder();
        const QByteArray foreign = "Big=\x82\xa0" + QByteArray(10'000'000, 'x') + "\xff";
        {
            QFile file(folder.filePath("setting.ini"));
            QVERIFY(file.open(QIODevice::Append));
            file.write("[Foreign]\n" + foreign + "\n");
        }
        const int parsesBefore = IniFile::parseCount();
        TFormNavi* navi = app.start();
        QCOMPARE(IniFile::parseCount() - parsesBefore, 1);
        const int parses = IniFile::parseCount();
        const int saves = IniFile::saveCount();
        app.closeWindow();
        QVERIFY(IniFile::parseCount() - parses <= 1);
        QCOMPARE(IniFile::saveCount() - saves, 1);
        QFile file(folder.filePath("setting.ini"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        QVERIFY(written.contains("\n[Foreign]\n" + foreign + "\n"));
        QCOMPARE(settings(folder).readInteger("Main", "Width", 0), 900);
    }

    void databaseVersionIsWrittenBackNormalised()
    {
        MainWindowFixture app;
        const TestDataFolder& folder = app.folder();
        settings(folder).writeString("Version", "MdbVersion", "1.50");
        TFormNavi* navi = app.show();
        app.closeWindow();
        QCOMPARE(settings(folder).readString("Version", "MdbVersion", ""), QString("1.5"));
    }

    void logPaneKeepsItsHeightAcrossStarts()
    {
        MainWindowFixture app;
        const TestDataFolder& folder = app.folder();
        {
            IniFile ini = settings(folder);
            ini.writeInteger("Main", "MessageHeight", 140);
        }
        for (int start = 0; start < 2; ++start) {
            TFormNavi* navi = app.start();
            app.closeWindow();
            QCOMPARE(settings(folder).readInteger("Main", "MessageHeight", 0), 140);
        }
    }

    void bandsComeBackInTheStoredOrder()
    {
        MainWindowFixture app;
        const TestDataFolder& folder = app.folder();
        {
            IniFile ini = settings(folder);
            // Positions by band identifier: ToolBarMain 1, ToolBarNavi 2, PanelLogin 3, ToolBarFlg
            // 0.
            for (int id = 0; id < 4; ++id)
                ini.writeInteger("Main", "CoolBarIndex" + QString::number(id), (id + 1) % 4);
        }
        TFormNavi* navi = app.start();
        QTRY_VERIFY(standsBefore(navi->ToolBarFlg, navi->ToolBarMain));
        QVERIFY(standsBefore(navi->ToolBarMain, navi->ToolBarNavi));
        QVERIFY(standsBefore(navi->ToolBarNavi, navi->PanelLogin));
        app.closeWindow();
        const IniFile ini = settings(folder);
        for (int id = 0; id < 4; ++id)
            QCOMPARE(ini.readInteger("Main", "CoolBarIndex" + QString::number(id), -1),
                     (id + 1) % 4);
    }

    void bandsWrapToTheWindowWidth()
    {
        MainWindowFixture app;
        const TestDataFolder& folder = app.folder();
        TFormNavi* navi = app.start();
        QCOMPARE(navi->size(), QSize(900, 600));
        QTRY_VERIFY(bandsWhole(*navi));
        QVERIFY(bandRows(*navi) > 1);
        int total = 0;
        for (const QToolBar* band : bandsOf(*navi))
            total += band->sizeHint().width();
        // Wide enough, the bands come back into one row; narrow again, they wrap again.
        navi->resize(total + 10, 600);
        QTRY_COMPARE(bandRows(*navi), 1);
        QVERIFY(bandsWhole(*navi));
        navi->resize(900, 600);
        QTRY_VERIFY(bandRows(*navi) > 1);
        QTRY_VERIFY(bandsWhole(*navi));
        app.closeWindow();
        // Breaks made for want of room are not the seller's: none is written.
        const IniFile ini = settings(folder);
        for (int id = 0; id < 4; ++id) {
            const QString key = QString::number(id);
            QCOMPARE(ini.readInteger("Main", "CoolBarIndex" + key, -1), id);
            QVERIFY(ini.valueExists("Main", "CoolBarBreak" + key));
            QCOMPARE(ini.readBool("Main", "CoolBarBreak" + key, true), false);
        }
    }

    void storedBreakHoldsOnAWideWindow_data()
    {
        QTest::addColumn<bool>("dragged");
        QTest::newRow("break read from the settings") << false;
        QTest::newRow("break made by dragging the band") << true;
    }
    void storedBreakHoldsOnAWideWindow()
    {
        QFETCH(bool, dragged);
        MainWindowFixture app;
        const TestDataFolder& folder = app.folder();
        {
            IniFile ini = settings(folder);
            ini.writeInteger("Main", "Width", 2600);
            if (!dragged)
                ini.writeBool("Main", "CoolBarBreak2", true);
        }
        TFormNavi* navi = app.start();
        QCOMPARE(navi->width(), 2600);
        if (dragged) {
            QTRY_COMPARE(bandRows(*navi), 1);
            // What a drop of the login bar onto a row of its own leaves behind.
            navi->insertToolBarBreak(navi->PanelLogin);
            QTRY_VERIFY(standsBefore(navi->ToolBarNavi, navi->PanelLogin) &&
                        navi->PanelLogin->geometry().left() == 0);
            navi->resize(2500, 600);
        }
        // Everything would fit in one row; the login bar still starts the second.
        QTRY_COMPARE(bandRows(*navi), 2);
        QCOMPARE(navi->PanelLogin->geometry().left(), 0);
        QCOMPARE(navi->ToolBarFlg->geometry().top(), navi->PanelLogin->geometry().top());
        QVERIFY(bandsWhole(*navi));
        app.closeWindow();
        const IniFile ini = settings(folder);
        for (int id = 0; id < 4; ++id)
            QCOMPARE(ini.readBool("Main", "CoolBarBreak" + QString::number(id), false), id == 2);
    }

    void savedLoginsFillTheLoginList()
    {
        MainWindowFixture app;
        {
            Database::ScopedConnection db;
            FixtureDb::addLogin(db.db(), "alice", "pw1", true);
            FixtureDb::addLogin(db.db(), "bob", "pw2", true);
            FixtureDb::addLogin(db.db(), "alice", "other", false);
        }
        TFormNavi* navi = app.show();
        QCOMPARE(navi->ComboBoxLoginId->count(), 3);
        QCOMPARE(navi->loginControl().savedLogins.value("alice"), QString("pw1"));
        // The later row marked Main is the automatic-login account.
        QCOMPARE(navi->autoLoginId, QString("bob"));
        QCOMPARE(navi->PopupMenuLogin->actions().at(1)->text(), QString("bob&(1)"));
        app.closeWindow();
    }

    void unreadableDatabaseIsReportedOnceAndDisablesDownloads()
    {
        MainWindowFixture app;
        const TestDataFolder& folder = app.folder();
        makeDatabaseUnreadable(folder);
        const TestDialogs& dialogs = app.dialogs();
        TFormNavi* navi = app.show();
        QCOMPARE(dialogs.requests().size(), 1);
        QCOMPARE(dialogs.requests().first().kind, Dialogs::Kind::Error);
        QVERIFY(!navi->isDatabaseOpen());
        QVERIFY(!navi->ActionBidDownload->isEnabled());
        navi->AppIdle();
        navi->PageControlMainChange();
        QVERIFY(!navi->session.queries.ready);
        app.closeWindow();
        QCOMPARE(dialogs.requests().size(), 1);
    }

    void failedOpenKeepsTheAccountAndFontSize()
    {
        MainWindowFixture app;
        const TestDataFolder& folder = app.folder();
        settings(folder).writeString("Main", "LoginId", "seller-9");
        settings(folder).writeInteger("Main", "FontSize", 16);
        makeDatabaseUnreadable(folder);
        TFormNavi* navi = app.show();
        QVERIFY(!navi->isDatabaseOpen());
        QCOMPARE(navi->ComboBoxLoginId->currentText(), QString("seller-9"));
        QCOMPARE(navi->checkedMessageFontSize(), 16);
        app.closeWindow();
        const IniFile ini = settings(folder);
        QCOMPARE(ini.readString("Main", "LoginId", ""), QString("seller-9"));
        QCOMPARE(ini.readInteger("Main", "FontSize", 0), 16);
    }

    void closeThatCannotWriteTheSettingsStillEndsTheProgram()
    {
        TestDataFolder folder;
        // The program's first idle moment asks the site for the account; once that request has
        // come, nothing reads the site's hosts from the settings any more.
        FakeSite site;
        QVERIFY(site.start());
        site.useAsSite();
        SitePages::serveAccount(site, QString());
        const QString dialogLog = folder.filePath("dialogs.log");
        QProcess* program = startProgram(folder, this, dialogLog);
        QTRY_VERIFY_WITH_TIMEOUT(instanceAnswers(folder), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!site.requests().isEmpty(), 20000);
        // A folder in the file's place can be neither read nor written, by root neither.
        QVERIFY(QFile::remove(folder.filePath("setting.ini")));
        QVERIFY(QDir(folder.path()).mkdir("setting.ini"));
        ::kill(pid_t(program->processId()), SIGTERM);
        QVERIFY(program->waitForFinished(10000));
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program->exitCode(), 0);
        const QStringList boxes = fileLines(dialogLog);
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes.first().startsWith("Error\t"), qPrintable(boxes.first()));
        QVERIFY(boxes.first().contains("setting.ini"));
        // The lock is free and the next start becomes the running instance.
        {
            QLockFile lock(SingleInstance::lockFileFor(folder.path()));
            QVERIFY(lock.tryLock(0));
        }
        QVERIFY(QDir(folder.path()).rmdir("setting.ini"));
        site.useAsSite();
        QProcess* next = startProgram(folder, this, dialogLog);
        QTRY_VERIFY_WITH_TIMEOUT(instanceAnswers(folder), 20000);
        QCOMPARE(next->state(), QProcess::Running);
        ::kill(pid_t(next->processId()), SIGTERM);
        QVERIFY(next->waitForFinished(10000));
        QCOMPARE(next->exitCode(), 0);
        QCOMPARE(fileLines(dialogLog).size(), 1);
        QCOMPARE(settings(folder).readInteger("Main", "Width", 0), 900);
    }

    void windowIsPaintedBeforeTheSiteIsAsked()
    {
        MainWindowFixture app;
        FakeSite& site = app.site();
        std::atomic<bool> painted{false};
        std::atomic<bool> paintedWhenAsked{false};
        std::atomic<int> statusRequests{0};
        site.setHandler("GET", "/jp/show/mystatus", [&](const FakeSite::Request&) {
            paintedWhenAsked = painted.load();
            ++statusRequests;
            FakeSite::Response slow = SitePages::page(SitePages::statusPage("seller1"));
            slow.delayMs = 2000;
            return slow;
        });
        TFormNavi* navi = app.make();
        PaintSpy spy(navi, painted);
        app.show();
        QCOMPARE(statusRequests.load(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(navi->session.queries.ready, 15000);
        QCOMPARE(statusRequests.load(), 1);
        QVERIFY(paintedWhenAsked);
        QCOMPARE(navi->loginId, QString("seller1"));
    }

    // The first idle moment asks an account host that accepts and never answers: the window
    // keeps painting while it waits, and the stop request ends the wait; start-up goes on.
    void windowPaintsWhileTheAccountHostIsSilent()
    {
        MainWindowFixture app;
        FakeSite& site = app.site();
        silenceAccountHost(site);
        std::atomic<bool> painted{false};
        TFormNavi* navi = app.make();
        PaintSpy spy(navi->statusBar(), painted);
        bool asked = false;
        bool paintedWhileWaiting = false;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, this, [&] {
            if (site.requests().isEmpty())
                return;
            if (!asked) {
                asked = true;
                painted = false;
                navi->statusBar()->update();
            } else if (painted) {
                paintedWhileWaiting = GuiThreadWait::isActive();
                watcher.stop();
                GuiThreadWait::requestStop();
            }
        });
        watcher.start(20);
        app.show();
        QTRY_VERIFY_WITH_TIMEOUT(paintedWhileWaiting, 20000);
        QTRY_VERIFY(navi->session.queries.ready && !GuiThreadWait::isActive());
        QVERIFY(navi->loginId.isEmpty());
        QCOMPARE(int(site.requests().size()), 1);
    }

    // SIGTERM while the program waits on a silent account host: it ends promptly and in order,
    // writing its settings as a close does.
    void stopSignalEndsTheProgramWhileTheAccountHostIsSilent()
    {
        TestDataFolder folder;
        FakeSite site;
        QVERIFY(startSilentAccountHost(site));
        QProcess* program = startProgram(folder, this);
        QTRY_VERIFY_WITH_TIMEOUT(instanceAnswers(folder), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!site.requests().isEmpty(), 20000);
        QVERIFY(!settings(folder).sectionExists("Main"));
        ::kill(pid_t(program->processId()), SIGTERM);
        // Far less than the request's own time-out.
        QVERIFY(program->waitForFinished(10000));
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program->exitCode(), 0);
        QCOMPARE(settings(folder).readInteger("Main", "Width", 0), 900);
        QCOMPARE(int(site.requests().size()), 1);
    }

    // kill -9 of a first start at each step of making the database: the next start opens a
    // whole database without an error box, and nothing of the cut-short start is left.
    void firstStartKilledWhileItMakesTheDatabase_data()
    {
        QTest::addColumn<QString>("moment"); // the file whose appearance the kill follows
        QTest::newRow("the database's first file") << "Tessaly\\.db.*";
        QTest::newRow("a journal of its schema") << "Tessaly\\.db.*-journal";
        QTest::newRow("the database in its place") << "Tessaly\\.db";
        QTest::newRow("its write-ahead log") << "Tessaly\\.db-wal";
        QTest::newRow("the window answers") << QString();
    }
    void firstStartKilledWhileItMakesTheDatabase()
    {
        QFETCH(QString, moment);
        TestDataFolder folder;
        const QString dialogLog = folder.filePath("dialogs.log");
        {
            FolderWatch watch(folder.path());
            QVERIFY(watch.isValid());
            QProcess* first = startProgram(folder, this, dialogLog);
            if (moment.isEmpty())
                QTRY_VERIFY_WITH_TIMEOUT(instanceAnswers(folder), 20000);
            else
                QVERIFY(watch.waitFor(
                    QRegularExpression(QRegularExpression::anchoredPattern(moment)), 20000));
            ::kill(pid_t(first->processId()), SIGKILL);
            QVERIFY(first->waitForFinished(10000));
            QCOMPARE(first->exitStatus(), QProcess::CrashExit);
        }
        QProcess* next = startProgram(folder, this, dialogLog);
        QTRY_VERIFY_WITH_TIMEOUT(instanceAnswers(folder), 20000);
        QCOMPARE(fileLines(dialogLog), QStringList());
        ::kill(pid_t(next->processId()), SIGTERM);
        QVERIFY(next->waitForFinished(10000));
        QCOMPARE(next->exitCode(), 0);
        const QStringList left = QDir(folder.path()).entryList({"Tessaly.db*"}, QDir::Files);
        QCOMPARE(left, QStringList{"Tessaly.db"});
        Database::ScopedConnection db;
        FixtureDb::addListing(db.db(), {.aid = "x1", .bidId = "b1", .loginId = "me"});
        FixtureDb::addMessage(db.db(), {.aid = "x1", .bidId = "b1", .loginId = "me"});
        QCOMPARE(Sql::scalar(db.db(), "SELECT NaviCount FROM T_NaviCount").toInt(), 1);
    }

    // A data folder whose database holds no schema, as such a start left it on older releases.
    void databaseWithoutASchemaIsMadeAnewAtTheNextStart()
    {
        MainWindowFixture app;
        const TestDataFolder& folder = app.folder();
        {
            QFile file(folder.filePath("Tessaly.db"));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        TFormNavi* navi = app.start();
        QVERIFY(navi->isDatabaseOpen());
        QCOMPARE(app.dialogs().requests().size(), 0);
        QVERIFY(navi->ActionBidDownload->isEnabled());
        FixtureDb::addListing(navi->connection, {.aid = "x1", .bidId = "b1", .loginId = "me"});
        app.closeWindow();
        navi = app.start();
        QCOMPARE(Sql::scalar(navi->connection, "SELECT COUNT(*) FROM T_BidData").toInt(), 1);
        app.closeWindow();
    }

    // A close request from the desktop (the window's close button), and the exit command, while
    // the first idle moment waits on an account host that never answers: the wait ends at once
    // and the window closes and writes its settings, as on the stop signal.
    void closeDuringASiteWaitEndsItAndTheWindowCloses_data()
    {
        QTest::addColumn<bool>("fromTheDesktop");
        QTest::newRow("close request from the desktop") << true;
        QTest::newRow("exit command") << false;
    }
    void closeDuringASiteWaitEndsItAndTheWindowCloses()
    {
        QFETCH(bool, fromTheDesktop);
        MainWindowFixture app;
        silenceAccountHost(app.site());
        TFormNavi* navi = app.make();
        QElapsedTimer sinceClose;
        bool stillShownAfterTheRequest = false;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&] {
            if (app.site().requests().isEmpty() || !GuiThreadWait::isActive())
                return;
            closer.stop();
            sinceClose.start();
            if (fromTheDesktop) {
                // As the window system hands it over.
                QCloseEvent request;
                QSpontaneKeyEvent::setSpontaneous(&request);
                QApplication::instance()->notify(navi, &request);
                stillShownAfterTheRequest = navi->isVisible();
            } else {
                navi->action("MainMenuExit")->trigger();
            }
        });
        closer.start(20);
        app.show();
        QTRY_VERIFY_WITH_TIMEOUT(
            sinceClose.isValid() && !GuiThreadWait::isActive() && !navi->isVisible(), 60000);
        QVERIFY2(sinceClose.elapsed() < 2000, "the close was held by the site");
        if (fromTheDesktop)
            QVERIFY(stillShownAfterTheRequest); // closed once the wait has returned
        QCOMPARE(settings(app.folder()).readInteger("Main", "Width", 0), 900);
        QVERIFY(navi->loginId.isEmpty());
        QCOMPARE(int(app.site().requests().size()), 1);
    }

    // Keys typed and a shortcut pressed in a window while the GUI thread waits for the site reach
    // the window only once the operation that waited has returned, in the order they came.
    void userInputDuringASiteWaitRunsAfterItInOrder()
    {
        TestDataFolder folder;
        FakeSite site;
        QVERIFY(site.start());
        FakeSite::Response slowish = SitePages::page(QStringLiteral("answer"));
        slowish.delayMs = 300;
        site.setRoute("GET", "/slowish", slowish);
        QLineEdit window;
        QStringList arrived;
        connect(&window, &QLineEdit::textEdited, this,
                [&](const QString& text) { arrived << text.right(1); });
        QAction command(&window);
        command.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
        window.addAction(&command);
        connect(&command, &QAction::triggered, this, [&] { arrived << "command"; });
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        bool typedInTheWait = false;
        QTimer::singleShot(0, this, [&] {
            typedInTheWait = GuiThreadWait::isActive();
            // As the window system hands them over: to the window, not to the widget.
            QTest::keyClick(window.windowHandle(), Qt::Key_A);
            QTest::keyClick(window.windowHandle(), Qt::Key_K, Qt::ControlModifier);
            QTest::keyClick(window.windowHandle(), Qt::Key_B);
        });
        html client;
        client.get(site.httpUrl("/slowish"));
        QVERIFY(client.response().contains("answer"));
        QVERIFY(typedInTheWait);
        QVERIFY(arrived.isEmpty());
        QTRY_COMPARE(arrived, QStringList({"a", "command", "b"}));
        QCOMPARE(window.text(), QString("ab"));
    }

    // The real program on an X server: the window manager's close of the main window while the
    // first idle moment waits on an account host that never answers ends the program at once,
    // in order, as the stop signal does.
    void windowManagersCloseEndsTheProgramWhileTheAccountHostIsSilent()
    {
        X11Desktop desktop;
        QVERIFY2(desktop.start(), "Xvfb did not start");
        TestDataFolder folder;
        FakeSite site;
        QVERIFY(startSilentAccountHost(site));
        QProcess* program =
            startProgram(folder, this, QString(), TESSALY_PROGRAM_PATH, desktop.display());
        QTRY_VERIFY_WITH_TIMEOUT(!site.requests().isEmpty(), 20000);
        std::uint32_t window = 0;
        QTRY_VERIFY_WITH_TIMEOUT((window = desktop.shownWindowOf(program->processId())) != 0,
                                 10000);
        QVERIFY(!settings(folder).sectionExists("Main"));
        desktop.requestClose(window);
        QTRY_VERIFY_WITH_TIMEOUT(program->state() == QProcess::NotRunning, 2000);
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program->exitCode(), 0);
        QCOMPARE(settings(folder).readInteger("Main", "Width", 0), 900);
        QCOMPARE(int(site.requests().size()), 1);
    }

    // The stop signal and the exit command while a post waits on a page that never completes:
    // the program ends at once, in order, without a box, and nothing of the post is stored.
    void postEndsWithTheProgram_data()
    {
        QTest::addColumn<QString>("post");
        QTest::addColumn<bool>("stopSignal");
        QTest::newRow("feedback, stop signal") << "feedback" << true;
        QTest::newRow("feedback, exit command") << "feedback" << false;
        QTest::newRow("message, stop signal") << "message" << true;
        QTest::newRow("message, exit command") << "message" << false;
    }
    void postEndsWithTheProgram()
    {
        QFETCH(QString, post);
        QFETCH(bool, stopSignal);
        const QString seller = QStringLiteral("seller");
        const QString aid = QStringLiteral("a100");
        const QString buyer = QStringLiteral("buyer01");
        TestDataFolder folder;
        FakeSite site;
        QVERIFY(site.start());
        NaviBoardSite boards(site, seller);
        boards.useAsSite();
        FeedbackSite feedback(site);
        feedback.setFormDelay(120000);
        NaviPostSite messages(site, boards, seller);
        messages.setBoard(aid, buyer, {});
        messages.setContactDelay(120000);
        {
            const QString name = Database::uniqueConnectionName(QStringLiteral("fixture"));
            QSqlDatabase db = Database::open(name);
            FixtureDb::addListing(db, {.aid = aid,
                                       .bidId = buyer,
                                       .loginId = seller,
                                       .extra = {{"Url", feedback.listingUrl(12, aid)}}});
            db = QSqlDatabase();
            Database::close(name);
        }
        const QString dialogLog = folder.filePath("dialogs.log");
        QProcess* program = startProgram(folder, this, dialogLog, TESSALY_POST_PROGRAM_PATH,
                                         QString(), {post});
        // A program that did not end is not left running after the test.
        const auto cleanup = qScopeGuard([program] {
            program->kill();
            program->waitForFinished();
        });
        const auto pageAsked = [&] {
            return post == "feedback" ? !feedback.hits(FeedbackSite::formPath).isEmpty()
                                      : !messages.contactRequests().isEmpty();
        };
        QTRY_VERIFY_WITH_TIMEOUT(pageAsked(), 30000);
        QVERIFY(!settings(folder).sectionExists("Main"));
        if (stopSignal)
            ::kill(pid_t(program->processId()), SIGTERM);
        else
            program->write("exit\n");
        QTRY_VERIFY_WITH_TIMEOUT(program->state() == QProcess::NotRunning, 2000);
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program->exitCode(), 0);
        QCOMPARE(settings(folder).readInteger("Main", "Width", 0), 900);
        // No box waited for an answer, and the post went no further than its first page.
        QCOMPARE(fileLines(dialogLog), QStringList());
        QCOMPARE(feedback.hits().size(), post == "feedback" ? 1 : 0);
        QCOMPARE(messages.contactRequests().size(), post == "message" ? 1 : 0);
        QVERIFY(messages.posts().isEmpty());
        const QString name = Database::uniqueConnectionName(QStringLiteral("check"));
        {
            QSqlDatabase db = Database::open(name);
            QCOMPARE(Sql::scalar(db, "SELECT FirstFlg || EvaluationFlg FROM T_BidData").toString(),
                     QString());
            QCOMPARE(Sql::scalar(db, "SELECT COUNT(*) FROM T_Navi").toInt(), 0);
        }
        Database::close(name);
    }

    void dataFolderWithBlanksAndJapanese()
    {
        MainWindowFixture app("テサリー の データ");
        const TestDataFolder& folder = app.folder();
        TFormNavi* navi = app.show();
        QVERIFY(navi->isDatabaseOpen());
        app.closeWindow();
        QVERIFY(QFile::exists(folder.filePath("Tessaly.db")));
        QCOMPARE(settings(folder).readInteger("Main", "Left", 0), 100);
    }

    void closingWindowCutsItsChildrenOffFirst_data()
    {
        QTest::addColumn<bool>("detach");
        QTest::addColumn<int>("lateCalls");
        QTest::newRow("detached") << true << 0;
        QTest::newRow("left connected") << false << 1;
    }

    void closingWindowCutsItsChildrenOffFirst()
    {
        QFETCH(bool, detach);
        QFETCH(int, lateCalls);
        LateCalls late;
        auto window = std::make_unique<ChattyWindow>(late, detach);
        window->child->setObjectName("alive");
        QEvent before(QEvent::User);
        QCoreApplication::sendEvent(window->child, &before);
        QCOMPARE(late.signalled, 1);
        QCOMPARE(late.filtered, 1);
        window.reset();
        QCOMPARE(late.signalled, 1 + lateCalls);
        QCOMPARE(late.filtered, 1 + lateCalls);
    }

    void secondStartRaisesTheRunningInstance()
    {
        TestDataFolder folder;
        QProcess* first = startProgram(folder, this);
        QTRY_VERIFY_WITH_TIMEOUT(instanceAnswers(folder), 20000);
        QCOMPARE(fileMode(SingleInstance::lockFileFor(folder.path())), 0600);
        QProcess* second = startProgram(folder, this);
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(first->state(), QProcess::Running);
        ::kill(pid_t(first->processId()), SIGTERM);
        QVERIFY(first->waitForFinished(10000));
        QCOMPARE(first->exitStatus(), QProcess::NormalExit);
        QCOMPARE(first->exitCode(), 0);
        QCOMPARE(settings(folder).readInteger("Main", "Width", 0), 900);

        // The raise reaches the window: a running program, wired as the program wires it, has
        // its minimised window brought back by a second start.
        MainWindowFixture app;
        TFormNavi* navi = app.startProgram();
        SingleInstance running(app.folder().path());
        QCOMPARE(running.acquire(), SingleInstance::Outcome::First);
        FormMain->answerSecondStarts(running);
        QSignalSpy raised(&running, &SingleInstance::raiseRequested);
        navi->showMinimized();
        QTRY_VERIFY(navi->isMinimized());
        QProcess* again = startProgram(app.folder(), this);
        QVERIFY(again->waitForFinished(10000));
        QCOMPARE(again->exitCode(), 0);
        QTRY_VERIFY(!navi->isMinimized());
        QVERIFY(navi->isVisible());
        QCOMPARE(raised.count(), 1);
    }

    void lockFileIsOwnerOnlyWhileHeld()
    {
        TestDataFolder folder;
        SingleInstance instance(folder.path());
        QCOMPARE(instance.acquire(), SingleInstance::Outcome::First);
        QCOMPARE(fileMode(SingleInstance::lockFileFor(folder.path())), 0600);
    }

    // The lock is held, and no window answers within the second start's wait: it says so in a
    // box.
    void secondStartWhileTheFirstHasNoWindowEndsWithOne()
    {
        TestDataFolder folder;
        QLockFile held(SingleInstance::lockFileFor(folder.path()));
        QVERIFY(held.tryLock(0));
        QTemporaryDir logs;
        const QString dialogLog = logs.filePath("dialogs.log");
        QProcess* second = startProgram(folder, this, dialogLog);
        // It ends with 1, after one error box naming the data folder.
        verifyRefusedWithABox(second, dialogLog, folder.path());
        QVERIFY(!QFile::exists(folder.filePath("Tessaly.db")));
    }

    // The name a second start looks for lies in the owner-only data folder and nowhere else,
    // whatever the environment, and it is reached whatever the data folder path's length: an
    // instance started with the row's environment is raised by a start without any of it.
    void instanceNameLiesWhereOnlyTheUserCanMakeIt_data()
    {
        QTest::addColumn<int>("runtimeMode"); // the runtime folder's permissions; -1: none set
        QTest::addColumn<bool>("longDataFolder");
        QTest::newRow("no runtime folder") << -1 << false;
        QTest::newRow("the user's runtime folder") << 0700 << false;
        QTest::newRow("a runtime folder others may enter") << 0755 << false;
        QTest::newRow("a data folder too long for a socket name") << -1 << true;
        QTest::newRow("too long, with a runtime folder") << 0700 << true;
    }
    void instanceNameLiesWhereOnlyTheUserCanMakeIt()
    {
        QFETCH(int, runtimeMode);
        QFETCH(bool, longDataFolder);
        QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        const QByteArray runtimePath = QFile::encodeName(runtime.path());
        if (runtimeMode >= 0)
            QVERIFY(::chmod(runtimePath.constData(), mode_t(runtimeMode)) == 0);
        TestDataFolder folder(longDataFolder ? QString(150, 'd') : QString());
        const QString dataFolder = DataFolder::path();
        QTemporaryDir otherTemp;
        QVERIFY(otherTemp.isValid());

        const QString name = SingleInstance::serverNameFor(dataFolder);
        QCOMPARE(name, dataFolder + "/Tessaly.socket");
        struct stat info;
        QVERIFY(::lstat(QFile::encodeName(dataFolder).constData(), &info) == 0);
        QVERIFY(S_ISDIR(info.st_mode));
        QCOMPARE(info.st_uid, ::geteuid());
        QCOMPARE(int(info.st_mode & 077), 0);

        auto running = std::make_unique<SingleInstance>(dataFolder);
        {
            EnvironmentOverride runtimeFolder("XDG_RUNTIME_DIR",
                                              runtimeMode < 0 ? QByteArray() : runtimePath);
            QCOMPARE(running->acquire(), SingleInstance::Outcome::First);
            QVERIFY(running->listen());
        }
        QVERIFY(::lstat(QFile::encodeName(name).constData(), &info) == 0);
        QVERIFY(S_ISSOCK(info.st_mode));
        QVERIFY(
            QDir(runtime.path())
                .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot)
                .isEmpty());
        QSignalSpy raised(running.get(), &SingleInstance::raiseRequested);
        {
            EnvironmentOverride noRuntimeFolder("XDG_RUNTIME_DIR", QByteArray());
            EnvironmentOverride temporaryFolder("TMPDIR", QFile::encodeName(otherTemp.path()));
            SingleInstance second(dataFolder);
            QVERIFY(QFile::encodeName(InstanceAddress(dataFolder).name()).size() < 108);
            QCOMPARE(second.acquire(), SingleInstance::Outcome::RaisedOther);
        }
        QVERIFY(raised.wait());
    }

    // The real program: a second start on the same data folder raises the running one and ends
    // with 0, whatever the runtime and temporary folders of either start.
    void secondStartReachesTheRunningInstanceWhateverItsEnvironment_data()
    {
        // "NAME=value" sets, "NAME" removes; @a and @b stand for two owner-only folders.
        QTest::addColumn<QStringList>("firstEnvironment");
        QTest::addColumn<QStringList>("secondEnvironment");
        QTest::addColumn<bool>("longDataFolder");
        QTest::newRow("the second without a runtime folder")
            << QStringList{"XDG_RUNTIME_DIR=@a"} << QStringList{"XDG_RUNTIME_DIR"} << false;
        QTest::newRow("the first without a runtime folder")
            << QStringList{"XDG_RUNTIME_DIR"} << QStringList{"XDG_RUNTIME_DIR=@a"} << false;
        QTest::newRow("two runtime folders")
            << QStringList{"XDG_RUNTIME_DIR=@a"} << QStringList{"XDG_RUNTIME_DIR=@b"} << false;
        QTest::newRow("a long data folder, the second without a runtime folder")
            << QStringList{"XDG_RUNTIME_DIR=@a"} << QStringList{"XDG_RUNTIME_DIR"} << true;
        QTest::newRow("a long data folder, another temporary folder")
            << QStringList{"XDG_RUNTIME_DIR", "TMPDIR"}
            << QStringList{"XDG_RUNTIME_DIR", "TMPDIR=@b"} << true;
    }
    void secondStartReachesTheRunningInstanceWhateverItsEnvironment()
    {
        QFETCH(QStringList, firstEnvironment);
        QFETCH(QStringList, secondEnvironment);
        QFETCH(bool, longDataFolder);
        QTemporaryDir a;
        QTemporaryDir b;
        QVERIFY(a.isValid() && b.isValid());
        for (QStringList* environment : {&firstEnvironment, &secondEnvironment})
            for (QString& setting : *environment)
                setting.replace("@a", a.path()).replace("@b", b.path());
        TestDataFolder folder(longDataFolder ? QString(150, 'd') : QString());
        FakeSite site;
        QVERIFY(startSilentAccountHost(site));
        const QString dialogLog = a.filePath("dialogs.log");
        QProcess* first = startProgram(folder, this, dialogLog, TESSALY_PROGRAM_PATH, QString(), {},
                                       firstEnvironment);
        // The window asks the site once it has been drawn, after it opened its name.
        QTRY_VERIFY_WITH_TIMEOUT(!site.requests().isEmpty(), 20000);
        QProcess* second = startProgram(folder, this, dialogLog, TESSALY_PROGRAM_PATH, QString(),
                                        {}, secondEnvironment);
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(first->state(), QProcess::Running);
        endInOrder(first);
        QCOMPARE(fileLines(dialogLog), QStringList());
    }

    // A running program that could not open its name (something else stands in its place):
    // a second start says in a box that it cannot reach it, and ends with 1.
    void secondStartSaysWhyItCannotReachTheRunningInstance()
    {
        TestDataFolder folder;
        QVERIFY(QDir(folder.path()).mkdir("Tessaly.socket"));
        FakeSite site;
        QVERIFY(startSilentAccountHost(site));
        QTemporaryDir logs;
        const QStringList noRuntimeFolder{"XDG_RUNTIME_DIR"};
        QProcess* first = startProgram(folder, this, logs.filePath("first.log"),
                                       TESSALY_PROGRAM_PATH, QString(), {}, noRuntimeFolder);
        // The window asks the site once it has been drawn, after it tried to open its name.
        QTRY_VERIFY_WITH_TIMEOUT(!site.requests().isEmpty(), 20000);
        const QString dialogLog = logs.filePath("second.log");
        QProcess* second = startProgram(folder, this, dialogLog, TESSALY_PROGRAM_PATH, QString(),
                                        {}, noRuntimeFolder);
        verifyRefusedWithABox(second, dialogLog, SingleInstance::serverNameFor(folder.path()));
        QVERIFY2(fileLines(dialogLog).first().contains(QString::number(first->processId())),
                 qPrintable(fileLines(dialogLog).first()));
        QCOMPARE(first->state(), QProcess::Running);
        endInOrder(first);
        QCOMPARE(fileLines(logs.filePath("first.log")), QStringList());
    }

    // Another account that listens on the name first is not taken for the running program: this
    // start becomes the running instance, and a later start raises it.
    void listenerOfAnotherAccountIsNotTheRunningInstance()
    {
        TestDataFolder folder;
        OtherUserListener stranger(SingleInstance::serverNameFor(folder.path()));
        if (!stranger.isListening())
            QSKIP("only root can listen as another account");
        becomesTheRunningInstance(folder.path());
    }

    void programStartsPastAListenerOfAnotherAccount()
    {
        TestDataFolder folder;
        OtherUserListener stranger(SingleInstance::serverNameFor(folder.path()));
        if (!stranger.isListening())
            QSKIP("only root can listen as another account");
        QProcess* program = startProgram(folder, this);
        QTRY_VERIFY_WITH_TIMEOUT(
            instanceAnswers(folder) || program->state() == QProcess::NotRunning, 20000);
        QCOMPARE(program->state(), QProcess::Running);
        endInOrder(program);
        QCOMPARE(settings(folder).readInteger("Main", "Width", 0), 900);
    }

    // A data folder that is not the user's own, or that holds a link in place of one of the
    // program's files, is refused with a box naming it, and nothing in it is written. The
    // user's own folder that others may only read is used and made owner-only, as always.
    void refusesADataFolderNotTheUsersOwn_data()
    {
        QTest::addColumn<int>("mode");          // the folder's permissions
        QTest::addColumn<bool>("otherAccount"); // the folder given to another account
        QTest::addColumn<QString>("linked");    // a file replaced by a link to one elsewhere
        QTest::addColumn<bool>("refused");
        QTest::newRow("owner-only") << 0700 << false << QString() << false;
        QTest::newRow("others may read") << 0755 << false << QString() << false;
        QTest::newRow("the group may write") << 0770 << false << QString() << true;
        QTest::newRow("others may write") << 0777 << false << QString() << true;
        QTest::newRow("another account's folder") << 0700 << true << QString() << true;
        QTest::newRow("setting.ini is a link") << 0700 << false << "setting.ini" << true;
        QTest::newRow("cookies.txt is a link") << 0700 << false << "cookies.txt" << true;
        QTest::newRow("the database is a link") << 0700 << false << "Tessaly.db" << true;
        QTest::newRow("the database's log is a link") << 0700 << false << "Tessaly.db-wal" << true;
        QTest::newRow("the lock file is a link") << 0700 << false << "Tessaly.lock" << true;
    }
    void refusesADataFolderNotTheUsersOwn()
    {
        QFETCH(int, mode);
        QFETCH(bool, otherAccount);
        QFETCH(QString, linked);
        QFETCH(bool, refused);
        if (otherAccount && ::geteuid() != 0)
            QSKIP("only root can give a folder to another account");
        TestDataFolder folder;
        QTemporaryDir elsewhere;
        QVERIFY(elsewhere.isValid());
        const QString target = elsewhere.filePath("target");
        if (!linked.isEmpty()) {
            // The target holds what the file would: the settings keep every host local.
            const QString path = folder.filePath(linked);
            writeFile(target, QFile::exists(path) ? fileBytes(path) : QByteArray("planted\n"));
            QFile::remove(path);
            QVERIFY(QFile::link(target, path));
        }
        const QByteArray folderPath = QFile::encodeName(folder.path());
        QVERIFY(::chmod(folderPath.constData(), mode_t(mode)) == 0);
        if (otherAccount)
            QVERIFY(::chown(folderPath.constData(), OtherUserListener::nobody,
                            OtherUserListener::nobody) == 0);
        const QStringList before = folderState(folder.path());
        const QByteArray targetBefore = fileBytes(target);
        const QString dialogLog = elsewhere.filePath("dialogs.log");
        QProcess* program = startProgram(folder, this, dialogLog);
        if (refused) {
            verifyRefusedWithABox(program, dialogLog, folder.path());
            QCOMPARE(folderState(folder.path()), before);
            QCOMPARE(fileBytes(target), targetBefore);
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(instanceAnswers(folder), 20000);
        QCOMPARE(fileMode(folder.path()), 0700);
        endInOrder(program);
        QCOMPARE(settings(folder).readInteger("Main", "Width", 0), 900);
        QVERIFY(fileLines(dialogLog).isEmpty());
    }

    // A folder above the data folder that another account could change is refused as the data
    // folder itself is, with a box naming it, and nothing is written; a sticky folder that all
    // may write in, as the temporary folder, is not.
    void refusesADataFolderBelowAFolderOthersMayChange_data()
    {
        QTest::addColumn<int>("topMode");       // the folder two levels above the data folder
        QTest::addColumn<int>("aboveMode");     // the folder just above it
        QTest::addColumn<bool>("otherAccount"); // the folder just above given to another account
        QTest::addColumn<bool>("missing");      // the data folder is not made yet
        QTest::addColumn<bool>("refused");
        QTest::newRow("folders of the user's own") << 0755 << 0755 << false << false << false;
        QTest::newRow("a sticky folder all may write in")
            << 0755 << 01777 << false << false << false;
        QTest::newRow("a folder above others may write in")
            << 0755 << 0777 << false << false << true;
        QTest::newRow("a folder above its group may write in")
            << 0755 << 0775 << false << false << true;
        QTest::newRow("a folder further up others may write in")
            << 0777 << 0755 << false << false << true;
        QTest::newRow("a folder above of another account") << 0755 << 0755 << true << false << true;
        QTest::newRow("a missing data folder below a folder others may write in")
            << 0755 << 0777 << false << true << true;
    }
    void refusesADataFolderBelowAFolderOthersMayChange()
    {
        QFETCH(int, topMode);
        QFETCH(int, aboveMode);
        QFETCH(bool, otherAccount);
        QFETCH(bool, missing);
        QFETCH(bool, refused);
        if (otherAccount && ::geteuid() != 0)
            QSKIP("only root can give a folder to another account");
        QTemporaryDir base;
        QVERIFY(base.isValid());
        const QString top = QFileInfo(base.path()).canonicalFilePath() + "/top";
        const QString above = top + "/above";
        const QString data = above + "/Tessaly";
        QVERIFY(QDir().mkpath(above));
        if (!missing) {
            QVERIFY(QDir().mkdir(data));
            QVERIFY(::chmod(QFile::encodeName(data).constData(), 0700) == 0);
            TestDataFolder::closeSiteHosts(data);
        }
        QVERIFY(::chmod(QFile::encodeName(top).constData(), mode_t(topMode)) == 0);
        QVERIFY(::chmod(QFile::encodeName(above).constData(), mode_t(aboveMode)) == 0);
        if (otherAccount)
            QVERIFY(::chown(QFile::encodeName(above).constData(), OtherUserListener::nobody,
                            OtherUserListener::nobody) == 0);
        const QStringList before = folderState(above);
        const QString dialogLog = base.filePath("dialogs.log");
        QProcess* program = startProgramIn(data, this, dialogLog);
        if (refused) {
            verifyRefusedWithABox(program, dialogLog, data);
            QCOMPARE(folderState(above), before);
            if (!missing)
                QCOMPARE(folderState(data).size(), 2);
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(instanceAnswers(data), 20000);
        endInOrder(program);
        QCOMPARE(IniFile(data + "/setting.ini").readInteger("Main", "Width", 0), 900);
        QCOMPARE(fileLines(dialogLog), QStringList());
    }

    // The data folder is reached through a link in a folder others may write in: the program
    // resolves it at start and keeps to the folder it found, even when the link is changed
    // while it runs.
    void dataFolderStaysWhereTheStartFoundIt()
    {
        QTemporaryDir base;
        QVERIFY(base.isValid());
        const QDir dir(QFileInfo(base.path()).canonicalFilePath());
        QVERIFY(dir.mkdir("open") && dir.mkdir("real") && dir.mkdir("decoy"));
        QVERIFY(::chmod(QFile::encodeName(dir.filePath("open")).constData(), 0777) == 0);
        for (const char* name : {"real", "decoy"}) {
            QVERIFY(::chmod(QFile::encodeName(dir.filePath(name)).constData(), 0700) == 0);
            TestDataFolder::closeSiteHosts(dir.filePath(name));
        }
        const QString link = dir.filePath("open/Tessaly");
        QVERIFY(QFile::link(dir.filePath("real"), link));
        const QString dialogLog = dir.filePath("dialogs.log");
        QProcess* program = startProgramIn(link, this, dialogLog, TESSALY_PROGRAM_PATH, QString(),
                                           {}, {"XDG_RUNTIME_DIR"});
        QTRY_VERIFY_WITH_TIMEOUT(instanceAnswers(dir.filePath("real")), 20000);
        QVERIFY(QFile::remove(link));
        QVERIFY(QFile::link(dir.filePath("decoy"), link));
        endInOrder(program);
        QCOMPARE(IniFile(dir.filePath("real/setting.ini")).readInteger("Main", "Width", 0), 900);
        QVERIFY(!IniFile(dir.filePath("decoy/setting.ini")).sectionExists("Main"));
        QCOMPARE(QDir(dir.filePath("decoy")).entryList(QDir::Files), QStringList{"setting.ini"});
        QCOMPARE(fileLines(dialogLog), QStringList());
    }

    // A data folder that does not exist yet is made owner-only, its missing parents too.
    void missingDataFolderIsMadeOwnerOnly()
    {
        TestDataFolder base;
        const QString wanted = base.filePath("a/b/Tessaly");
        EnvironmentOverride home("TESSALY_HOME", QFile::encodeName(wanted));
        QCOMPARE(DataFolder::path(), wanted);
        QCOMPARE(fileMode(wanted), 0700);
        QCOMPARE(DataFolderGuard::refusal(wanted), QString());
    }

    // What a save cut short leaves beside setting.ini and cookies.txt goes at start; names the
    // writer does not make, and what is not a file, stay.
    void removesStaleTemporariesOfItsOwnWriter_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<char>("kind"); // 'f' a file, 'l' a link, 'd' a folder
        QTest::addColumn<bool>("removed");
        QTest::newRow("settings temporary") << "setting.ini.AbCdEf" << 'f' << true;
        QTest::newRow("capitals only") << "setting.ini.QWERTY" << 'f' << true;
        QTest::newRow("cookies temporary") << "cookies.txt.xYzwvq" << 'f' << true;
        QTest::newRow("a temporary that is a link") << "setting.ini.LnKabc" << 'l' << true;
        QTest::newRow("a folder of that name") << "setting.ini.DirAbc" << 'd' << false;
        QTest::newRow("a word the seller chose") << "setting.ini.backup" << 'f' << false;
        QTest::newRow("five letters") << "setting.ini.AbCdE" << 'f' << false;
        QTest::newRow("seven letters") << "setting.ini.AbCdEfG" << 'f' << false;
        QTest::newRow("a digit") << "setting.ini.AbC1Ef" << 'f' << false;
        QTest::newRow("no dot") << "setting.iniAAbCdEf" << 'f' << false;
        QTest::newRow("another file's name") << "Tessaly.db.AbCdEf" << 'f' << false;
        QTest::newRow("the settings themselves") << "setting.ini" << 'f' << false;
    }
    void removesStaleTemporariesOfItsOwnWriter()
    {
        QFETCH(QString, name);
        QFETCH(char, kind);
        QFETCH(bool, removed);
        TestDataFolder folder;
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath("target");
        writeFile(target, "kept\n");
        const QString path = folder.filePath(name);
        if (kind == 'f' && name != "setting.ini")
            writeFile(path, "half a save\n");
        else if (kind == 'l')
            QVERIFY(QFile::link(target, path));
        else if (kind == 'd')
            QVERIFY(QDir(folder.path()).mkdir(name));
        DataFolderGuard::removeStaleTemporaries(folder.path());
        QCOMPARE(QFileInfo(path).exists() || QFileInfo(path).isSymLink(), !removed);
        QCOMPARE(fileBytes(target), QByteArray("kept\n"));
        QVERIFY(QFile::exists(folder.filePath("setting.ini")));
    }

    void startRemovesStaleTemporaries()
    {
        TestDataFolder folder;
        writeFile(folder.filePath("setting.ini.AbCdEf"), "half a save\n");
        writeFile(folder.filePath("setting.ini.backup"), "the seller's own\n");
        QProcess* program = startProgram(folder, this);
        QTRY_VERIFY_WITH_TIMEOUT(instanceAnswers(folder), 20000);
        QVERIFY(!QFile::exists(folder.filePath("setting.ini.AbCdEf")));
        QCOMPARE(fileBytes(folder.filePath("setting.ini.backup")),
                 QByteArray("the seller's own\n"));
        endInOrder(program);
    }

    // A lock file that cannot be written (the disk is full) is said in an error box, not taken
    // for another instance that is starting.
    void lockThatCannotBeWrittenIsReported()
    {
        SmallFileSystem disk(64);
        if (!disk.isMounted())
            QSKIP("no small file system can be mounted here");
        {
            IniFile ini(disk.filePath("setting.ini"));
            for (const char* key : {"LoginHost", "PortalHost", "AccountHost", "ClosedListHost",
                                    "ItemHost", "ProfileHost", "WebServiceHost", "UpdateHost"})
                ini.writeString("Site", key, "127.0.0.1:9");
        }
        fillFileSystem(disk.path());
        QTemporaryDir elsewhere;
        const QString dialogLog = elsewhere.filePath("dialogs.log");
        QProcess* program = startProgramIn(disk.path(), this, dialogLog);
        verifyRefusedWithABox(program, dialogLog, SingleInstance::lockFileFor(disk.path()));
        QVERIFY(!QFile::exists(SingleInstance::lockFileFor(disk.path())));
        QVERIFY(!QFile::exists(disk.filePath("Tessaly.db")));
    }

    // The terminal or the session going away, and Ctrl+C, end the program as SIGTERM does. A
    // stop signal while a start-up box is shown (here on an X server, where the box really
    // waits) ends the box, and the window then closes in order.
    void hangUpAndInterruptEndTheProgramInOrder_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("whileABoxIsShown");
        QTest::newRow("hang-up") << int(SIGHUP) << false;
        QTest::newRow("interrupt") << int(SIGINT) << false;
        QTest::newRow("terminate while a start-up box is shown") << int(SIGTERM) << true;
        QTest::newRow("hang-up while a start-up box is shown") << int(SIGHUP) << true;
    }
    void hangUpAndInterruptEndTheProgramInOrder()
    {
        QFETCH(int, signalNumber);
        QFETCH(bool, whileABoxIsShown);
        TestDataFolder folder;
        if (whileABoxIsShown) {
            X11Desktop desktop;
            QVERIFY2(desktop.start(), "Xvfb did not start");
            makeDatabaseUnreadable(folder);
            QProcess* program =
                startProgram(folder, this, QString(), TESSALY_PROGRAM_PATH, desktop.display());
            // The main window and the box over it that tells the database cannot be read.
            QTRY_VERIFY_WITH_TIMEOUT(desktop.shownWindowsOf(program->processId()).size() == 2,
                                     20000);
            endInOrder(program, signalNumber);
            QCOMPARE(settings(folder).readInteger("Main", "Width", 0), 900);
            return;
        }
        FakeSite site;
        QVERIFY(startSilentAccountHost(site));
        QProcess* program = startProgram(folder, this);
        QTRY_VERIFY_WITH_TIMEOUT(instanceAnswers(folder), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!site.requests().isEmpty(), 20000);
        endInOrder(program, signalNumber);
        QCOMPARE(settings(folder).readInteger("Main", "Width", 0), 900);
    }

    // SIGTERM while the program is still opening its database (held here by another
    // connection's write): the open finishes, the window closes in order and writes its
    // settings, and the database stays whole.
    void stopSignalWhileTheDatabaseOpensEndsTheProgramInOrder()
    {
        TestDataFolder folder;
        {
            Database::ScopedConnection db;
            FixtureDb::addListing(db.db(), {.aid = "x1", .bidId = "b1", .loginId = "me"});
        }
        const QString holderName = Database::uniqueConnectionName("holder");
        {
            QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", holderName);
            holder.setDatabaseName(Database::filePath());
            QVERIFY(holder.open());
            QSqlQuery hold(holder);
            // Out of WAL, a write transaction keeps every other connection out of the file.
            QVERIFY(hold.exec("PRAGMA journal_mode=DELETE"));
            QVERIFY(hold.exec("BEGIN EXCLUSIVE"));
            QVERIFY(hold.exec("UPDATE T_BidData SET Remarks='held'"));
            const QString dialogLog = folder.filePath("dialogs.log");
            QProcess* program = startProgram(folder, this, dialogLog);
            QTRY_VERIFY_WITH_TIMEOUT(hasFileOpen(program->processId(), Database::filePath()),
                                     20000);
            ::kill(pid_t(program->processId()), SIGTERM);
            QVERIFY(hold.exec("COMMIT"));
            hold.finish();
            holder.close();

            QVERIFY(program->waitForFinished(20000));
            QCOMPARE(program->exitStatus(), QProcess::NormalExit);
            QCOMPARE(program->exitCode(), 0);
            QCOMPARE(settings(folder).readInteger("Main", "Width", 0), 900);
            QCOMPARE(fileLines(dialogLog), QStringList());
        }
        QSqlDatabase::removeDatabase(holderName);
        Database::ScopedConnection db;
        QCOMPARE(Sql::scalar(db.db(), "SELECT Remarks FROM T_BidData WHERE Aid='x1'").toString(),
                 QString("held"));
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
