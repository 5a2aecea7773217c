// The main window's opener of the settings dialog.
#include "app/NaviSettingOpener.h"

#include "app/NaviWiring.h"
#include "app/SettingSave.h"
#include "app/UnitNavi.h"
#include "app/UnitSetting.h"
#include "site/LoginControl.h"
#include "views/BidListView.h"
#include "views/ListingTab.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>

namespace {

// The saved logins into the login bar's list and the login menu, in id order.
void showSavedLogins(TFormNavi& navi, const QMap<QString, QString>& accounts)
{
    navi.loginControl().savedLogins.clear();
    // Filled without its change handler, so that the first id added fills in no password.
    const QSignalBlocker block(navi.ComboBoxLoginId);
    navi.ComboBoxLoginId->clear();
    navi.PopupMenuLogin->clear();
    int n = 0;
    for (auto it = accounts.cbegin(); it != accounts.cend(); ++it, ++n) {
        navi.loginControl().savedLogins.insert(it.key(), it.value());
        navi.ComboBoxLoginId->addItem(it.key());
        // A click on the item logs in through the menu's handler, by the id it carries.
        QAction* item = navi.PopupMenuLogin->addAction(SettingSave::loginMenuCaption(it.key(), n));
        item->setToolTip(it.key());
        item->setStatusTip(it.key());
        item->setData(it.key());
    }
    navi.ComboBoxLoginId->setCurrentIndex(-1);
    navi.ComboBoxLoginId->setEditText(QString());
}

} // namespace

TFormSetting* makeSettingDialog(TFormNavi& navi)
{
    auto* dialog = new TFormSetting(navi.session, &navi);
    QObject::connect(
        dialog, &TFormSetting::loginsSaved, &navi,
        [&navi](const QMap<QString, QString>& accounts) { showSavedLogins(navi, accounts); });
    QObject::connect(dialog, &TFormSetting::itemListsSaved, &navi,
                     [&navi](const QStringList& carriage, const QStringList& forwarding) {
                         ListingTab& tab = navi.listingTab();
                         tab.carriageItems = carriage;
                         tab.forwardingItems = forwarding;
                         navi.fillComboBox(carriage, navi.ComboBoxInputCarriage);
                         navi.fillComboBox(forwarding, navi.ComboBoxInputForwarding);
                     });
    QObject::connect(dialog, &TFormSetting::optionsSaved, &navi, [&navi] {
        navi.ListViewBid->setBackColorValue(navi.options.bidBackColor);
        navi.ListViewBid->viewport()->update();
    });
    return dialog;
}

void NaviWiring::connectSettingCommand(TFormNavi& navi)
{
    QAction* command = navi.action("ActionShowSetting");
    QObject::connect(command, &QAction::triggered, &navi, &TFormNavi::ActionShowSettingExecute);
    navi.markWired(command);
}

void TFormNavi::ActionShowSettingExecute()
{
    TFormSetting* dialog = makeSettingDialog(*this);
    formSetting = dialog;
    dialog->exec();
    delete dialog;
    formSetting = nullptr;
}
