#pragma once

#include <QRect>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <QWidget>

#include <functional>

class QStatusBar;
class QWebEngineView;
class SitePostingPage;
class WindowPlacement;

// A hidden posting browser: one web view on the shared profile, driven step by step through
// one of the site's forms by a composer. After each step `failed` tells whether the step, or
// anything the page did meanwhile (a failed top-level load, a new-window request, a script
// error, a page that never completes, a page or form that is not the site's), failed; a failure
// closes the window, which stays valid until its owner deletes it. Every step runs only on the
// scheme, host and port of the page the post opened: the top-level document is never loaded from
// anywhere else, and each step checks the page before it reads, fills or submits anything. Every
// wait lets events run, so the owner's stop command and other windows stay usable.
class BrowserPoster : public QWidget
{
    Q_OBJECT
public:
    // section: the window's setting.ini section, with bounds defaults of 100, 100, 800, 600.
    BrowserPoster(QWidget* owner, const QString& section, const QString& caption);
    ~BrowserPoster() override;

    // Waits until the top-level page has loaded, at most pageWaitLimitMs.
    void waitForPage();
    // Ends the wait under way, and makes every later step return at once, failed. A post is
    // abandoned by its owner, and by itself when the program is ending.
    void abandon();
    bool isAbandoned() const { return m_abandoned; }

    bool busy = false;   // a top-level load is under way
    bool failed = false; // a step or the page failed
    // The bound of one wait for a page or a script's answer.
    static int pageWaitLimitMs;

    QWebEngineView* CppWebBrowser = nullptr;
    QStatusBar* StatusBar = nullptr;

signals:
    // A load started or ended, a script answered, the post failed or was abandoned.
    void pageStateChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    // Starts loading the post's first page as a step: its origin is the site's for every later
    // step. The next wait waits for that load.
    void openSitePage(const QUrl& address);
    // The page the post opened; the scripts are built for its origin.
    QUrl siteAddress() const;
    void fail();
    // A page or a form off the site: the step fails.
    virtual void failOffSite();
    // Runs one step's script, when the page is on the site, and waits for its answer; an empty
    // map when the step failed. A script that answers submitted makes the next wait wait for the
    // load it started.
    QVariantMap runStepScript(const QString& script);

private:
    void buildLayout();
    void connectSignals();
    bool pageLoading() const;
    SitePostingPage* page() const;
    // Runs events in waits of at most 50 ms until done() holds; false when the bound passed,
    // the post was abandoned or the window was deleted meanwhile (then nothing of it is used).
    // The program's stop request and its quitting abandon the post.
    bool waitUntil(const std::function<bool()>& done);

    int m_loadStarts = 0;
    int m_loadStartsBefore = 0;
    bool m_expectingLoad = false;
    bool m_abandoned = false;
    bool m_placementRestored = false;
    WindowPlacement* m_placement = nullptr;
};
