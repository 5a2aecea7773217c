// The marker commands on the selected listing rows: the progress flags, the contact method and
// whether feedback is needed.
#include "views/ListingTab.h"

#include "common/NaviSession.h"
#include "platform/Dialogs.h"
#include "views/BidListView.h"
#include "views/MarkerRows.h"

#include <QAction>
#include <QDate>

namespace {

const QString noRowSelected = QStringLiteral("行を選択してください");

} // namespace

// The common frame: the selection is taken first; the question, when its switch is on; the
// rows written in one transaction; the cells set once the write has landed. A database error
// leaves rows and cells as they were and reaches the application's error display.
void ListingTab::runMarkerUpdate(const std::optional<MarkerUpdate>& update,
                                 const QAction* confirmSwitch)
{
    if (!update)
        return;
    const QList<TransactionKey> keys = MarkerRows::selectedTransactions(w.ListViewBid);
    if (keys.isEmpty()) {
        m_session.addLogMessage(noRowSelected);
        return;
    }
    if (confirmSwitch->isChecked() &&
        !Dialogs::askOkCancel(w.ListViewBid->window(), QStringLiteral("確認"),
                              update->confirmation))
        return;
    if (!m_session.connection.isOpen())
        return;
    MarkerRows::write(m_session.connection, *update, keys);
    MarkerRows::showInCells(w.ListViewBid, *update, keys);
}

void ListingTab::updateProgressFlags(int column, bool set)
{
    const NaviOptions& options = m_session.options;
    const QString value =
        set ? flagValue(options.bidFlg, options.bidFlgString, QDate::currentDate()) : QString();
    runMarkerUpdate(MarkerUpdates::progressFlags(column, set, value), w.ActionFlgConfirm);
}

void ListingTab::updateContactMethod(int tag)
{
    runMarkerUpdate(MarkerUpdates::contactMethod(tag), w.MainMenuContactConfirm);
}

void ListingTab::updateEvaluationNecessity(int kind)
{
    runMarkerUpdate(MarkerUpdates::evaluationNecessity(kind), w.MainMenuEvaluationFlgConfirm);
}
