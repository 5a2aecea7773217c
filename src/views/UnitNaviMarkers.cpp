// The main window's marker commands on the selected listing rows: the progress flags, the
// contact method and whether feedback is needed.
#include "app/UnitNavi.h"

#include "platform/Dialogs.h"
#include "views/BidListView.h"
#include "views/MarkerRows.h"

#include <QAction>

namespace {

const QString noRowSelected = QStringLiteral("行を選択してください");

// The common frame: the selection is taken first; the question, when its switch is on; the
// rows written in one transaction; the cells set once the write has landed. A database error
// leaves rows and cells as they were and reaches the application's error display.
void runMarkerUpdate(TFormNavi* navi, const std::optional<MarkerUpdate>& update,
                     const QAction* confirmSwitch)
{
    if (!update)
        return;
    const QList<TransactionKey> keys = MarkerRows::selectedTransactions(navi->ListViewBid);
    if (keys.isEmpty()) {
        navi->addLogMessage(noRowSelected);
        return;
    }
    if (confirmSwitch->isChecked() &&
        !Dialogs::askOkCancel(navi, QStringLiteral("確認"), update->confirmation))
        return;
    if (!navi->isDatabaseOpen())
        return;
    MarkerRows::write(navi->connection, *update, keys);
    MarkerRows::showInCells(navi->ListViewBid, *update, keys);
}

} // namespace

void TFormNavi::updateProgressFlags(int column, bool set)
{
    const QString value =
        set ? flagValue(options.bidFlg, options.bidFlgString, QDate::currentDate()) : QString();
    runMarkerUpdate(this, MarkerUpdates::progressFlags(column, set, value), ActionFlgConfirm);
}

void TFormNavi::updateContactMethod(const QAction* item)
{
    runMarkerUpdate(this, MarkerUpdates::contactMethod(item->data().toInt()),
                    MainMenuContactConfirm);
}

void TFormNavi::updateEvaluationNecessity(int kind)
{
    runMarkerUpdate(this, MarkerUpdates::evaluationNecessity(kind), MainMenuEvaluationFlgConfirm);
}

void TFormNavi::connectMarkerCommands()
{
    const struct
    {
        const char* name;
        int column;
        bool set;
    } flags[] = {
        {"ActionFlgFirstCheck", 8, true},       {"ActionFlgFirstCheckRemove", 8, false},
        {"ActionFlgPaymentCheck", 9, true},     {"ActionFlgPaymentCheckRemove", 9, false},
        {"ActionFlgReceiptCheck", 10, true},    {"ActionFlgReceiptCheckRemove", 10, false},
        {"ActionFlgEvaluationCheck", 11, true}, {"ActionFlgEvaluationCheckRemove", 11, false},
        {"ActionFlgEndCheck", 12, true},        {"ActionFlgEndCheckRemove", 12, false},
        {"ActionFlgAllCheck", -1, true},        {"ActionFlgAllCheckRemove", -1, false},
    };
    for (const auto& flag : flags) {
        QAction* command = action(QString::fromLatin1(flag.name));
        connect(command, &QAction::triggered, this,
                [this, column = flag.column, set = flag.set] { updateProgressFlags(column, set); });
        markWired(command);
        enableCommand(command, PageControlMain->currentIndex() == 0);
    }
    const char* const contactItems[] = {"MainMenuContactBlank", "MainMenuContactNavi",
                                        "MainMenuContactMail"};
    for (int tag = 0; tag < 3; ++tag) {
        QAction* item = action(QString::fromLatin1(contactItems[tag]));
        item->setData(tag);
        connect(item, &QAction::triggered, this, [this, item] { updateContactMethod(item); });
        markWired(item);
        item->setEnabled(true);
    }
    const char* const evaluationItems[] = {"ActionEvaluationFlgBlank",
                                           "ActionEvaluationFlgNecessary",
                                           "ActionEvaluationFlgUnnecessary"};
    for (int kind = 0; kind < 3; ++kind) {
        QAction* item = action(QString::fromLatin1(evaluationItems[kind]));
        connect(item, &QAction::triggered, this, [this, kind] { updateEvaluationNecessity(kind); });
        markWired(item);
        item->setEnabled(true);
    }
}
