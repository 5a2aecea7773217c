// The main window's opener of the feedback composer on the selected listing row.
#include "app/UnitNavi.h"

#include "app/ListingRowTarget.h"
#include "app/NaviWiring.h"
#include "compose/ComposerTarget.h"
#include "compose/UnitEvaluation.h"
#include "platform/Dialogs.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/BidListView.h"

#include <QAction>
#include <QItemSelectionModel>

void NaviWiring::connectEvaluationCommand(TFormNavi& navi)
{
    QObject::connect(navi.ActionEvaluationMake, &QAction::triggered, &navi,
                     &TFormNavi::ActionEvaluationMakeExecute);
    navi.markWired(navi.ActionEvaluationMake);
    navi.ActionEvaluationMake->setEnabled(true);
}

void TFormNavi::ActionEvaluationMakeExecute()
{
    const QModelIndexList selected = ListViewBid->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return;
    int first = selected.first().row();
    for (const QModelIndex& index : selected)
        first = qMin(first, index.row());
    const BidRow row = ListViewBid->topLevelItem(first);
    if (!row)
        return;
    using namespace BidListColumns;
    if (row->subItem(EvaluationUnnecessary) == QStringLiteral("不要")) {
        Dialogs::showWarning(
            this, QStringLiteral("警告"),
            QStringLiteral("要評価が不要になっています。\r\n評価投稿ウィンドウは表示できません。"));
        return;
    }
    FeedbackTarget target;
    fillFromListingRow(target, row, loginId);
    target.url = row->subItem(Url);
    openFeedbackComposer(target);
}

TFormEvaluation* TFormNavi::openFeedbackComposer(const FeedbackTarget& target)
{
    auto* form = new TFormEvaluation(session, target, composerHooks());
    form->show();
    return form;
}
