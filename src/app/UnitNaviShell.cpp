// The main window's frame behaviour: log, tab switch, font size, tray icon, small commands.
#include "app/UnitNavi.h"

#include "app/AppIcon.h"
#include "app/NaviControllers.h"
#include "app/NaviWiring.h"
#include "app/TrayMenu.h"
#include "common/CommonDefine.h"
#include "platform/ProgressBarRange.h"
#include "platform/SelectAll.h"
#include "platform/WindowPlacement.h"
#include "views/BidListView.h"
#include "views/BidderPanel.h"
#include "views/FolderTree.h"
#include "views/ListingTab.h"
#include "views/MessageTab.h"
#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QPushButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QWindowStateChangeEvent>

namespace {

void setInputColour(QWidget* widget, QPalette::ColorRole role)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, QApplication::palette().color(role));
    widget->setPalette(palette);
}

} // namespace

void TFormNavi::markWired(QAction* command)
{
    command->setProperty("wired", true);
}

void TFormNavi::enableCommand(QAction* command, bool enabled)
{
    command->setEnabled(enabled && command->property("wired").toBool());
}

void TFormNavi::addLogMessage(const QString& text)
{
    session.addLogMessage(text);
}

void TFormNavi::PopupMenuListBoxMessageDeleteClick()
{
    ListBoxMessage->clear();
}

void TFormNavi::MainMenuExitClick()
{
    close();
}

void TFormNavi::ActionAllSelectExecute()
{
    QWidget* focused = QApplication::focusWidget();
    if (focused == static_cast<QWidget*>(ListViewBid) ||
        focused == static_cast<QWidget*>(ListViewNavi))
        static_cast<QAbstractItemView*>(focused)->selectAll();
    else
        SelectAll::select(focused,
                          SelectAll::LineEdits | SelectAll::ComboBoxes | SelectAll::PlainTexts);
}

int TFormNavi::checkedMessageFontSize() const
{
    for (QAction* item : MainMenuNaviFontSize)
        if (item->isChecked())
            return item->data().toInt();
    return 0;
}

void TFormNavi::setMessageFontSize(int points)
{
    for (QPlainTextEdit* memo : {MemoNavi, MemoBidNavi}) {
        QFont font = memo->font();
        font.setPointSize(points);
        memo->setFont(font);
    }
    for (QAction* item : MainMenuNaviFontSize)
        item->setChecked(item->data().toInt() == points);
    session.setMessageFontSize(points);
}

void TFormNavi::PageControlMainChange()
{
    PageControlMain->setFocus();
    const bool naviTab = PageControlMain->currentIndex() == 1;
    const QList<QWidget*> listingInputs = {
        LabelInputCarriage,      ComboBoxInputCarriage, ButtonCarriageWrite,
        LabelInputForwarding,    ComboBoxInputForwarding, EditInputForwarding,
        ButtonForwardingWrite,   CheckBoxMemo2PluralWrite};
    for (QWidget* input : listingInputs)
        input->setEnabled(!naviTab);
    for (QWidget* input : {static_cast<QWidget*>(ComboBoxInputCarriage),
                           static_cast<QWidget*>(ComboBoxInputForwarding),
                           static_cast<QWidget*>(EditInputForwarding)})
        setInputColour(input, naviTab ? QPalette::Light : QPalette::Base);

    for (QAction* flag : flagActions)
        enableCommand(flag, !naviTab);
    for (QAction* flag : {action("ActionFlgAllCheck"), action("ActionFlgAllCheckRemove")})
        enableCommand(flag, !naviTab);
    MainMenuFlg->setEnabled(!naviTab);
    MainMenuContact->setEnabled(!naviTab);
    MainMenuEvaluationFlg->setEnabled(!naviTab);
    enableCommand(ActionEvaluationMake, !naviTab);
    enableCommand(ActionCsvExportBidList, !naviTab);
    enableCommand(ActionCsvExportBidInfo, !naviTab);
    listingTab().refreshNaviActions();
    bidderPanel().showTabBidderInfo(naviTab);

    if (naviTab) {
        if (!naviPanesLaidOut) {
            naviPanesLaidOut = true;
            QTimer::singleShot(0, this, [this] { paneSizes.apply(); });
        }
        ProgressBarRange::start(ProgressBar2, naviListLoading ? naviListLoadCount : 0);
        if (TreeViewNavi->topLevelItemCount() == 0 && isDatabaseOpen())
            messageTab().loadFolderTree();
        ToolButtonBidSearch->setEnabled(false);
        ToolButtonNaviFind->setEnabled(true);
        statusPanels[1]->setText(QStringLiteral("件数：%1（未開封：%2）")
                                     .arg(ListViewNavi->rowCount())
                                     .arg(messageTab().shownUnreadCount));
        TreeViewNavi->viewport()->update();
    } else {
        ProgressBarRange::start(ProgressBar2, bidListLoading ? bidListLoadCount : 0);
        ToolButtonBidSearch->setEnabled(true);
        ToolButtonNaviFind->setEnabled(false);
        statusPanels[1]->setText(
            QStringLiteral("%1件").arg(ListViewBid->topLevelItemCount()));
    }
}

void TFormNavi::TasktrayIcon()
{
    // Drop the account items of an earlier call, then add one item per saved account.
    const QList<QAction*> items = PopupMenuTray->actions();
    for (int i = 0; i < items.size() - trayMenuFixedCount; ++i) {
        PopupMenuTray->removeAction(items[i]);
        items[i]->deleteLater();
    }
    QAction* firstFixed = PopupMenuTray->actions().value(0);
    QStringList accounts;
    for (int i = 0; i < ComboBoxLoginId->count(); ++i)
        accounts << ComboBoxLoginId->itemText(i);
    const QStringList captions = trayMenuAccountCaptions(accounts);
    for (int i = 0; i < captions.size(); ++i) {
        QAction* item = new QAction(PopupMenuTray);
        if (captions[i] == QLatin1String("-")) {
            item->setSeparator(true);
        } else {
            item->setText(captions[i]);
            item->setToolTip(accounts[i]);
            item->setData(accounts[i]);
        }
        PopupMenuTray->insertAction(firstFixed, item);
    }
    if (trayIcon)
        trayIcon->show();
}

void TFormNavi::PopupMenuTrayRestoreClick()
{
    if (trayIcon)
        trayIcon->hide();
    // showNormal() would drop a maximised window to its normal bounds.
    if (windowStateOnRestore(placement->stateBeforeMinimize()) == Qt::WindowMaximized)
        showMaximized();
    else
        showNormal();
    raise();
    activateWindow();
}

void TFormNavi::PopupMenuTrayAppExitClick()
{
    if (trayIcon)
        trayIcon->hide();
    close();
}

void TFormNavi::TimerTaskTrayLoginShowTimer()
{
    TimerTaskTrayLoginShow->stop();
}

void TFormNavi::buildTray()
{
    PopupMenuTray = new QMenu(this);
    PopupMenuTray->setObjectName("PopupMenuTray");
    QAction* restore = new QAction(QStringLiteral("元に戻す(&R)"), PopupMenuTray);
    restore->setObjectName("PopupMenuTrayRestore");
    QAction* separator = new QAction(PopupMenuTray);
    separator->setSeparator(true);
    QAction* exitApp = new QAction(QStringLiteral("アプリケーション終了(&X)"), PopupMenuTray);
    exitApp->setObjectName("PopupMenuTrayAppExit");
    PopupMenuTray->addAction(restore);
    PopupMenuTray->addAction(separator);
    PopupMenuTray->addAction(exitApp);
    connect(restore, &QAction::triggered, this, &TFormNavi::PopupMenuTrayRestoreClick);
    connect(exitApp, &QAction::triggered, this, &TFormNavi::PopupMenuTrayAppExitClick);

    setWindowIcon(tessalyIcon());
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        trayIcon = new QSystemTrayIcon(windowIcon(), this);
        trayIcon->setToolTip(CommonDefine::applicationTitle);
        trayIcon->setContextMenu(PopupMenuTray);
        connect(trayIcon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger)
                        PopupMenuTrayRestoreClick();
                });
    }
}

void TFormNavi::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized) &&
        !(static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized) &&
        options.taskTray) {
        // Minimising with the tray option hides the window into the notification area, once
        // its icon is there to bring it back.
        QTimer::singleShot(0, this, [this] {
            if (!isMinimized())
                return;
            TasktrayIcon();
            const bool iconVisible =
                trayIcon && trayIcon->isVisible() && !trayIcon->icon().isNull();
            if (hidesIntoTray(options.taskTray, QSystemTrayIcon::isSystemTrayAvailable(),
                              iconVisible))
                hide();
            else if (trayIcon)
                trayIcon->hide();
        });
    }
    QMainWindow::changeEvent(event);
}

bool TFormNavi::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        // Clicking the main window while a modal tool window is open gives that window the focus.
        for (QWidget* tool : {formSetting.data(), formBrowser.data(), formVersion.data(),
                              formNaviTemplate.data(), formEvaluationTemplate.data(),
                              m_controllers->listingTab ? m_controllers->listingTab->formNaviFind.data() : nullptr,
                              formPrintNaviMessage.data(),
                              formPrintNaviMessageSetting.data()}) {
            if (tool && tool->isVisible()) {
                tool->activateWindow();
                tool->setFocus();
            }
        }
    }
    return QMainWindow::event(event);
}

void TFormNavi::progressStart(int maximum)
{
    ProgressBarRange::start(ProgressBar, maximum);
}

void TFormNavi::progressStep()
{
    ProgressBar->setValue(ProgressBar->value() + 1);
}

void TFormNavi::fillComboBox(const QStringList& items, QComboBox* comboBox)
{
    // An editable combo box loses its text on clear(); the text stays as it was.
    const QString text = comboBox->currentText();
    comboBox->clear();
    comboBox->addItems(items);
    if (comboBox->isEditable())
        comboBox->setEditText(text);
}

void NaviWiring::connectSignals(TFormNavi& navi)
{
    QObject::connect(navi.action("MainMenuExit"), &QAction::triggered, &navi,
                     &TFormNavi::MainMenuExitClick);
    QObject::connect(navi.ActionAllSelect, &QAction::triggered, &navi,
                     &TFormNavi::ActionAllSelectExecute);
    QObject::connect(navi.action("PopupMenuListBoxMessageDelete"), &QAction::triggered, &navi,
                     &TFormNavi::PopupMenuListBoxMessageDeleteClick);
    QObject::connect(navi.ListBoxMessage, &QWidget::customContextMenuRequested, &navi,
                     [&navi](const QPoint& at) {
                         navi.PopupMenuListBoxMessage->popup(
                             navi.ListBoxMessage->viewport()->mapToGlobal(at));
                     });
    QObject::connect(navi.PageControlMain, &QTabWidget::currentChanged, &navi,
                     &TFormNavi::PageControlMainChange);
    // Selecting another page runs the tab switch through currentChanged; the current page
    // runs it once more, as a refresh.
    const auto showTab = [&navi](int page) {
        if (navi.PageControlMain->currentIndex() == page)
            navi.PageControlMainChange();
        else
            navi.PageControlMain->setCurrentIndex(page);
    };
    QObject::connect(navi.action("MainMenuViewShowBidTab"), &QAction::triggered, &navi,
                     [showTab] { showTab(0); });
    QObject::connect(navi.action("MainMenuViewShowNaviTab"), &QAction::triggered, &navi,
                     [showTab] { showTab(1); });
    QObject::connect(navi.TimerTaskTrayLoginShow, &QTimer::timeout, &navi,
                     &TFormNavi::TimerTaskTrayLoginShowTimer);
}
