#pragma once

#include <QMap>
#include <QObject>
#include <QString>

class NaviSession;

// Logging in from the login bar, the saved-logins menu and the tray, and following the account
// that the site reports as logged in: a new account switches every view over to it. Runs on the
// GUI thread and waits for the site's answers.
class LoginControl : public QObject
{
    Q_OBJECT
public:
    // What the login asks of the main window.
    class Window
    {
    public:
        virtual ~Window() = default;
        virtual bool loginButtonEnabled() const = 0;
        virtual void setLoginButtonEnabled(bool enabled) = 0;
        // The status bar's login result and account panels.
        virtual void showLoginResult(const QString& text) = 0;
        virtual void showAccount(const QString& text) = 0;
        // Every view switched over to the account now logged in.
        virtual void adoptAccount() = 0;
        // The login bar's two fields.
        virtual QString loginIdText() const = 0;
        virtual QString passwordText() const = 0;
        virtual void setPasswordText(const QString& password) = 0;
        // The report of a tray login: a balloon of the tray icon where it can show one, else
        // the notice window. showTime in milliseconds.
        virtual bool balloonAvailable() const = 0;
        virtual void stopTrayLoginBalloon() = 0;
        virtual void showTrayLoginBalloon(const QString& id, const QString& report, bool accepted,
                                          int showTime) = 0;
        virtual void showTrayLoginNotice(const QString& id, bool accepted, int showTime) = 0;
    };

    LoginControl(NaviSession& session, Window& window, QObject* parent = nullptr);

    // True when the site accepted; an empty id or password sends nothing.
    bool login(const QString& id, const QString& password);
    // Asks the site for its account and adopts it when it changed.
    void updateLoginId();
    // The account check before a download; true when the download may start.
    bool checkLoginStatus();
    // True when a login may start now; a login during a download is refused with a log line.
    bool loginAllowed();

    void ToolButtonLoginClick();
    void ComboBoxLoginIdChange(const QString& text);
    // The clicked item's account id.
    void executePopupMenuLogin(const QString& id);
    void executePopupMenuTrayLogin(const QString& id);

    // Saved account id to its saved password; loaded at start and rebuilt by the settings.
    QMap<QString, QString> savedLogins;

private:
    NaviSession& m_session;
    Window& m_window;
};
