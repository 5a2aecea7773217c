#include "app/UnitVersionUpExeDownLoad.h"

#include "app/CommonDefine.h"
#include "app/VersionFile.h"
#include "platform/Dialogs.h"
#include "platform/ProgressBarRange.h"
#include "site/SiteEndpoints.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProgressBar>
#include <QSaveFile>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString failureCaption = QStringLiteral("アップデート失敗");
const QString exeFailureText =
    QStringLiteral("アップデート処理に失敗しました。\n\rサーバが込みあっている可能性があります。");
const QString mdbFailureText =
    QStringLiteral("MDBのアップデートプログラムダウンロードに失敗しました。\n\r"
                   "サーバが込みあっている可能性があります。");
constexpr int timerMs = 200;
constexpr int transferTimeoutMs = 30000;

QNetworkRequest updaterRequest(const QString& url)
{
    QNetworkRequest request{QUrl(url)};
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Mozilla/3.0 (compatible; Indy Library)"));
    request.setTransferTimeout(transferTimeoutMs);
    return request;
}

// A fetch counts only when it answered 200 and brought its whole body.
bool completeAnswer(QNetworkReply* reply, qint64 received)
{
    if (reply->error() != QNetworkReply::NoError)
        return false;
    if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 200)
        return false;
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    return !length.isValid() || length.toLongLong() == received;
}

} // namespace

TFormVersionUpExeDownLoad::TFormVersionUpExeDownLoad(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint)
{
    setObjectName("FormVersionUpExeDownLoad");
    setWindowTitle(QStringLiteral("バージョンアップファイルダウンロード"));
    buildLayout();
    network = new QNetworkAccessManager(this);
    TimerDownLoad = new QTimer(this);
    TimerDownLoad->setObjectName("TimerDownLoad");
    TimerDownLoad->setSingleShot(true);
    TimerDownLoad->setInterval(timerMs);
    TimerClose = new QTimer(this);
    TimerClose->setObjectName("TimerClose");
    TimerClose->setSingleShot(true);
    TimerClose->setInterval(timerMs);
    connect(TimerDownLoad, &QTimer::timeout, this, &TFormVersionUpExeDownLoad::TimerDownLoadTimer);
    connect(TimerClose, &QTimer::timeout, this, &TFormVersionUpExeDownLoad::TimerCloseTimer);
}

TFormVersionUpExeDownLoad::~TFormVersionUpExeDownLoad()
{
    stopTransfer();
}

void TFormVersionUpExeDownLoad::buildLayout()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(2);
    LabelExe = new QLabel(QStringLiteral("実行ファイル更新プログラムダウンロード状況"), this);
    ProgressBarExe = new QProgressBar(this);
    ProgressBarExe->setObjectName("ProgressBarExe");
    LabelMdb = new QLabel(QStringLiteral("データベース更新プログラムダウンロード状況"), this);
    ProgressBarMdb = new QProgressBar(this);
    ProgressBarMdb->setObjectName("ProgressBarMdb");
    for (QProgressBar* bar : {ProgressBarExe, ProgressBarMdb}) {
        ProgressBarRange::setIdle(bar);
        bar->setTextVisible(false);
    }
    layout->addWidget(LabelExe);
    layout->addWidget(ProgressBarExe);
    layout->addWidget(LabelMdb);
    layout->addWidget(ProgressBarMdb);
    setFixedSize(layout->sizeHint().expandedTo(QSize(372, 88)));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QString TFormVersionUpExeDownLoad::fileUrl(const QString& name)
{
    return SiteEndpoints::httpUrl(SiteEndpoints::load().updateHost, VersionFile::path + name);
}

bool TFormVersionUpExeDownLoad::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}

void TFormVersionUpExeDownLoad::FormActivate()
{
    // Switching back to the window while a file is fetched starts nothing new.
    if (!started)
        TimerDownLoad->start();
}

void TFormVersionUpExeDownLoad::TimerDownLoadTimer()
{
    TimerDownLoad->stop();
    if (started)
        return;
    if (downloadExe)
        startDownload(0);
    else if (downloadMdb)
        startDownload(1);
}

void TFormVersionUpExeDownLoad::startDownload(int kind)
{
    started = true;
    fileKind = kind;
    fileName = kind == 0 ? CommonDefine::updateExeName : CommonDefine::updateMdbName;
    // The probe: the whole file once into memory, to learn that the server hands it out.
    reply = network->get(updaterRequest(fileUrl(fileName)));
    connect(reply, &QNetworkReply::finished, this, &TFormVersionUpExeDownLoad::probeFinished);
}

void TFormVersionUpExeDownLoad::probeFinished()
{
    QNetworkReply* probe = reply;
    reply = nullptr;
    probe->deleteLater();
    const QByteArray body = probe->readAll();
    if (!completeAnswer(probe, body.size())) {
        failDownload(fileKind);
        return;
    }
    output = std::make_unique<QSaveFile>(CommonDefine::exeDir() + '/' + fileName);
    written = 0;
    if (!output->open(QIODevice::WriteOnly)) {
        output.reset();
        failDownload(fileKind);
        return;
    }
    reply = network->get(updaterRequest(fileUrl(fileName)));
    connect(reply, &QNetworkReply::readyRead, this, &TFormVersionUpExeDownLoad::transferReadyRead);
    connect(reply, &QNetworkReply::downloadProgress, this,
            &TFormVersionUpExeDownLoad::transferProgress);
    connect(reply, &QNetworkReply::finished, this, &TFormVersionUpExeDownLoad::transferFinished);
}

void TFormVersionUpExeDownLoad::transferReadyRead()
{
    const QByteArray bytes = reply->readAll();
    if (!output || output->write(bytes) != bytes.size()) {
        reply->abort();
        return;
    }
    written += bytes.size();
}

void TFormVersionUpExeDownLoad::transferProgress(qint64 received, qint64 total)
{
    QProgressBar* bar = fileKind == 0 ? ProgressBarExe : ProgressBarMdb;
    // The total is the same at every packet; unknown (-1), the bar stays still and empty.
    if (total > 0)
        bar->setMaximum(int(qMin<qint64>(total, INT_MAX)));
    bar->setValue(int(qMin<qint64>(received, INT_MAX)));
}

void TFormVersionUpExeDownLoad::transferFinished()
{
    QNetworkReply* transfer = reply;
    reply = nullptr;
    transfer->deleteLater();
    const QByteArray rest = transfer->readAll();
    const bool saved = output && output->write(rest) == rest.size();
    written += rest.size();
    const bool complete = saved && completeAnswer(transfer, written) && output->commit();
    output.reset();
    if (!complete) {
        failDownload(fileKind);
        return;
    }
    if (fileKind == 0)
        exeDownloaded = true;
    else
        mdbDownloaded = true;
    TimerClose->start();
}

void TFormVersionUpExeDownLoad::failDownload(int kind)
{
    Dialogs::showError(this, failureCaption, kind == 0 ? exeFailureText : mdbFailureText);
    TimerClose->start();
}

void TFormVersionUpExeDownLoad::TimerCloseTimer()
{
    TimerClose->stop();
    accept();
}

void TFormVersionUpExeDownLoad::done(int result)
{
    // Closed by the user during a transfer: the partial file is dropped and nothing is flagged.
    stopTransfer();
    QDialog::done(result);
}

void TFormVersionUpExeDownLoad::stopTransfer()
{
    if (reply) {
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
        reply = nullptr;
    }
    output.reset();
}
