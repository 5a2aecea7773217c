#pragma once

#include <QDialog>

class FileDownload;
class QLabel;
class QProgressBar;
class QTimer;

// The download window of the update offer: fetches one updater program from the update server
// into the data folder, showing its progress. The opener sets downloadExe or downloadMdb, shows
// it modally and reads exeDownloaded and mdbDownloaded afterwards. The file is fetched with one
// GET while the window's modal loop keeps the program responsive; the saved file is the body of
// that answer, or nothing is saved.
class TFormVersionUpExeDownLoad : public QDialog
{
    Q_OBJECT
public:
    explicit TFormVersionUpExeDownLoad(QWidget* owner);
    ~TFormVersionUpExeDownLoad() override;

    // The updater's address on the update server.
    static QString fileUrl(const QString& name);
    // The largest updater taken (256 MiB); tests set a smaller one, a negative value restores it.
    static void setSizeLimit(qint64 bytes);

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
    void transferProgress(qint64 received, qint64 total);
    void transferFinished(bool saved);
    // The failure box of the file being fetched, then the window closes.
    void failDownload(int kind);

    FileDownload* download = nullptr;
    bool started = false;
};
