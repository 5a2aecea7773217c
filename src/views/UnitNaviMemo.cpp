// The main window's small tools around the listing list: the carriage, forwarding and memo
// inputs, the copies of the current row's cells, the mail program, the three side panels of the
// listing tab and the status-bar click.
#include "app/UnitNavi.h"

#include "platform/Dialogs.h"
#include "platform/UrlOpener.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/CarriageKeys.h"
#include "views/ColumnWrite.h"
#include "views/EventHook.h"
#include "views/MailRecipient.h"
#include "views/MailtoUrl.h"
#include "views/StatusBarClick.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>
#include <optional>

namespace {

QToolButton* closeButton(const char* name, const char* hint, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QStringLiteral("×"));
    button->setToolTip(QString::fromUtf8(hint));
    button->setAutoRaise(true);
    return button;
}

// Places the edit over the combo box's text area, so only its drop-down button shows.
void coverComboText(QComboBox* combo, QLineEdit* edit)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = true;
    const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                       QStyle::SC_ComboBoxEditField, combo);
    edit->setGeometry(field);
}

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

void TFormNavi::buildMemoPanel()
{
    // Carriage and forwarding inputs: digits and numbers, the input method off. The editable
    // combo box, not its line edit, has the focus and takes the keys and the input method.
    ComboBoxInputCarriage->setInsertPolicy(QComboBox::NoInsert);
    for (QWidget* input : {static_cast<QWidget*>(ComboBoxInputCarriage),
                           static_cast<QWidget*>(ComboBoxInputCarriage->lineEdit()),
                           static_cast<QWidget*>(EditInputForwarding)}) {
        input->setInputMethodHints(Qt::ImhLatinOnly);
        input->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    ComboBoxInputForwarding->setFocusPolicy(Qt::ClickFocus);
    EditInputForwarding->setFrame(false);
    coverComboText(ComboBoxInputForwarding, EditInputForwarding);
    auto* cover = new EventHook(
        [this](QObject*, QEvent* event) {
            if (event->type() == QEvent::Resize || event->type() == QEvent::StyleChange)
                coverComboText(ComboBoxInputForwarding, EditInputForwarding);
            return false;
        },
        this);
    cover->watch(ComboBoxInputForwarding);

    auto* layout = new QHBoxLayout(PanelMemoWrite);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(3);
    LabelMemoWrite = new QLabel(QStringLiteral("メモ："), PanelMemoWrite);
    LabelMemoWrite->setObjectName("LabelMemoWrite");
    EditMemoWrite = new QLineEdit(PanelMemoWrite);
    EditMemoWrite->setObjectName("EditMemoWrite");
    ButtonMemoWrite = new QPushButton(QStringLiteral("書き込む"), PanelMemoWrite);
    ButtonMemoWrite->setObjectName("ButtonMemoWrite");
    ButtonMemoWrite->setToolTip(QStringLiteral("選択行にメモを書き込む"));
    ToolButtonPanelMemoWriteClose =
        closeButton("ToolButtonPanelMemoWriteClose", "メモ入力パネルを閉じる", PanelMemoWrite);
    layout->addWidget(LabelMemoWrite);
    layout->addWidget(EditMemoWrite, 1);
    layout->addWidget(ButtonMemoWrite);
    layout->addWidget(ToolButtonPanelMemoWriteClose);

    ToolButtonPanelBidNaviListClose =
        closeButton("ToolButtonPanelBidNaviListClose", "ナビパネルを閉じる", PanelBidNavi);
    PanelBidNavi->layout()->addWidget(ToolButtonPanelBidNaviListClose);
    PanelBidNavi->layout()->setAlignment(ToolButtonPanelBidNaviListClose, Qt::AlignTop);
}

// ---- Writing into the listing rows ----

void TFormNavi::writeBidListColumn(const QString& text, int column)
{
    const QList<int> targets = ColumnWrite::targetRows(ColumnWrite::rowsOf(ListViewBid), column,
                                                       CheckBoxMemo2PluralWrite->isChecked());
    if (targets.isEmpty() || !isDatabaseOpen())
        return;
    QList<BidRow> rows;
    QList<TransactionKey> keys;
    for (int index : targets) {
        const BidRow row = ListViewBid->bidItem(index);
        rows.append(row);
        keys.append({row->text(BidListColumns::column(BidListColumns::Aid)),
                     row->text(BidListColumns::column(BidListColumns::BidId))});
    }
    // A failed write throws before any cell changes.
    ColumnWrite::write(connection, column, text, keys);
    for (const BidRow& row : rows)
        row.setText(BidListColumns::column(column), text);
}

void TFormNavi::ButtonCarriageWriteClick()
{
    writeBidListColumn(ComboBoxInputCarriage->currentText(), BidListColumns::Carriage);
}

void TFormNavi::ButtonForwardingWriteClick()
{
    writeBidListColumn(EditInputForwarding->text(), BidListColumns::Forwarding);
}

void TFormNavi::ButtonMemoWriteClick()
{
    writeBidListColumn(EditMemoWrite->text(), BidListColumns::Remarks);
}

void TFormNavi::ComboBoxInputForwardingDropDown()
{
    forwardingComboIndex = ComboBoxInputForwarding->currentIndex();
}

void TFormNavi::ComboBoxInputForwardingCloseUp(int index)
{
    if (CarriageKeys::forwardingTakesItem(forwardingComboIndex, index)) {
        EditInputForwarding->setText(ComboBoxInputForwarding->itemText(index));
        EditInputForwarding->setFocus();
        EditInputForwarding->end(false);
    } else {
        EditInputForwarding->setFocus();
    }
    forwardingComboIndex = index;
}

// ---- Copies and the mail program ----

void TFormNavi::copyBidItemCell(int subItem)
{
    if (!currentBidItem)
        return;
    QGuiApplication::clipboard()->setText(currentBidItem->text(BidListColumns::column(subItem)));
}

void TFormNavi::ActionMailerStartExecute()
{
    if (!MailRecipient::isSingle(EditBidMail->text())) {
        Dialogs::showWarning(this, MailRecipient::refusalCaption, MailRecipient::refusalText);
        return;
    }
    const QUrl url = mailtoUrl(EditBidMail->text());
    // Without a program for "mailto:" nothing happens, as the shell would do.
    if (!url.isEmpty())
        UrlOpener::open(url);
}

// ---- Side panels ----

void TFormNavi::ActionShowBidInfoExecute()
{
    PanelBid->setVisible(ActionShowBidInfo->isChecked());
}

void TFormNavi::ActionShowMemoWriteExecute()
{
    PanelMemoWrite->setVisible(ActionShowMemoWrite->isChecked());
    updateBidListFindLine();
}

void TFormNavi::ActionShowBidNaviPanelExecute()
{
    const bool shown = ActionShowBidNaviPanel->isChecked();
    PanelBidNavi->setVisible(shown);
    updateBidListFindLine();
    MainMenuNavi->setEnabled(shown);
    if (shown) {
        if (const BidRow row = ListViewBid->firstSelectedItem())
            loadBidNaviList(row->text(BidListColumns::column(BidListColumns::Aid)),
                            row->text(BidListColumns::column(BidListColumns::BidId)), row);
    }
    // The message commands of the tab shown (the message tab keeps its folder's).
    refreshNaviActions();
}

void TFormNavi::StatusBarClick()
{
    QAction* command = nullptr;
    void (TFormNavi::*apply)() = nullptr;
    switch (statusBarClickPanel(options.operationStatusBarClick)) {
    case SidePanel::BidInfo:
        command = ActionShowBidInfo;
        apply = &TFormNavi::ActionShowBidInfoExecute;
        break;
    case SidePanel::MemoWrite:
        command = ActionShowMemoWrite;
        apply = &TFormNavi::ActionShowMemoWriteExecute;
        break;
    case SidePanel::BidNavi:
        command = ActionShowBidNaviPanel;
        apply = &TFormNavi::ActionShowBidNaviPanelExecute;
        break;
    case SidePanel::None:
        return;
    }
    command->setChecked(!command->isChecked());
    (this->*apply)();
}

void TFormNavi::connectMemoSignals()
{
    connect(ButtonCarriageWrite, &QPushButton::clicked, this, &TFormNavi::ButtonCarriageWriteClick);
    connect(ButtonForwardingWrite, &QPushButton::clicked, this,
            &TFormNavi::ButtonForwardingWriteClick);
    connect(ButtonMemoWrite, &QPushButton::clicked, this, &TFormNavi::ButtonMemoWriteClick);
    connect(EditInputForwarding, &QLineEdit::returnPressed, this,
            &TFormNavi::ButtonForwardingWriteClick);

    auto* forwardingKeys = new EventHook(
        [this](QObject*, QEvent* event) {
            if (event->type() != QEvent::KeyPress)
                return false;
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() != Qt::Key_Down || !(key->modifiers() & Qt::AltModifier))
                return false;
            ComboBoxInputForwarding->setFocus();
            ComboBoxInputForwarding->showPopup();
            return true;
        },
        this);
    forwardingKeys->watch(EditInputForwarding);

    // The combo box hands its keys to the line edit past any filter of the line edit's, so the
    // rule watches the combo box; the line edit too, for events sent to it directly.
    auto* carriageKeys = new EventHook(
        [this](QObject*, QEvent* event) {
            if (event->type() == QEvent::InputMethod) {
                const auto filtered = filteredCommit(static_cast<QInputMethodEvent*>(event));
                if (!filtered)
                    return false;
                QCoreApplication::sendEvent(ComboBoxInputCarriage->lineEdit(), filtered.get());
                return true;
            }
            if (event->type() != QEvent::KeyPress)
                return false;
            const std::optional<QChar> typed = typedCharacter(static_cast<QKeyEvent*>(event));
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
        },
        this);
    carriageKeys->watch(ComboBoxInputCarriage);
    carriageKeys->watch(ComboBoxInputCarriage->lineEdit());

    // The suggestions' list opening and closing; activated comes for the same item too.
    auto* popup = new EventHook(
        [this](QObject*, QEvent* event) {
            if (event->type() == QEvent::Show)
                ComboBoxInputForwardingDropDown();
            else if (event->type() == QEvent::Hide)
                EditInputForwarding->setFocus();
            return false;
        },
        this);
    popup->watch(ComboBoxInputForwarding->view()->window());
    connect(ComboBoxInputForwarding, &QComboBox::activated, this,
            &TFormNavi::ComboBoxInputForwardingCloseUp);

    auto* labelClick = new EventHook(
        [this](QObject*, QEvent* event) {
            if (event->type() == QEvent::MouseButtonRelease)
                EditMemoWrite->setFocus();
            return false;
        },
        this);
    labelClick->watch(LabelMemoWrite);

    const std::pair<const char*, int> copies[] = {
        {"ActionCopyAuctionId", BidListColumns::Aid},
        {"ActionCopyTitle", BidListColumns::Title},
        {"ActionCopyBidId", BidListColumns::BidId},
        {"ActionCopyBidName", BidListColumns::Name},
        {"ActionCopyPrice", BidListColumns::Price},
        {"ActionCopyForwarding", BidListColumns::Forwarding},
        {"ActionCopyMemo", BidListColumns::Remarks}};
    for (const auto& [name, subItem] : copies) {
        QAction* command = action(QString::fromLatin1(name));
        connect(command, &QAction::triggered, this,
                [this, subItem = subItem] { copyBidItemCell(subItem); });
        markWired(command);
        command->setEnabled(true);
    }
    QAction* mailer = action("ActionMailerStart");
    connect(mailer, &QAction::triggered, this, &TFormNavi::ActionMailerStartExecute);
    markWired(mailer);
    mailer->setEnabled(true);

    const std::pair<QAction*, void (TFormNavi::*)()> panels[] = {
        {ActionShowBidInfo, &TFormNavi::ActionShowBidInfoExecute},
        {ActionShowMemoWrite, &TFormNavi::ActionShowMemoWriteExecute},
        {ActionShowBidNaviPanel, &TFormNavi::ActionShowBidNaviPanelExecute}};
    for (const auto& [command, apply] : panels) {
        connect(command, &QAction::triggered, this, apply);
        markWired(command);
        command->setEnabled(true);
    }
    const std::pair<QToolButton*, QAction*> closers[] = {
        {ToolButtonPanelBidClose, ActionShowBidInfo},
        {ToolButtonPanelMemoWriteClose, ActionShowMemoWrite},
        {ToolButtonPanelBidNaviListClose, ActionShowBidNaviPanel}};
    for (int i = 0; i < 3; ++i) {
        QAction* command = closers[i].second;
        void (TFormNavi::*apply)() = panels[i].second;
        connect(closers[i].first, &QToolButton::clicked, this, [this, command, apply] {
            command->setChecked(false);
            (this->*apply)();
        });
    }

    // A click anywhere on the status bar, its panels and progress bars included.
    auto* statusClick = new EventHook(
        [this](QObject* watched, QEvent* event) {
            const bool bar = watched == ProgressBar || watched == ProgressBar2;
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
        },
        this);
    statusClick->watch(statusBar());
    statusClick->watch(statusPanels[0]->parentWidget());
    for (QLabel* panel : statusPanels)
        statusClick->watch(panel);
    statusClick->watch(ProgressBar);
    statusClick->watch(ProgressBar2);
}
