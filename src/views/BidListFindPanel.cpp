#include "views/BidListFindPanel.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

BidListFindPanel::BidListFindPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("PanelBidListFind"));
    setFixedHeight(PanelHeight);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(4, 1, 4, 1);
    row->setSpacing(4);
    outer->addLayout(row, 1);

    LabelBidListFind = new QLabel(QStringLiteral("検索："), this);
    LabelBidListFind->setObjectName(QStringLiteral("LabelBidListFind"));
    EditBidListFind = new QLineEdit(this);
    EditBidListFind->setObjectName(QStringLiteral("EditBidListFind"));
    LabelBidListFind->setBuddy(EditBidListFind);
    ComboBoxBidListFind = new QComboBox(this);
    ComboBoxBidListFind->setObjectName(QStringLiteral("ComboBoxBidListFind"));
    ComboBoxBidListFind->addItems({QStringLiteral("商品ID"), QStringLiteral("商品名"),
                                   QStringLiteral("落札者"), QStringLiteral("氏名")});
    ComboBoxBidListFind->setCurrentIndex(1);

    const auto makeButton = [this](const char* name, const QString& text, const QString& hint) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setText(text);
        button->setToolTip(hint);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setAutoRaise(true);
        return button;
    };
    ToolButtonBidListFindNext =
        makeButton("ToolButtonBidListFindNext", QStringLiteral("次候補 "), {});
    ToolButtonBidListFindPrevious =
        makeButton("ToolButtonBidListFindPrevious", QStringLiteral("前候補 "), {});
    ToolButtonBidListFindClose =
        makeButton("ToolButtonBidListFindClose", QStringLiteral("×"), QStringLiteral("閉じる"));

    row->addWidget(LabelBidListFind);
    row->addWidget(EditBidListFind, 1);
    row->addWidget(ComboBoxBidListFind);
    row->addWidget(ToolButtonBidListFindNext);
    row->addWidget(ToolButtonBidListFindPrevious);
    row->addStretch(1);
    row->addWidget(ToolButtonBidListFindClose);

    ShapeBidListFind = new QFrame(this);
    ShapeBidListFind->setObjectName(QStringLiteral("ShapeBidListFind"));
    ShapeBidListFind->setFrameShape(QFrame::HLine);
    ShapeBidListFind->setFrameShadow(QFrame::Plain);
    ShapeBidListFind->setFixedHeight(1);
    outer->addWidget(ShapeBidListFind);

    connect(ToolButtonBidListFindNext, &QToolButton::clicked, this, [this] {
        if (!ToolButtonBidListFindNext->defaultAction())
            emit findNextRequested();
    });
    connect(ToolButtonBidListFindPrevious, &QToolButton::clicked, this, [this] {
        if (!ToolButtonBidListFindPrevious->defaultAction())
            emit findPreviousRequested();
    });
    connect(ToolButtonBidListFindClose, &QToolButton::clicked, this,
            &BidListFindPanel::ToolButtonBidListFindCloseClick);
    EditBidListFind->installEventFilter(this);
    ComboBoxBidListFind->installEventFilter(this);
    hide();
}

void BidListFindPanel::setFindActions(QAction* findNext, QAction* findPrevious)
{
    ToolButtonBidListFindNext->setDefaultAction(findNext);
    ToolButtonBidListFindPrevious->setDefaultAction(findPrevious);
    // The buttons keep their own captions, not the menu captions of the actions.
    ToolButtonBidListFindNext->setText(QStringLiteral("次候補 "));
    ToolButtonBidListFindPrevious->setText(QStringLiteral("前候補 "));
}

QString BidListFindPanel::findText() const
{
    return EditBidListFind->text();
}

int BidListFindPanel::findSubItem() const
{
    const int index = ComboBoxBidListFind->currentIndex();
    return index >= 0 && index <= 2 ? index : 3;
}

bool BidListFindPanel::ActionNaviFindExecute()
{
    if (isHidden()) {
        show();
        focusEdit();
        emit shownChanged(true);
        return true;
    }
    QWidget* focus = QApplication::focusWidget();
    if (focus != EditBidListFind && focus != ComboBoxBidListFind) {
        focusEdit();
        return true;
    }
    ToolButtonBidListFindCloseClick();
    return false;
}

void BidListFindPanel::ToolButtonBidListFindCloseClick()
{
    if (isHidden())
        return;
    hide();
    emit shownChanged(false);
}

void BidListFindPanel::setBottomLineVisible(bool visible)
{
    ShapeBidListFind->setVisible(visible);
}

void BidListFindPanel::focusEdit()
{
    EditBidListFind->setFocus(Qt::ShortcutFocusReason);
    EditBidListFind->selectAll();
}

void BidListFindPanel::updateInputMethod()
{
    // Ids ("商品ID", "落札者") are typed without the input method.
    const int index = ComboBoxBidListFind->currentIndex();
    EditBidListFind->setAttribute(Qt::WA_InputMethodEnabled, index != 0 && index != 2);
}

bool BidListFindPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == EditBidListFind && event->type() == QEvent::FocusIn)
        updateInputMethod();
    // Esc and Enter belong to the panel, not to the window's shortcuts (Esc stops a download).
    if (event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ShiftModifier)
                emit findPreviousRequested();
            else
                emit findNextRequested();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            ToolButtonBidListFindCloseClick();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}
