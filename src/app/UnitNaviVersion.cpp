// The main window's update offer and hand-over, its about box and the jump from the log.
#include "app/UnitNavi.h"

#include "app/CheckVersion.h"
#include "common/CommonDefine.h"
#include "app/LogJumpLine.h"
#include "app/NaviWiring.h"
#include "app/UnitVersion.h"
#include "app/UnitVersionUpExeDownLoad.h"
#include "platform/Dialogs.h"
#include "platform/UrlOpener.h"
#include "views/BidListView.h"

#include <QAction>
#include <QListWidget>
#include <QTabWidget>

namespace {

const QString mdbOfferCaption = QStringLiteral("MDBアップデート");
const QString mdbOfferText =
    QStringLiteral("テサリーMDBの新しいバージョンが公開されています。\n\r"
                   "MDBのバージョンが古いと新しいテサリーが使用できない場合があります。\n\r\n\r"
                   " MDBのアップデートをしますか？");
const QString exeOfferCaption = QStringLiteral("アップデート");
const QString exeOfferText = QStringLiteral(
    "テサリーの新しいバージョンが公開されています。\n\rテサリーをアップデートしますか？");

} // namespace

void NaviWiring::connectVersionCommands(TFormNavi& navi)
{
    QAction* about = navi.action("MainMenuVersion");
    QObject::connect(about, &QAction::triggered, &navi, &TFormNavi::MainMenuVersionClick);
    navi.markWired(about);
    about->setEnabled(true);
    QObject::connect(navi.ListBoxMessage, &QListWidget::itemDoubleClicked, &navi,
                     [&navi](QListWidgetItem* line) { navi.ListBoxMessageDblClick(line); });
}

void TFormNavi::MainMenuVersionClick()
{
    auto* dialog = new TFormVersion(this);
    formVersion = dialog;
    dialog->exec();
    delete dialog;
    formVersion = nullptr;
}

bool TFormNavi::offerUpdate(const CheckVersion& check)
{
    if (!check.isExeUpdate() && !check.isMdbUpdate())
        return true;
    // One updater per start, the database's first.
    const bool mdb = check.isMdbUpdate();
    if (!Dialogs::askOkCancel(this, mdb ? mdbOfferCaption : exeOfferCaption,
                              mdb ? mdbOfferText : exeOfferText))
        return true;
    QString saved;
    {
        TFormVersionUpExeDownLoad download(this);
        download.downloadMdb = mdb;
        download.downloadExe = !mdb;
        download.exec();
        if (download.mdbDownloaded)
            saved = CommonDefine::updateMdbName;
        else if (download.exeDownloaded)
            saved = CommonDefine::updateExeName;
    }
    if (saved.isEmpty())
        return true;
    // The updater is a Windows program: it goes to the desktop, which offers what it can.
    UrlOpener::open(QUrl::fromLocalFile(CommonDefine::exeDir() + '/' + saved));
    close();
    return false;
}

void TFormNavi::ListBoxMessageDblClick(const QListWidgetItem* line)
{
    if (!line)
        return;
    const std::optional<LogJumpLine::Target> target = LogJumpLine::read(line->text());
    if (!target)
        return;
    BidRow row = nullptr;
    for (int index = 0; index < ListViewBid->topLevelItemCount() && !row; ++index) {
        BidRow candidate = ListViewBid->bidItem(index);
        if (candidate && candidate->subItem(0) == target->aid &&
            (target->anyWinner || candidate->subItem(2) == target->bidId))
            row = candidate;
    }
    if (!row)
        return;
    if (PageControlMain->currentIndex() == 0)
        PageControlMainChange();
    else
        PageControlMain->setCurrentIndex(0);
    ListViewBid->clearSelection();
    ListViewBid->setCurrentItem(row);
    ListViewBid->setSelected(row, true);
    ListViewBid->scrollToItem(row);
    ListViewBid->setFocus();
}
