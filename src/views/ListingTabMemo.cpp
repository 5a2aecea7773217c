// The small tools around the listing list: the carriage, forwarding and memo inputs, the copies
// of the current row's cells, the three side panels of the listing tab and the status-bar click.
#include "views/ListingTab.h"

#include "common/NaviSession.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/CarriageKeys.h"
#include "views/ColumnWrite.h"
#include "views/StatusBarClick.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <memory>
#include <optional>

namespace {

// The character a key press types, with Enter as 13 and Backspace as 8; none for keys that type
// nothing (Tab, Delete, Esc, the arrows) and for shortcuts (Ctrl+V pastes unfiltered).
std::optional<QChar> typedCharacter(const QKeyEvent* key)
{
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        return QChar(13);
    if (key->key() == Qt::Key_Backspace)
        return QChar(8);
    if (key->text().isEmpty() || !key->text().at(0).isPrint())
        return std::nullopt;
    return key->text().at(0);
}

// An input-method event whose commit keeps only what may be typed into the carriage box; none
// when the commit is allowed as it stands.
std::unique_ptr<QInputMethodEvent> filteredCommit(const QInputMethodEvent* event)
{
    const QString kept = CarriageKeys::carriageCommitted(event->commitString());
    if (kept == event->commitString())
        return nullptr;
    auto filtered =
        std::make_unique<QInputMethodEvent>(event->preeditString(), event->attributes());
    filtered->setCommitString(kept, event->replacementStart(), event->replacementLength());
    return filtered;
}

} // namespace

// ---- The inputs ----

void ListingTab::setUpInputs()
{
    // Carriage and forwarding inputs: digits and numbers, the input method off. The editable
    // combo box, not its line edit, has the focus and takes the keys and the input method.
    w.ComboBoxInputCarriage->setInsertPolicy(QComboBox::NoInsert);
    for (QWidget* input : {static_cast<QWidget*>(w.ComboBoxInputCarriage),
                           static_cast<QWidget*>(w.ComboBoxInputCarriage->lineEdit()),
                           static_cast<QWidget*>(w.EditInputForwarding)}) {
        input->setInputMethodHints(Qt::ImhLatinOnly);
        input->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    w.ComboBoxInputForwarding->setFocusPolicy(Qt::ClickFocus);
    w.EditInputForwarding->setFrame(false);
    ComboBoxInputForwardingResize();
}

void ListingTab::ComboBoxInputForwardingResize()
{
    // The edit covers the combo box's text area, so only its drop-down button shows.
    QStyleOptionComboBox option;
    option.initFrom(w.ComboBoxInputForwarding);
    option.editable = true;
    const QRect field = w.ComboBoxInputForwarding->style()->subControlRect(
        QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, w.ComboBoxInputForwarding);
    w.EditInputForwarding->setGeometry(field);
}

bool ListingTab::EditInputForwardingKeyDown(const QKeyEvent* key)
{
    if (key->key() != Qt::Key_Down || !(key->modifiers() & Qt::AltModifier))
        return false;
    w.ComboBoxInputForwarding->setFocus();
    w.ComboBoxInputForwarding->showPopup();
    return true;
}

bool ListingTab::ComboBoxInputCarriageKeyPress(const QKeyEvent* key)
{
    const std::optional<QChar> typed = typedCharacter(key);
    if (!typed)
        return false;
    switch (CarriageKeys::carriageTyped(*typed)) {
    case CarriageKeys::Typed::Write:
        ButtonCarriageWriteClick();
        return true;
    case CarriageKeys::Typed::Keep:
        return false;
    case CarriageKeys::Typed::Discard:
        return true;
    }
    return false;
}

bool ListingTab::ComboBoxInputCarriageInputMethod(const QInputMethodEvent* event)
{
    const auto filtered = filteredCommit(event);
    if (!filtered)
        return false;
    QCoreApplication::sendEvent(w.ComboBoxInputCarriage->lineEdit(), filtered.get());
    return true;
}

void ListingTab::LabelMemoWriteClick()
{
    w.EditMemoWrite->setFocus();
}

// ---- Writing into the listing rows ----

void ListingTab::writeBidListColumn(const QString& text, int column)
{
    const QList<int> targets = ColumnWrite::targetRows(ColumnWrite::rowsOf(w.ListViewBid), column,
                                                       w.CheckBoxMemo2PluralWrite->isChecked());
    if (targets.isEmpty() || !m_session.connection.isOpen())
        return;
    QList<BidRow> rows;
    QList<TransactionKey> keys;
    for (int index : targets) {
        const BidRow row = w.ListViewBid->bidItem(index);
        rows.append(row);
        keys.append({row->text(BidListColumns::column(BidListColumns::Aid)),
                     row->text(BidListColumns::column(BidListColumns::BidId))});
    }
    // A failed write throws before any cell changes.
    ColumnWrite::write(m_session.connection, column, text, keys);
    for (const BidRow& row : rows)
        row.setText(BidListColumns::column(column), text);
}

void ListingTab::ButtonCarriageWriteClick()
{
    writeBidListColumn(w.ComboBoxInputCarriage->currentText(), BidListColumns::Carriage);
}

void ListingTab::ButtonForwardingWriteClick()
{
    writeBidListColumn(w.EditInputForwarding->text(), BidListColumns::Forwarding);
}

void ListingTab::ButtonMemoWriteClick()
{
    writeBidListColumn(w.EditMemoWrite->text(), BidListColumns::Remarks);
}

void ListingTab::ComboBoxInputForwardingDropDown()
{
    forwardingComboIndex = w.ComboBoxInputForwarding->currentIndex();
}

void ListingTab::ComboBoxInputForwardingCloseUp(int index)
{
    if (CarriageKeys::forwardingTakesItem(forwardingComboIndex, index)) {
        w.EditInputForwarding->setText(w.ComboBoxInputForwarding->itemText(index));
        w.EditInputForwarding->setFocus();
        w.EditInputForwarding->end(false);
    } else {
        w.EditInputForwarding->setFocus();
    }
    forwardingComboIndex = index;
}

void ListingTab::ComboBoxInputForwardingPopupHide()
{
    w.EditInputForwarding->setFocus();
}

// ---- Copies ----

void ListingTab::copyBidItemCell(int subItem)
{
    if (!currentBidItem)
        return;
    QGuiApplication::clipboard()->setText(currentBidItem->text(BidListColumns::column(subItem)));
}

// ---- Side panels ----

void ListingTab::ActionShowBidInfoExecute()
{
    w.PanelBid->setVisible(w.ActionShowBidInfo->isChecked());
}

void ListingTab::ActionShowMemoWriteExecute()
{
    w.PanelMemoWrite->setVisible(w.ActionShowMemoWrite->isChecked());
    updateBidListFindLine();
}

void ListingTab::ActionShowBidNaviPanelExecute()
{
    const bool shown = w.ActionShowBidNaviPanel->isChecked();
    w.PanelBidNavi->setVisible(shown);
    updateBidListFindLine();
    w.MainMenuNavi->setEnabled(shown);
    if (shown) {
        if (const BidRow row = w.ListViewBid->firstSelectedItem())
            loadBidNaviList(row->text(BidListColumns::column(BidListColumns::Aid)),
                            row->text(BidListColumns::column(BidListColumns::BidId)), row);
    }
    // The message commands of the tab shown (the message tab keeps its folder's).
    refreshNaviActions();
}

void ListingTab::StatusBarClick()
{
    QAction* command = nullptr;
    void (ListingTab::*apply)() = nullptr;
    switch (statusBarClickPanel(m_session.options.operationStatusBarClick)) {
    case SidePanel::BidInfo:
        command = w.ActionShowBidInfo;
        apply = &ListingTab::ActionShowBidInfoExecute;
        break;
    case SidePanel::MemoWrite:
        command = w.ActionShowMemoWrite;
        apply = &ListingTab::ActionShowMemoWriteExecute;
        break;
    case SidePanel::BidNavi:
        command = w.ActionShowBidNaviPanel;
        apply = &ListingTab::ActionShowBidNaviPanelExecute;
        break;
    case SidePanel::None:
        return;
    }
    command->setChecked(!command->isChecked());
    (this->*apply)();
}

bool ListingTab::StatusBarMouseEvent(QObject* watched, QEvent* event)
{
    // The progress bars take the press; elsewhere the left button's release counts.
    const bool bar = watched == w.ProgressBar || watched == w.ProgressBar2;
    if (event->type() == QEvent::MouseButtonPress && bar) {
        StatusBarClick();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        if (!bar && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            StatusBarClick();
        return true;
    }
    return false;
}
