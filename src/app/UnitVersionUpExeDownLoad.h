#pragma once

#include <QDialog>
#include <QPointer>

#include <memory>

class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QProgressBar;
class QSaveFile;
class QTimer;

// The download window of the update offer: fetches one updater program from the update server
// into the data folder, showing its progress. The opener sets downloadExe or downloadMdb, shows
// it modally and reads exeDownloaded and mdbDownloaded afterwards. The fetches run on the
// window's own network manager, so its modal loop keeps the program responsive.
class TFormVersionUpExeDownLoad : public QDialog
{
    Q_OBJECT
public:
    explicit TFormVersionUpExeDownLoad(QWidget* owner);
    ~TFormVersionUpExeDownLoad() override;

    // The updater's address on the update server.
    static QString fileUrl(const QString& name);

    bool downloadExe = false;
    bool downloadMdb = false;
    int fileKind = 0; // 0 the program updater, 1 the database updater
    bool exeDownloaded = false;
    bool mdbDownloaded = false;

    QLabel* LabelExe = nullptr;
    QProgressBar* ProgressBarExe = nullptr;
    QLabel* LabelMdb = nullptr;
    QProgressBar* ProgressBarMdb = nullptr;
    QTimer* TimerDownLoad = nullptr;
    QTimer* TimerClose = nullptr;

    void FormActivate();
    void TimerDownLoadTimer();
    void TimerCloseTimer();

    void done(int result) override;

protected:
    bool event(QEvent* event) override;

private:
    void buildLayout();
    void startDownload(int kind);
    void probeFinished();
    void transferReadyRead();
    void transferProgress(qint64 received, qint64 total);
    void transferFinished();
    // The failure box of the file being fetched, then the window closes.
    void failDownload(int kind);
    void stopTransfer();

    QNetworkAccessManager* network = nullptr;
    QPointer<QNetworkReply> reply;
    std::unique_ptr<QSaveFile> output;
    QString fileName;
    qint64 written = 0;
    bool started = false;
};
