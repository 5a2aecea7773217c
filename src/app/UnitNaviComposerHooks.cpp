// What the composers ask of the main window: its listed rows for the progress flags written
// after a post, and the board download that follows a posted message.
#include "app/UnitNavi.h"

#include "compose/ComposerTarget.h"
#include "site/DownloadControl.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"

namespace {

// The listing rows of the list in list order; other items are passed over.
QList<BidRow> listedItems(BidListView* list)
{
    QList<BidRow> items;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (BidRow item = list->bidItem(i))
            items << item;
    return items;
}

} // namespace

ComposerHooks TFormNavi::composerHooks()
{
    const QPointer<TFormNavi> navi(this);
    ComposerHooks hooks;
    hooks.listedRows = [navi] {
        QList<ProgressFlagUpdate::ListedRow> rows;
        if (!navi)
            return rows;
        for (const BidRow& item : listedItems(navi->ListViewBid))
            rows.append({item->subItem(BidListColumns::Aid), item->subItem(BidListColumns::BidId)});
        return rows;
    };
    hooks.showFlags = [navi](const QList<int>& rows, const QList<int>& cells,
                             const QString& value) {
        if (!navi)
            return;
        const QList<BidRow> items = listedItems(navi->ListViewBid);
        for (int row : rows)
            if (row >= 0 && row < items.size())
                for (int cell : cells)
                    items.at(row)->setSubItem(cell, value);
    };
    hooks.messagePosted = [navi](const QString& aid, const QString& title, const QString& bidId) {
        if (navi)
            navi->downloadControl().requestTransactionNaviDownload(aid, title, bidId);
    };
    return hooks;
}
