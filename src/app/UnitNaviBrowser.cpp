// The main window's opener of the in-app browser.
#include "app/UnitNavi.h"

#include "app/NaviWiring.h"
#include "compose/UnitBrowser.h"
#include "platform/Sql.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/ListSearchView.h"
#include "views/NaviFolderList.h"

#include <QAction>
#include <QTabWidget>
#include <QTreeWidget>

#include <memory>

namespace {

// The cell of a sub-item of a list's row.
QString subItem(const QModelIndex& row, int index)
{
    return row.sibling(row.row(), BidListColumns::column(index)).data(Qt::EditRole).toString();
}

} // namespace

void NaviWiring::connectBrowserCommand(TFormNavi& navi)
{
    QAction* command = navi.action(QStringLiteral("ActionShowBrowser"));
    QObject::connect(command, &QAction::triggered, &navi, &TFormNavi::ActionShowBrowserExecute);
    navi.markWired(command);
    command->setEnabled(true);
}

void TFormNavi::ActionShowBrowserExecute()
{
    const bool naviTab = PageControlMain->currentIndex() == 1;
    // The row checked here is the row read: the focused-row member may be unset or stale.
    const QAbstractItemView* list = naviTab ? static_cast<QAbstractItemView*>(ListViewNavi)
                                            : static_cast<QAbstractItemView*>(ListViewBid);
    const QModelIndex row = list->model()->index(ListSearchView::selectedRow(list), 0);
    if (!row.isValid())
        return;
    auto form = std::make_unique<TFormBrowser>(session);
    formBrowser = form.get();
    const QString aid = subItem(row, 0);
    if (naviTab) {
        QSqlQuery& query = session.queries.queryBidUrl;
        Sql::exec(query,
                  {{QStringLiteral(":DATA_LOGINID"), loginId}, {QStringLiteral(":DATA_AID"), aid}});
        form->url = query.next() ? query.value(0).toString() : QString();
        query.finish();
    } else {
        form->url = subItem(row, BidListColumns::Url);
    }
    form->aid = aid;
    form->bidId = subItem(row, 2);
    form->title = subItem(row, 1);
    form->showModal();
    form.reset();
    formBrowser = nullptr;
}
