#pragma once

#include <QWebEnginePage>

// A web page that shows nothing of its own: no script dialogs, no file chooser, no permission
// or full-screen grants, certificate errors refused. A request for a new window is refused and
// reported, so the caller can treat it as a failure.
class SilentWebPage : public QWebEnginePage
{
    Q_OBJECT
public:
    explicit SilentWebPage(QWebEngineProfile* profile, QObject* parent = nullptr);

signals:
    void newWindowRefused();

protected:
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                          const QString& defaultValue, QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceID) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
};
