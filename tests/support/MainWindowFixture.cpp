#include "MainWindowFixture.h"

#include "app/UnitMain.h"
#include "app/UnitNavi.h"
#include "platform/GuiThreadWait.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QTest>

MainWindowFixture::MainWindowFixture(const QString& subfolder) : m_folder(subfolder) {}

MainWindowFixture::~MainWindowFixture()
{
    closeWindow();
}

void MainWindowFixture::closeWindow()
{
    if (m_navi)
        m_navi->close();
    m_ownNavi.reset();
    m_main.reset();
    m_navi = nullptr;
    // Side windows that closed with the window go before the folder they read.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The close ended that run of the program; the test goes on as a new one.
    GuiThreadWait::clearStop();
}

FakeSite& MainWindowFixture::site()
{
    if (!m_site) {
        m_site = std::make_unique<FakeSite>();
        if (!m_site->start())
            QTest::qFail("the fake site did not start", __FILE__, __LINE__);
        m_site->useAsSite();
    }
    return *m_site;
}

NaviBoardSite& MainWindowFixture::serveBoards(const QString& loginId)
{
    m_boards = std::make_unique<NaviBoardSite>(site(), loginId);
    m_boards->useAsSite();
    return *m_boards;
}

UpdateSite& MainWindowFixture::updateServer()
{
    if (!m_updateServer) {
        m_updateServer = std::make_unique<UpdateSite>();
        if (!m_updateServer->start())
            QTest::qFail("the update server did not start", __FILE__, __LINE__);
        m_updateServer->useAsUpdateServer();
    }
    return *m_updateServer;
}

TFormNavi* MainWindowFixture::make()
{
    closeWindow();
    m_ownNavi = std::make_unique<TFormNavi>();
    m_navi = m_ownNavi.get();
    return m_navi;
}

TFormNavi* MainWindowFixture::show()
{
    if (!m_navi)
        make();
    m_navi->FormShow();
    return m_navi;
}

TFormNavi* MainWindowFixture::start()
{
    make();
    return waitUntilReady(show());
}

TFormNavi* MainWindowFixture::startProgram()
{
    closeWindow();
    m_main = std::make_unique<TFormMain>();
    m_main->FormCreate();
    return waitUntilReady(m_main->formNavi);
}

TFormNavi* MainWindowFixture::waitUntilReady(TFormNavi* navi)
{
    m_navi = navi;
    if (!QTest::qWaitFor([navi] { return navi->session.queries.ready; }))
        QTest::qFail("the main window's shared queries are not ready", __FILE__, __LINE__);
    return navi;
}

QSqlDatabase MainWindowFixture::db() const
{
    return m_navi->connection;
}

QStringList MainWindowFixture::log() const
{
    const auto* box = m_navi->findChild<QListWidget*>(QStringLiteral("ListBoxMessage"));
    QStringList lines;
    for (int i = 0; i < box->count(); ++i)
        lines << box->item(i)->text();
    return lines;
}
