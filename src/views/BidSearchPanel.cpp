#include "views/BidSearchPanel.h"

#include "platform/IniFile.h"
#include "platform/SingleLineText.h"
#include "views/RadioButtonGroup.h"

#include <QContextMenuEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QToolBar>
#include <QToolButton>

namespace {

const QString Section = QStringLiteral("Main");

RadioButtonGroup* makeFlagGroup(const char* name, const QString& caption, QWidget* parent)
{
    auto* group = new RadioButtonGroup(
        caption, {QStringLiteral("済"), QStringLiteral("未"), QStringLiteral("両方")}, 3, parent);
    group->setObjectName(QLatin1String(name));
    group->setItemIndex(BidListQuery::FlagEither);
    return group;
}

QToolButton* makeToolButton(QToolBar* bar, const char* name, const QString& text,
                            const QString& hint)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setToolTip(hint);
    bar->addWidget(button);
    return button;
}

} // namespace

BidSearchPanel::BidSearchPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("PanelBidSearch"));
    setAutoFillBackground(true);
    buildLayout();
    connectSignals();
    expandBidSearchPanel(true);
}

void BidSearchPanel::buildLayout()
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(2);

    ToolBarBidSearch = new QToolBar(this);
    ToolBarBidSearch->setObjectName(QStringLiteral("ToolBarBidSearch"));
    ToolBarBidSearch->setOrientation(Qt::Vertical);
    ToolButtonBidSearchSearch = makeToolButton(ToolBarBidSearch, "ToolButtonBidSearchSearch",
                                               QStringLiteral("検索"), QStringLiteral("検索"));
    ToolButtonBidSearchClear = makeToolButton(ToolBarBidSearch, "ToolButtonBidSearchClear",
                                              QStringLiteral("クリア"), QString());
    layout->addWidget(ToolBarBidSearch);

    BevelBidSearch = new QFrame(this);
    BevelBidSearch->setObjectName(QStringLiteral("BevelBidSearch"));
    BevelBidSearch->setFrameShape(QFrame::VLine);
    BevelBidSearch->setFrameShadow(QFrame::Sunken);
    layout->addWidget(BevelBidSearch);

    auto* edits = new QGridLayout;
    edits->setSpacing(1);
    const auto addEdit = [this, edits](int row, const char* labelName, const QString& caption,
                                       const char* editName, bool inputMethod) {
        auto* label = new QLabel(caption, this);
        label->setObjectName(QLatin1String(labelName));
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(editName));
        edit->setMinimumWidth(80);
        // Ids are typed without the input method; titles with it.
        edit->setAttribute(Qt::WA_InputMethodEnabled, inputMethod);
        // The text is kept in setting.ini.
        SingleLineText::keepOnOneLine(edit);
        label->setBuddy(edit);
        edits->addWidget(label, row, 0);
        edits->addWidget(edit, row, 1);
        return std::pair{label, edit};
    };
    std::tie(LabelBidSearchName, EditBidSearchName) =
        addEdit(0, "LabelBidSearchName", QStringLiteral("落札者："), "EditBidSearchName", false);
    std::tie(LabelBidSearchId, EditBidSearchId) =
        addEdit(1, "LabelBidSearchId", QStringLiteral("商品ID："), "EditBidSearchId", false);
    std::tie(LabelBidSearchTitle, EditBidSearchTitle) =
        addEdit(2, "LabelBidSearchTitle", QStringLiteral("商品名："), "EditBidSearchTitle", true);
    layout->addLayout(edits, 2);

    RadioGroupBidFirst = makeFlagGroup("RadioGroupBidFirst", QStringLiteral("住所連絡"), this);
    RadioGroupBidPayment = makeFlagGroup("RadioGroupBidPayment", QStringLiteral("入金確認"), this);
    RadioGroupBidReceipt = makeFlagGroup("RadioGroupBidReceipt", QStringLiteral("発送"), this);
    RadioGroupBidEvaluation =
        makeFlagGroup("RadioGroupBidEvaluation", QStringLiteral("評価"), this);
    RadioGroupBidEnd = makeFlagGroup("RadioGroupBidEnd", QStringLiteral("終了"), this);
    for (RadioButtonGroup* group : {RadioGroupBidFirst, RadioGroupBidPayment, RadioGroupBidReceipt,
                                    RadioGroupBidEvaluation, RadioGroupBidEnd})
        layout->addWidget(group);
    layout->addStretch(1);

    ToolBarBidSearchClose = new QToolBar(this);
    ToolBarBidSearchClose->setObjectName(QStringLiteral("ToolBarBidSearchClose"));
    ToolButtonBidSearchClose =
        makeToolButton(ToolBarBidSearchClose, "ToolButtonBidSearchClose", QStringLiteral("×"),
                       QStringLiteral("検索パネルを隠す"));
    layout->addWidget(ToolBarBidSearchClose, 0, Qt::AlignTop);

    m_collapsedCaption = new QLabel(QStringLiteral("・・・・"), this);
    m_collapsedCaption->setAlignment(Qt::AlignCenter);
    m_collapsedCaption->setAttribute(Qt::WA_TransparentForMouseEvents);
    layout->addWidget(m_collapsedCaption, 1);

    PopupMenuPanelBidSearch = new QMenu(this);
    PopupMenuPanelBidSearch->setObjectName(QStringLiteral("PopupMenuPanelBidSearch"));
    QAction* search = PopupMenuPanelBidSearch->addAction(QStringLiteral("検索(&S)"));
    search->setObjectName(QStringLiteral("PopupMenuPanelBidSearchSearch"));
    connect(search, &QAction::triggered, this, &BidSearchPanel::requestSearch);
}

void BidSearchPanel::connectSignals()
{
    connect(ToolButtonBidSearchSearch, &QToolButton::clicked, this,
            &BidSearchPanel::searchRequested);
    connect(ToolButtonBidSearchClear, &QToolButton::clicked, this,
            &BidSearchPanel::ToolButtonBidSearchClearClick);
    connect(ToolButtonBidSearchClose, &QToolButton::clicked, this,
            [this] { expandBidSearchPanel(false); });
    for (QLineEdit* edit : {EditBidSearchName, EditBidSearchId, EditBidSearchTitle})
        connect(edit, &QLineEdit::returnPressed, this, &BidSearchPanel::requestSearch);
}

QList<QWidget*> BidSearchPanel::expandedControls() const
{
    return {ToolBarBidSearch,     BevelBidSearch,       LabelBidSearchName,
            LabelBidSearchId,     LabelBidSearchTitle,  EditBidSearchName,
            EditBidSearchId,      EditBidSearchTitle,   RadioGroupBidFirst,
            RadioGroupBidPayment, RadioGroupBidReceipt, RadioGroupBidEvaluation,
            RadioGroupBidEnd,     ToolBarBidSearchClose};
}

void BidSearchPanel::expandBidSearchPanel(bool expanded)
{
    m_expanded = expanded;
    setFixedHeight(expanded ? ExpandedHeight : CollapsedHeight);
    if (expanded) {
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        setLineWidth(1);
        setBackground(palette().color(QPalette::Midlight));
    } else {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
        setBackground(QColor());
    }
    for (QWidget* control : expandedControls())
        control->setVisible(expanded);
    m_collapsedCaption->setVisible(!expanded);
    layout()->setContentsMargins(expanded ? QMargins(2, 1, 2, 1) : QMargins());
}

void BidSearchPanel::setBackground(const QColor& color)
{
    QPalette p = palette();
    const QColor background = color.isValid()  ? color
                              : parentWidget() ? parentWidget()->palette().color(QPalette::Window)
                                               : QPalette().color(QPalette::Window);
    p.setColor(QPalette::Window, background);
    setPalette(p);
}

BidListQuery::Criteria BidSearchPanel::criteria() const
{
    BidListQuery::Criteria c;
    c.auctionId = EditBidSearchId->text();
    c.title = EditBidSearchTitle->text();
    c.bidderId = EditBidSearchName->text();
    c.first = RadioGroupBidFirst->itemIndex();
    c.payment = RadioGroupBidPayment->itemIndex();
    c.receipt = RadioGroupBidReceipt->itemIndex();
    c.evaluation = RadioGroupBidEvaluation->itemIndex();
    c.end = RadioGroupBidEnd->itemIndex();
    return c;
}

void BidSearchPanel::setCriteria(const BidListQuery::Criteria& criteria)
{
    EditBidSearchId->setText(criteria.auctionId);
    EditBidSearchTitle->setText(criteria.title);
    EditBidSearchName->setText(criteria.bidderId);
    RadioGroupBidFirst->setItemIndex(criteria.first);
    RadioGroupBidPayment->setItemIndex(criteria.payment);
    RadioGroupBidReceipt->setItemIndex(criteria.receipt);
    RadioGroupBidEvaluation->setItemIndex(criteria.evaluation);
    RadioGroupBidEnd->setItemIndex(criteria.end);
}

void BidSearchPanel::ToolButtonBidSearchClearClick()
{
    setCriteria(BidListQuery::Criteria());
}

void BidSearchPanel::readSettings(const IniFile& ini)
{
    BidListQuery::Criteria c;
    c.auctionId = ini.readString(Section, QStringLiteral("SearchBidAuctionId"), QString());
    c.title = ini.readString(Section, QStringLiteral("SearchBidTitle"), QString());
    c.bidderId = ini.readString(Section, QStringLiteral("SearchBidName"), QString());
    c.first = ini.readInteger(Section, QStringLiteral("SearchFirstMail"), 2);
    c.payment = ini.readInteger(Section, QStringLiteral("SearchPaymentMail"), 2);
    c.receipt = ini.readInteger(Section, QStringLiteral("SearchSendingMail"), 2);
    c.evaluation = ini.readInteger(Section, QStringLiteral("SearchEvaluationFlg"), 2);
    c.end = ini.readInteger(Section, QStringLiteral("SearchEndFlg"), 2);
    setCriteria(c);
    expandBidSearchPanel(ini.readBool(Section, QStringLiteral("BidSearchPanel"), true));
}

void BidSearchPanel::writeSettings(IniFile& ini) const
{
    const BidListQuery::Criteria c = criteria();
    ini.writeString(Section, QStringLiteral("SearchBidAuctionId"), c.auctionId);
    ini.writeString(Section, QStringLiteral("SearchBidTitle"), c.title);
    ini.writeString(Section, QStringLiteral("SearchBidName"), c.bidderId);
    ini.writeInteger(Section, QStringLiteral("SearchFirstMail"), c.first);
    ini.writeInteger(Section, QStringLiteral("SearchPaymentMail"), c.payment);
    ini.writeInteger(Section, QStringLiteral("SearchSendingMail"), c.receipt);
    ini.writeInteger(Section, QStringLiteral("SearchEvaluationFlg"), c.evaluation);
    ini.writeInteger(Section, QStringLiteral("SearchEndFlg"), c.end);
    ini.writeBool(Section, QStringLiteral("BidSearchPanel"), isExpanded());
}

void BidSearchPanel::setSearchEnabled(bool enabled)
{
    ToolButtonBidSearchSearch->setEnabled(enabled);
    PopupMenuPanelBidSearch->actions().first()->setEnabled(enabled);
}

bool BidSearchPanel::isSearchEnabled() const
{
    return ToolButtonBidSearchSearch->isEnabled();
}

void BidSearchPanel::requestSearch()
{
    if (isSearchEnabled())
        emit searchRequested();
}

void BidSearchPanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !m_expanded) {
        expandBidSearchPanel(true);
        event->accept();
        return;
    }
    QFrame::mousePressEvent(event);
}

void BidSearchPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        requestSearch();
        event->accept();
        return;
    }
    QFrame::mouseDoubleClickEvent(event);
}

void BidSearchPanel::enterEvent(QEnterEvent* event)
{
    // The collapsed strip lights up under the pointer so that it reads as clickable.
    if (!isExpanded())
        setBackground(QColor(0xC0, 0xC0, 0xC0));
    QFrame::enterEvent(event);
}

void BidSearchPanel::leaveEvent(QEvent* event)
{
    if (!isExpanded())
        setBackground(QColor());
    QFrame::leaveEvent(event);
}

void BidSearchPanel::contextMenuEvent(QContextMenuEvent* event)
{
    if (!isExpanded()) {
        PopupMenuPanelBidSearch->popup(event->globalPos());
        event->accept();
        return;
    }
    QFrame::contextMenuEvent(event);
}
