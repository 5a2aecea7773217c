#include "views/UnitNaviFind.h"

#include "platform/ChildTeardown.h"
#include "platform/CtrlClickSelect.h"
#include "platform/SelectAll.h"
#include "views/RadioButtonGroup.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormNaviFind::TFormNaviFind(QWidget* owner, QString& findText, int& findTarget,
                             std::function<void()> findNext, std::function<void()> findPrevious)
    : QDialog(owner), m_findText(findText), m_findTarget(findTarget),
      m_findNext(std::move(findNext)), m_findPrevious(std::move(findPrevious))
{
    setObjectName(QStringLiteral("FormNaviFind"));
    setWindowTitle(QStringLiteral("ナビ検索"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    buildLayout();

    EditFind->setText(m_findText);
    RadioGroupSearchObject->setItemIndex(m_findTarget);
    RadioGroup->setItemIndex(1);
    EditFind->selectAll();
    updateInputMethod();

    connect(ButtonOK, &QPushButton::clicked, this, &TFormNaviFind::ButtonOKClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ActionAllSelect, &QAction::triggered, this,
            [this] { SelectAll::selectFocused(this, SelectAll::LineEdits); });
    connect(RadioGroupSearchObject, &RadioButtonGroup::itemIndexChanged, this,
            &TFormNaviFind::updateInputMethod);
    CtrlClickSelect::install(EditFind);
}

TFormNaviFind::~TFormNaviFind()
{
    detachChildren(this);
}

void TFormNaviFind::buildLayout()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);

    auto* top = new QHBoxLayout;
    LabelFind = new QLabel(QStringLiteral("検索文字列："), this);
    LabelFind->setObjectName(QStringLiteral("LabelFind"));
    EditFind = new QLineEdit(this);
    EditFind->setObjectName(QStringLiteral("EditFind"));
    LabelFind->setBuddy(EditFind);
    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setDefault(true);
    top->addWidget(LabelFind);
    top->addWidget(EditFind, 1);
    top->addWidget(ButtonOK);
    layout->addLayout(top);

    auto* bottom = new QHBoxLayout;
    RadioGroup = new RadioButtonGroup(
        QStringLiteral("検索方向"), {QStringLiteral("上方向"), QStringLiteral("下方向")}, 2, this);
    RadioGroup->setObjectName(QStringLiteral("RadioGroup"));
    RadioGroupSearchObject = new RadioButtonGroup(
        QStringLiteral("検索対象"),
        {QStringLiteral("商品ID"), QStringLiteral("商品名"), QStringLiteral("投稿者"),
         QStringLiteral("氏名"), QStringLiteral("本文")},
        3, this);
    RadioGroupSearchObject->setObjectName(QStringLiteral("RadioGroupSearchObject"));
    ButtonCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    bottom->addWidget(RadioGroup);
    bottom->addWidget(RadioGroupSearchObject, 1);
    bottom->addWidget(ButtonCancel, 0, Qt::AlignTop);
    layout->addLayout(bottom);

    ActionAllSelect = new QAction(QStringLiteral("全て選択"), this);
    ActionAllSelect->setObjectName(QStringLiteral("ActionAllSelect"));
    ActionAllSelect->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    ActionAllSelect->setShortcutContext(Qt::WindowShortcut);
    addAction(ActionAllSelect);

    resize(QSize(450, 97).expandedTo(minimumSizeHint()));
}

void TFormNaviFind::ButtonOKClick()
{
    m_findText = EditFind->text();
    const int target = RadioGroupSearchObject->itemIndex();
    if (target >= 0)
        m_findTarget = target;
    if (RadioGroup->itemIndex() == 0) {
        if (m_findPrevious)
            m_findPrevious();
    } else if (m_findNext) {
        m_findNext();
    }
    accept();
}

void TFormNaviFind::updateInputMethod()
{
    // Ids ("商品ID", "投稿者") are typed without the input method.
    const int target = RadioGroupSearchObject->itemIndex();
    EditFind->setAttribute(Qt::WA_InputMethodEnabled,
                           target != TargetAid && target != TargetWriter);
}
