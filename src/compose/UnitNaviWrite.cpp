#include "compose/UnitNaviWrite.h"

#include "compose/NaviWriteScripts.h"
#include "compose/SilentWebPage.h"
#include "compose/WebEngineProfile.h"
#include "platform/DataFolder.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/WindowPlacement.h"
#include "site/SiteEndpoints.h"

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

const QString section = QStringLiteral("NaviWriteWindow");
constexpr int stepWaitMs = 50;

QString settingsPath()
{
    return DataFolder::filePath(QStringLiteral("setting.ini"));
}

} // namespace

int TFormNaviWrite::pageWaitLimitMs = 60000;

TFormNaviWrite::TFormNaviWrite(QWidget* owner) : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("TFormNaviWrite"));
    setWindowTitle(QStringLiteral("ナビ"));
    buildLayout();
    connectSignals();
    m_placement = new WindowPlacement(this, section, WindowPlacement::MinimisedAs::Normal,
                                      QRect(100, 100, 800, 600));
}

TFormNaviWrite::~TFormNaviWrite()
{
    // The page goes before the view and the profile it uses.
    if (CppWebBrowser)
        delete CppWebBrowser->page();
}

void TFormNaviWrite::buildLayout()
{
    resize(640, 480);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    CppWebBrowser = new QWebEngineView(this);
    CppWebBrowser->setObjectName(QStringLiteral("CppWebBrowser"));
    CppWebBrowser->setPage(new SilentWebPage(WebEngineProfile::shared(), CppWebBrowser));
    layout->addWidget(CppWebBrowser, 1);
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    layout->addWidget(StatusBar);
}

void TFormNaviWrite::connectSignals()
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
    connect(static_cast<SilentWebPage*>(page), &SilentWebPage::newWindowRefused, this,
            &TFormNaviWrite::fail);
}

void TFormNaviWrite::showEvent(QShowEvent* event)
{
    if (!m_placementRestored) {
        m_placementRestored = true;
        m_placement->restore(IniFile(settingsPath()));
    }
    QWidget::showEvent(event);
}

void TFormNaviWrite::closeEvent(QCloseEvent* event)
{
    IniFile ini(settingsPath());
    m_placement->save(ini);
    QWidget::closeEvent(event);
}

QString TFormNaviWrite::contactPageUrl(const QString& aid, const QString& bidId)
{
    return SiteEndpoints::httpUrl(SiteEndpoints::load().itemHost,
                                  QStringLiteral("/jp/show/contact?aID=") + aid +
                                      QStringLiteral("&target=") + bidId);
}

void TFormNaviWrite::openContactPage(const QString& aid, const QString& bidId)
{
    if (failed)
        return;
    m_loadStartsBefore = m_loadStarts;
    m_expectingLoad = true;
    CppWebBrowser->load(QUrl(contactPageUrl(aid, bidId)));
}

void TFormNaviWrite::waitForPage()
{
    if (failed)
        return;
    QPointer<TFormNaviWrite> self(this);
    if (waitUntil([this] { return failed || !pageLoading(); }) || !self || m_abandoned)
        return;
    // A page that never completes is a failed step; its load is given up.
    CppWebBrowser->stop();
    busy = false;
    fail();
}

void TFormNaviWrite::fillMessageForm(int subject, const QString& text)
{
    if (!failed)
        runStepScript(NaviWriteScripts::fillMessageForm(subject, text));
}

void TFormNaviWrite::pressConfirmButton()
{
    if (!failed)
        runStepScript(NaviWriteScripts::pressConfirmButton());
}

bool TFormNaviWrite::isPostCompleted()
{
    QPointer<TFormNaviWrite> self(this);
    waitForPage();
    if (!self || failed)
        return false;
    return runStepScript(NaviWriteScripts::isPostCompleted())
        .value(QStringLiteral("completed"))
        .toBool();
}

void TFormNaviWrite::abandon()
{
    m_abandoned = true;
    failed = true;
    emit pageStateChanged();
}

void TFormNaviWrite::fail()
{
    if (!failed) {
        failed = true;
        close();
    }
    emit pageStateChanged();
}

bool TFormNaviWrite::pageLoading() const
{
    return busy || (m_expectingLoad && m_loadStarts == m_loadStartsBefore);
}

bool TFormNaviWrite::waitUntil(const std::function<bool()>& done)
{
    QPointer<TFormNaviWrite> self(this);
    const QDeadlineTimer deadline(pageWaitLimitMs);
    while (!done()) {
        if (m_abandoned || deadline.hasExpired())
            return false;
        QEventLoop loop;
        connect(this, &TFormNaviWrite::pageStateChanged, &loop, &QEventLoop::quit);
        connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
        QTimer::singleShot(qMin<qint64>(stepWaitMs, qMax<qint64>(1, deadline.remainingTime())),
                           &loop, &QEventLoop::quit);
        loop.exec();
        if (!self)
            return false;
    }
    return !m_abandoned;
}

QVariantMap TFormNaviWrite::runStepScript(const QString& script)
{
    QPointer<TFormNaviWrite> self(this);
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
