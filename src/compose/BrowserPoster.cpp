#include "compose/BrowserPoster.h"

#include "compose/SitePostingPage.h"
#include "compose/WebEngineProfile.h"
#include "platform/DataFolder.h"
#include "platform/Dialogs.h"
#include "platform/GuiThreadWait.h"
#include "platform/IniFile.h"
#include "platform/WindowPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <memory>
#include <optional>

namespace {

constexpr int stepWaitMs = 50;

QString settingsPath()
{
    return DataFolder::filePath(QStringLiteral("setting.ini"));
}

} // namespace

int BrowserPoster::pageWaitLimitMs = 60000;

BrowserPoster::BrowserPoster(QWidget* owner, const QString& section, const QString& caption)
    : QWidget(owner, Qt::Window)
{
    setWindowTitle(caption);
    buildLayout();
    connectSignals();
    m_placement = new WindowPlacement(this, section, WindowPlacement::MinimisedAs::Normal,
                                      QRect(100, 100, 800, 600));
}

BrowserPoster::~BrowserPoster()
{
    // The page goes before the view and the profile it uses.
    if (CppWebBrowser)
        delete CppWebBrowser->page();
}

void BrowserPoster::buildLayout()
{
    resize(640, 480);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    CppWebBrowser = new QWebEngineView(this);
    CppWebBrowser->setObjectName(QStringLiteral("CppWebBrowser"));
    CppWebBrowser->setPage(new SitePostingPage(WebEngineProfile::shared(), CppWebBrowser));
    layout->addWidget(CppWebBrowser, 1);
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    layout->addWidget(StatusBar);
}

void BrowserPoster::connectSignals()
{
    QWebEnginePage* page = CppWebBrowser->page();
    connect(page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        switch (info.status()) {
        case QWebEngineLoadingInfo::LoadStartedStatus:
            ++m_loadStarts;
            busy = true;
            break;
        case QWebEngineLoadingInfo::LoadFailedStatus:
            busy = false;
            fail();
            break;
        default:
            busy = false;
            break;
        }
        emit pageStateChanged();
    });
    connect(this->page(), &SilentWebPage::newWindowRefused, this, &BrowserPoster::fail);
    connect(this->page(), &SitePostingPage::leftSite, this, &BrowserPoster::failOffSite);
}

SitePostingPage* BrowserPoster::page() const
{
    return static_cast<SitePostingPage*>(CppWebBrowser->page());
}

void BrowserPoster::showEvent(QShowEvent* event)
{
    if (!m_placementRestored) {
        m_placementRestored = true;
        m_placement->restore(IniFile(settingsPath()));
    }
    QWidget::showEvent(event);
}

void BrowserPoster::closeEvent(QCloseEvent* event)
{
    IniFile ini(settingsPath());
    m_placement->save(ini);
    QWidget::closeEvent(event);
}

void BrowserPoster::waitForPage()
{
    if (failed)
        return;
    QPointer<BrowserPoster> self(this);
    if (waitUntil([this] { return failed || !pageLoading(); }) || !self || m_abandoned)
        return;
    // A page that never completes is a failed step; its load is given up.
    CppWebBrowser->stop();
    busy = false;
    fail();
}

void BrowserPoster::openSitePage(const QUrl& address)
{
    if (failed)
        return;
    page()->setSite(address);
    m_loadStartsBefore = m_loadStarts;
    m_expectingLoad = true;
    CppWebBrowser->load(address);
}

void BrowserPoster::abandon()
{
    m_abandoned = true;
    failed = true;
    emit pageStateChanged();
}

QUrl BrowserPoster::siteAddress() const
{
    return page()->site();
}

void BrowserPoster::failOffSite()
{
    fail();
}

void BrowserPoster::fail()
{
    if (!failed) {
        failed = true;
        close();
    }
    emit pageStateChanged();
}

bool BrowserPoster::pageLoading() const
{
    return busy || (m_expectingLoad && m_loadStarts == m_loadStartsBefore);
}

bool BrowserPoster::waitUntil(const std::function<bool()>& done)
{
    QPointer<BrowserPoster> self(this);
    const QDeadlineTimer deadline(pageWaitLimitMs);
    while (!done()) {
        if (GuiThreadWait::isStopRequested()) {
            // The program is ending: the post is given up where it stands.
            abandon();
            return false;
        }
        if (m_abandoned || deadline.hasExpired())
            return false;
        QEventLoop loop;
        connect(this, &BrowserPoster::pageStateChanged, &loop, &QEventLoop::quit);
        connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
        QTimer::singleShot(qMin<qint64>(stepWaitMs, qMax<qint64>(1, deadline.remainingTime())),
                           &loop, &QEventLoop::quit);
        // Once the application quits, a loop returns at once without running anything: the
        // program is ending, and so is the post.
        const bool quitting = loop.exec() < 0;
        if (!self)
            return false;
        if (quitting) {
            abandon();
            return false;
        }
    }
    return !m_abandoned;
}

QVariantMap BrowserPoster::runStepScript(const QString& script)
{
    if (failed)
        return {};
    if (!page()->onSite()) {
        failOffSite();
        return {};
    }
    QPointer<BrowserPoster> self(this);
    auto answer = std::make_shared<std::optional<QVariant>>();
    const int loadStartsBefore = m_loadStarts;
    CppWebBrowser->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                         [answer, self](const QVariant& result) {
                                             *answer = result;
                                             if (self)
                                                 emit self->pageStateChanged();
                                         });
    const bool answered = waitUntil([answer] { return answer->has_value(); });
    if (!self)
        return {};
    if (!answered) {
        if (!m_abandoned)
            fail();
        return {};
    }
    const QVariantMap result = answer->value().toMap();
    if (result.value(QStringLiteral("offSite")).toBool()) {
        failOffSite();
        return {};
    }
    if (!result.value(QStringLiteral("ok")).toBool()) {
        // A script that raised, or that got no answer back (the page went away under it).
        const QString error = result.value(QStringLiteral("error")).toString();
        if (!error.isEmpty())
            Dialogs::showError(this, QApplication::applicationDisplayName(), error);
        if (self)
            fail();
        return {};
    }
    if (result.value(QStringLiteral("submitted")).toBool()) {
        m_loadStartsBefore = loadStartsBefore;
        m_expectingLoad = true;
    }
    return result;
}
