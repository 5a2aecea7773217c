#include "app/UnitVersionUpExeDownLoad.h"

#include "common/CommonDefine.h"
#include "app/VersionFile.h"
#include "platform/Dialogs.h"
#include "platform/ProgressBarRange.h"
#include "site/FileDownload.h"
#include "site/SiteEndpoints.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QNetworkRequest>
#include <QProgressBar>
#include <QScreen>
#include <QSslConfiguration>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>

namespace {

const QString failureCaption = QStringLiteral("アップデート失敗");
const QString exeFailureText =
    QStringLiteral("アップデート処理に失敗しました。\n\rサーバが込みあっている可能性があります。");
const QString mdbFailureText =
    QStringLiteral("MDBのアップデートプログラムダウンロードに失敗しました。\n\r"
                   "サーバが込みあっている可能性があります。");
constexpr int timerMs = 200;
constexpr int transferTimeoutMs = 30000;
constexpr qint64 defaultSizeLimit = qint64(256) * 1024 * 1024;
std::atomic<qint64> sizeLimit{defaultSizeLimit};

QNetworkRequest updaterRequest(const QString& url)
{
    QNetworkRequest request{QUrl(url)};
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Mozilla/3.0 (compatible; Indy Library)"));
    request.setTransferTimeout(transferTimeoutMs);
    // A redirect to HTTPS on the update host trusts what the site's connections trust.
    const QList<QSslCertificate> extra = SiteEndpoints::load().extraCaCertificates();
    if (!extra.isEmpty()) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.addCaCertificates(extra);
        request.setSslConfiguration(tls);
    }
    return request;
}

} // namespace

TFormVersionUpExeDownLoad::TFormVersionUpExeDownLoad(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint)
{
    setObjectName("FormVersionUpExeDownLoad");
    setWindowTitle(QStringLiteral("バージョンアップファイルダウンロード"));
    buildLayout();
    download = new FileDownload(this);
    connect(download, &FileDownload::progress, this, &TFormVersionUpExeDownLoad::transferProgress);
    connect(download, &FileDownload::finished, this, &TFormVersionUpExeDownLoad::transferFinished);
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
    download->abort();
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

void TFormVersionUpExeDownLoad::setSizeLimit(qint64 bytes)
{
    sizeLimit.store(bytes < 0 ? defaultSizeLimit : bytes);
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
    const QString fileName = kind == 0 ? CommonDefine::updateExeName : CommonDefine::updateMdbName;
    if (!download->start(updaterRequest(fileUrl(fileName)), CommonDefine::exeDir() + '/' + fileName,
                         sizeLimit.load()))
        failDownload(kind);
}

void TFormVersionUpExeDownLoad::transferProgress(qint64 received, qint64 total)
{
    QProgressBar* bar = fileKind == 0 ? ProgressBarExe : ProgressBarMdb;
    // The total is the same at every packet; unknown (-1), the bar stays still and empty.
    if (total > 0)
        bar->setMaximum(int(qMin<qint64>(total, INT_MAX)));
    bar->setValue(int(qMin<qint64>(received, INT_MAX)));
}

void TFormVersionUpExeDownLoad::transferFinished(bool saved)
{
    if (!saved) {
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
    download->abort();
    QDialog::done(result);
}
