#pragma once

#include <QString>
#include <QVariant>
#include <QWidget>

#include <functional>

class QStatusBar;
class QWebEngineView;
class WindowPlacement;

// The hidden posting browser: one web view on the shared profile, driven step by step through
// the site's message form by the reply composer. After each step `failed` tells whether the
// step, or anything the page did meanwhile (a failed top-level load, a new-window request, a
// script error, a page that never completes), failed; a failure closes the window, which stays
// valid until its owner deletes it. Every wait lets events run, so the owner's stop command and
// other windows stay usable.
class TFormNaviWrite : public QWidget
{
    Q_OBJECT
public:
    explicit TFormNaviWrite(QWidget* owner);
    ~TFormNaviWrite() override;

    // Loads the transaction's message form from the item-page host.
    void openContactPage(const QString& aid, const QString& bidId);
    // Waits until the top-level page has loaded, at most pageWaitLimitMs.
    void waitForPage();
    // Fills the text areas and the subject radios and submits the form of the last text area.
    void fillMessageForm(int subject, const QString& text);
    // Submits the confirmation page's posting form.
    void pressConfirmButton();
    // Waits for the page, then whether it says the message was posted.
    bool isPostCompleted();
    // Ends the wait under way, and makes every later step return at once, failed.
    void abandon();

    // The address of the transaction's message form.
    static QString contactPageUrl(const QString& aid, const QString& bidId);

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

private:
    void buildLayout();
    void connectSignals();
    void fail();
    bool pageLoading() const;
    // Runs events in waits of at most 50 ms until done() holds; false when the bound passed,
    // the post was abandoned or the window was deleted meanwhile (then nothing of it is used).
    bool waitUntil(const std::function<bool()>& done);
    // Runs one step's script and waits for its answer; an empty map when the step failed. A
    // script that submitted a form makes the next wait wait for the load it started.
    QVariantMap runStepScript(const QString& script);

    int m_loadStarts = 0;
    int m_loadStartsBefore = 0;
    bool m_expectingLoad = false;
    bool m_abandoned = false;
    bool m_placementRestored = false;
    WindowPlacement* m_placement = nullptr;
};
