#include "compose/UnitEvaluation.h"

#include "common/CommonDefine.h"
#include "app/UnitNavi.h"
#include "compose/ComposerFlagRow.h"
#include "compose/ComposerFontMenus.h"
#include "compose/ComposerTemplateTree.h"
#include "compose/EvaluationSend.h"
#include "compose/FeedbackRating.h"
#include "compose/ProgressFlagUpdate.h"
#include "compose/ReplyData.h"
#include "compose/TemplateStore.h"
#include "compose/UnitEvaluationWrite.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/WheelRouter.h"
#include "platform/WindowPlacement.h"
#include "site/htmlYahoo.h"
#include "views/BidListView.h"
#include "views/BidListView.h"
#include "views/MemoText.h"
#include "views/ProgressFlags.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

namespace {

const QString& section()
{
    return CommonDefine::Section::EvaluationWindow;
}

// Feedback is posted only while no download and no message post runs.
bool feedbackAllowed(const TFormNavi& navi)
{
    return navi.downloadKind == 0 && !navi.postingMessage;
}

} // namespace

TFormEvaluation::TFormEvaluation(TFormNavi& navi) : QMainWindow(nullptr), m_navi(navi)
{
    setObjectName("FormEvaluation");
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildMenus();
    buildLayout();
    buildStatusBar();
    m_wheelRouter = new WheelRouter(this);
    m_wheelRouter->track(MemoMessage, true);
    m_wheelRouter->track(TreeViewTemplate);
    m_placement = new WindowPlacement(this, section(), WindowPlacement::MinimisedAs::Normal);
    connectSignals();
    // The window works on the main window's connection and lists: it ends with it.
    connect(&navi, &QObject::destroyed, this, [this] {
        if (writer)
            writer->abandon();
        m_templates.reset();
        deleteLater();
    });
}

TFormEvaluation::~TFormEvaluation() = default;

// ---- Layout ----

void TFormEvaluation::buildMenus()
{
    auto makeAction = [this](const char* name, const QString& caption, const QString& hint,
                             const QKeySequence& shortcut = QKeySequence()) {
        auto* created = new QAction(caption, this);
        created->setObjectName(QString::fromLatin1(name));
        created->setShortcut(shortcut);
        if (!hint.isEmpty())
            created->setToolTip(hint);
        addAction(created);
        return created;
    };
    ActionMainTransmission =
        makeAction("ActionMainTransmission", QStringLiteral("評価送信(&N)"),
                   QStringLiteral("評価送信"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G));
    ActionMainTransmissionStop =
        makeAction("ActionMainTransmissionStop", QStringLiteral("評価中止(&S)"),
                   QStringLiteral("評価送信中止"), QKeySequence(Qt::Key_Escape));
    ActionClose = makeAction("ActionClose", QStringLiteral("閉じる(&C)"), QString());
    ActionShowTemplateTree =
        makeAction("ActionShowTemplateTree", QStringLiteral("テンプレートツリー表示／非表示"),
                   QStringLiteral("テンプレートツリー表示／非表示"));
    ActionShowTemplateTree->setCheckable(true);
    ActionAllSelect = makeAction("ActionAllSelect", QStringLiteral("全て選択(&A)"), QString(),
                                 QKeySequence(Qt::CTRL | Qt::Key_A));

    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu");
    MainMenuFile = bar->addMenu(QStringLiteral("ファイル(&F)"));
    MainMenuFile->setObjectName("MainMenuFile");
    MainMenuFile->addAction(ActionMainTransmission);
    MainMenuFile->addAction(ActionMainTransmissionStop);
    MainMenuFile->addSeparator();
    MainMenuFile->addAction(ActionClose);
    MainMenuView = bar->addMenu(QStringLiteral("表示(&V)"));
    MainMenuView->setObjectName("MainMenuView");
    MainMenuView->addAction(ActionShowTemplateTree);
    MainMenuView->addSeparator();
    MainMenuFontSize = MainMenuView->addMenu(QStringLiteral("フォントサイズ(&F)"));
    MainMenuFontSize->setObjectName("MainMenuFontSize");
    MainMenuTemplate = bar->addMenu(QStringLiteral("テンプレート(&T)"));
    MainMenuTemplate->setObjectName("MainMenuTemplate");

    ToolBarMain = new QToolBar(this);
    ToolBarMain->setObjectName("ToolBarMain");
    ToolBarMain->addAction(ActionMainTransmission);
    ToolBarMain->addAction(ActionMainTransmissionStop);
    ToolBarMain->addSeparator();
    ToolBarMain->addAction(ActionShowTemplateTree);
    ToolButtonMainFontSize = new QToolButton(ToolBarMain);
    ToolButtonMainFontSize->setObjectName("ToolButtonMainFontSize");
    ToolButtonMainFontSize->setText(QStringLiteral("フォントサイズ"));
    ToolButtonMainFontSize->setToolTip(QStringLiteral("フォントサイズ"));
    // A click on the button itself opens its menu.
    ToolButtonMainFontSize->setPopupMode(QToolButton::InstantPopup);
    PopupMenuFontSize = new QMenu(this);
    PopupMenuFontSize->setObjectName("PopupMenuFontSize");
    ToolButtonMainFontSize->setMenu(PopupMenuFontSize);
    ToolBarMain->addWidget(ToolButtonMainFontSize);
    addToolBar(Qt::TopToolBarArea, ToolBarMain);
}

void TFormEvaluation::buildLayout()
{
    resize(900, 600);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* info = new QWidget(central);
    info->setObjectName("PanelInfo");
    auto* row = new QHBoxLayout(info);
    row->setContentsMargins(4, 2, 4, 2);
    const std::pair<QLineEdit**, std::pair<const char*, const char*>> fields[] = {
        {&EditAid, {"EditAid", "商品ID："}},
        {&EditTitle, {"EditTitle", "商品名："}},
        {&EditBidId, {"EditBidId", "落札者ID："}},
        {&EditBidName, {"EditBidName", "落札者："}},
    };
    for (const auto& [field, names] : fields) {
        auto* label = new QLabel(QString::fromUtf8(names.second), info);
        *field = new QLineEdit(info);
        (*field)->setObjectName(QString::fromLatin1(names.first));
        (*field)->setReadOnly(true);
        (*field)->installEventFilter(this);
        label->setBuddy(*field);
        row->addWidget(label);
        row->addWidget(*field, *field == EditTitle ? 3 : 1);
    }
    layout->addWidget(info);

    SplitterBottom = new QSplitter(Qt::Horizontal, central);
    SplitterBottom->setObjectName("SplitterBottom");
    SplitterBottom->setChildrenCollapsible(false);
    layout->addWidget(SplitterBottom, 1);
    PanelBottomLeft = ComposerTemplateTree::buildPanel(SplitterBottom, &ButtonTemplateTreeClose,
                                                       &TreeViewTemplate);

    auto* right = new QWidget(SplitterBottom);
    right->setObjectName("PanelBottomRight");
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(4, 2, 4, 2);
    rightLayout->setSpacing(2);
    auto* options = new QHBoxLayout;
    options->addWidget(new QLabel(QStringLiteral("評価："), right));
    ComboBoxEvaluation = new QComboBox(right);
    ComboBoxEvaluation->setObjectName("ComboBoxEvaluation");
    ComboBoxEvaluation->addItems(FeedbackRating::texts());
    ComboBoxEvaluation->setCurrentIndex(-1);
    options->addWidget(ComboBoxEvaluation);
    auto* notice = new QLabel(
        QStringLiteral("※氏名、住所、メールアドレスなどの個人情報は入力しないでください。"), right);
    notice->setStyleSheet(QStringLiteral("color: red;"));
    options->addWidget(notice);
    options->addStretch(1);
    rightLayout->addLayout(options);
    rightLayout->addLayout(ComposerFlagRow::build(
        right, {&CheckBoxFlgFirst, &CheckBoxFlgPayment, &CheckBoxFlgReceipt, &CheckBoxFlgEvaluation,
                &CheckBoxFlgEnd, &CheckBoxFlgPluralUpdate}));
    MemoMessage = new QPlainTextEdit(right);
    MemoMessage->setObjectName("MemoMessage");
    MemoMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoMessage->setMinimumHeight(20);
    rightLayout->addWidget(MemoMessage, 1);
    SplitterBottom->setStretchFactor(0, 0);
    SplitterBottom->setStretchFactor(1, 1);
    setCentralWidget(central);
}

void TFormEvaluation::buildStatusBar()
{
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar");
    for (int i = 0; i < 7; ++i) {
        statusPanels[i] = new QLabel(StatusBar);
        statusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        statusPanels[i]->setMinimumWidth(i == 0 ? 250 : 50);
        StatusBar->addWidget(statusPanels[i], i == 6 ? 1 : 0);
    }
    setStatusBar(StatusBar);
}

void TFormEvaluation::connectSignals()
{
    connect(ActionMainTransmission, &QAction::triggered, this,
            &TFormEvaluation::ActionMainTransmissionExecute);
    connect(ActionMainTransmissionStop, &QAction::triggered, this,
            &TFormEvaluation::ActionMainTransmissionStopExecute);
    connect(ActionClose, &QAction::triggered, this, &QWidget::close);
    connect(ActionAllSelect, &QAction::triggered, this, &TFormEvaluation::ActionAllSelectExecute);
    connect(ActionShowTemplateTree, &QAction::toggled, this, &TFormEvaluation::applyTemplatePanel);
    connect(ButtonTemplateTreeClose, &QToolButton::clicked, this,
            [this] { ActionShowTemplateTree->setChecked(false); });
    connect(m_wheelRouter, &WheelRouter::fontStepRequested, this,
            [](QWidget* control, bool towards) {
                // Only the comment's font follows Ctrl+wheel.
                if (qobject_cast<QPlainTextEdit*>(control))
                    ComposerFontMenus::stepFont(control, towards);
            });
}

// ---- Show ----

void TFormEvaluation::showEvent(QShowEvent* event)
{
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
    QMainWindow::showEvent(event);
}

void TFormEvaluation::FormShow()
{
    setWindowTitle(QStringLiteral("評価：") + title);
    const IniFile ini(CommonDefine::settingIniPath());
    const QString& s = section();
    if (m_placement->restore(ini) == 2)
        setWindowState(Qt::WindowMaximized);
    CheckBoxFlgPluralUpdate->setChecked(ini.readBool(s, "FlgPluralUpdate", false));

    const int fontSize = m_navi.MemoNavi->font().pointSize();
    if (fontSize > 0) {
        QFont font = MemoMessage->font();
        font.setPointSize(fontSize);
        MemoMessage->setFont(font);
    }

    m_templatePanelWidth = ini.readInteger(s, "TreeViewTemplateWidht", 185);
    ActionShowTemplateTree->setChecked(ini.readBool(s, "TreeViewTemplate", true));
    applyTemplatePanel();

    ActionMainTransmissionStop->setEnabled(false);
    sending = false;
    m_templates = std::make_unique<TemplateStore>(m_navi.connection, TemplateKind::Evaluation);
    buildTemplateMenuAndTree();
    ComposerTemplateTree::connectActivation(TreeViewTemplate,
                                            m_navi.options.operationEvaluationTemplateTree, this,
                                            &TFormEvaluation::TreeViewTemplateActivate);

    // The transaction's own flags (the winner's, not another's of the same listing).
    const ReplyData::Transaction row = ReplyData::readTransaction(m_navi.connection, aid, bidId);
    for (int i = 0; i < 5; ++i)
        statusPanels[i + 1]->setText(ReplyData::flagPanelText(i, row.flags[i]));

    MemoMessage->setFocus();
    ComposerFontMenus::fill(MainMenuFontSize, MemoMessage);
    ComposerFontMenus::fill(PopupMenuFontSize, MemoMessage);
    applyPanelSizes();
    QTimer::singleShot(0, this, &TFormEvaluation::applyPanelSizes);
}

void TFormEvaluation::applyPanelSizes()
{
    const QList<int> sizes = SplitterBottom->sizes();
    if (sizes.size() == 2) {
        const int total = qMax(sizes[0] + sizes[1], m_templatePanelWidth + 50);
        SplitterBottom->setSizes({m_templatePanelWidth, total - m_templatePanelWidth});
    }
}

void TFormEvaluation::applyTemplatePanel()
{
    const bool shown = ActionShowTemplateTree->isChecked();
    if (!shown && PanelBottomLeft->isVisible())
        m_templatePanelWidth = PanelBottomLeft->width();
    PanelBottomLeft->setVisible(shown);
    if (shown && m_shown)
        QTimer::singleShot(0, this, &TFormEvaluation::applyPanelSizes);
}

// ---- Templates ----

void TFormEvaluation::buildTemplateMenuAndTree()
{
    const QStringList names = m_templates->names();
    MainMenuTemplate->clear();
    for (const QString& name : names) {
        QAction* apply = MainMenuTemplate->addAction(name);
        apply->setToolTip(name);
        connect(apply, &QAction::triggered, this,
                [this, apply] { applyTemplate(apply->toolTip()); });
    }
    TreeViewTemplate->clear();
    ComposerTemplateTree::addGroup(TreeViewTemplate, QStringLiteral("テンプレート"), 0, names,
                                   ComposerTemplateTree::TemplateNode,
                                   ComposerTemplateTree::templateIcon(this));
    TreeViewTemplate->expandAll();
    TreeViewTemplate->setCurrentItem(TreeViewTemplate->topLevelItem(0));
}

void TFormEvaluation::applyTemplate(const QString& name)
{
    if (!m_templates)
        return;
    const std::optional<TemplateRecord> record = m_templates->find(name);
    if (!record)
        return;
    ComboBoxEvaluation->setCurrentIndex(record->choice >= 0 && record->choice < 5 ? record->choice
                                                                                  : -1);
    MemoText::set(MemoMessage, record->message);
    for (int i = 0; i < 5; ++i)
        flagBox(i)->setChecked(record->flags[i]);
}

void TFormEvaluation::TreeViewTemplateActivate(QTreeWidgetItem* node)
{
    if (!node)
        node = TreeViewTemplate->currentItem();
    if (node && node->data(0, ComposerTemplateTree::nodeKindRole).toInt() ==
                    ComposerTemplateTree::TemplateNode)
        applyTemplate(node->text(0));
}

QCheckBox* TFormEvaluation::flagBox(int index) const
{
    QCheckBox* const boxes[] = {CheckBoxFlgFirst, CheckBoxFlgPayment, CheckBoxFlgReceipt,
                                CheckBoxFlgEvaluation, CheckBoxFlgEnd};
    return boxes[index];
}

// ---- Send ----

void TFormEvaluation::ActionMainTransmissionExecute()
{
    if (sending)
        return;
    const int rating = ComboBoxEvaluation->currentIndex();
    const QString comment = MemoText::get(MemoMessage);
    QString refusal = EvaluationSend::checkInput(rating, comment, feedbackAllowed(m_navi));
    if (refusal.isEmpty()) {
        htmlYahoo site;
        refusal = EvaluationSend::checkAccount(site, loginId);
    }
    if (!refusal.isEmpty()) {
        statusPanels[0]->setText(refusal);
        return;
    }
    const QString ratingText = FeedbackRating::texts().at(rating);
    if (m_navi.options.confirmationEvaluationTransmission &&
        !Dialogs::askOkCancel(this, EvaluationSend::confirmCaption,
                              EvaluationSend::confirmationText(ratingText)))
        return;
    if (rating != 0 && !Dialogs::askOkCancel(this, EvaluationSend::confirmCaption,
                                             EvaluationSend::notBestQuestion))
        return;
    if (!feedbackAllowed(m_navi)) {
        // A download or a message post started while a question was open.
        statusPanels[0]->setText(EvaluationSend::busy);
        return;
    }

    sending = true;
    statusPanels[0]->setText(EvaluationSend::started);
    ActionMainTransmissionStop->setEnabled(true);
    setInputEnabled(false);

    QPointer<TFormEvaluation> self(this);
    bool notSent = false;
    const bool sent = post(rating, comment, notSent);
    if (!self)
        return;
    if (!sent) {
        endPost(notSent);
        return;
    }
    sending = false;
    ActionMainTransmissionStop->setEnabled(false);
    setInputEnabled(true);
    updateProgressFlags();
    m_navi.addLogMessage(EvaluationSend::sentLogLine(aid, title));
    close();
}

bool TFormEvaluation::post(int rating, const QString& comment, bool& notSent)
{
    auto* poster = new TFormEvaluationWrite(this);
    writer = poster;
    poster->url = url;
    poster->bidId = bidId;
    poster->aid = aid;
    poster->ratingText = FeedbackRating::texts().at(rating);
    poster->show();
    poster->hide();

    QPointer<TFormEvaluation> self(this);
    // The seller stopped: the stop command is no longer enabled.
    const auto stopped = [&] { return !self || !ActionMainTransmissionStop->isEnabled(); };
    // The step failed, or the window went away under it; a reason of the poster's is shown.
    const auto failedStep = [&] {
        if (!self || !writer)
            return true;
        if (!writer->failed)
            return false;
        if (!writer->errorText.isEmpty())
            Dialogs::showError(this, EvaluationSend::failureCaption, writer->errorText);
        return true;
    };

    if (stopped())
        return false;
    writer->openFeedbackPage();
    writer->waitForPage();
    if (failedStep() || stopped())
        return false;
    writer->fillFeedbackForm(rating + 1, comment);
    if (writer)
        writer->waitForPage();
    if (failedStep() || stopped())
        return false;
    // From here on the post can no longer be stopped.
    ActionMainTransmissionStop->setEnabled(false);
    const bool confirmed = writer->checkConfirmationRating();
    if (!self)
        return false;
    if (!confirmed) {
        if (writer && !writer->errorText.isEmpty())
            Dialogs::showError(this, EvaluationSend::failureCaption, writer->errorText);
        return false;
    }
    writer->pressSendButton();
    if (writer)
        writer->waitForPage();
    const bool sent = writer && writer->isFeedbackSent();
    if (!self)
        return false;
    delete writer.data();
    if (!sent) {
        notSent = true;
        statusPanels[0]->setText(EvaluationSend::notSent);
    }
    return sent;
}

void TFormEvaluation::endPost(bool notSent)
{
    delete writer.data();
    if (!notSent)
        statusPanels[0]->setText(EvaluationSend::stopped);
    sending = false;
    ActionMainTransmissionStop->setEnabled(false);
    setInputEnabled(true);
}

void TFormEvaluation::setInputEnabled(bool enabled)
{
    ComboBoxEvaluation->setEnabled(enabled);
    MemoMessage->setEnabled(enabled);
    ActionMainTransmission->setEnabled(enabled);
    for (QCheckBox* box : {CheckBoxFlgFirst, CheckBoxFlgPayment, CheckBoxFlgReceipt,
                           CheckBoxFlgEvaluation, CheckBoxFlgEnd, CheckBoxFlgPluralUpdate})
        box->setEnabled(enabled);
    MainMenuTemplate->setEnabled(enabled);
    TreeViewTemplate->setEnabled(enabled);
}

void TFormEvaluation::ActionMainTransmissionStopExecute()
{
    if (!ActionMainTransmissionStop->isEnabled())
        return;
    if (Dialogs::askYesNo(this, EvaluationSend::confirmCaption, EvaluationSend::stopQuestion))
        ActionMainTransmissionStop->setEnabled(false);
}

void TFormEvaluation::updateProgressFlags()
{
    ProgressFlagUpdate::Choice choice;
    choice.first = CheckBoxFlgFirst->isChecked();
    choice.payment = CheckBoxFlgPayment->isChecked();
    choice.receipt = CheckBoxFlgReceipt->isChecked();
    choice.evaluation = CheckBoxFlgEvaluation->isChecked();
    choice.end = CheckBoxFlgEnd->isChecked();
    if (!choice.any())
        return;
    const QString value =
        flagValue(m_navi.options.bidFlg, m_navi.options.bidFlgString, QDate::currentDate());
    QList<ProgressFlagUpdate::ListedRow> rows;
    BidListView* list = m_navi.ListViewBid;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const BidRow item = list->topLevelItem(i);
        rows.append({item->subItem(0), item->subItem(2)});
    }
    const QList<int> touched = ProgressFlagUpdate::apply(
        m_navi.connection, choice, value, aid, bidId, rows, CheckBoxFlgPluralUpdate->isChecked());
    const QList<int> cells = ProgressFlagUpdate::cells(choice);
    for (int index : touched) {
        const BidRow item = list->topLevelItem(index);
        for (int cell : cells)
            item->setSubItem(cell, value);
    }
}

// ---- Editing aids ----

void TFormEvaluation::ActionAllSelectExecute()
{
    QWidget* focused = QApplication::focusWidget();
    if (auto* edit = qobject_cast<QLineEdit*>(focused))
        edit->selectAll();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(focused))
        memo->selectAll();
}

QWidget* TFormEvaluation::hoverHandle() const
{
    return m_wheelRouter->hoveredControl();
}

bool TFormEvaluation::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (edit && mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier))
            edit->selectAll();
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- Close ----

void TFormEvaluation::closeEvent(QCloseEvent* event)
{
    if (sending && !Dialogs::askOkCancel(this, EvaluationSend::confirmCaption,
                                         EvaluationSend::closeQuestion)) {
        event->ignore();
        return;
    }
    if (m_shown)
        writeSection();
    event->accept();
}

void TFormEvaluation::writeSection()
{
    IniFile ini(CommonDefine::settingIniPath());
    IniFile::Batch batch(ini);
    const QString& s = section();
    m_placement->save(ini);
    ini.writeBool(s, "FlgPluralUpdate", CheckBoxFlgPluralUpdate->isChecked());
    ini.writeBool(s, "TreeViewTemplate", ActionShowTemplateTree->isChecked());
    if (PanelBottomLeft->isVisible())
        m_templatePanelWidth = PanelBottomLeft->width();
    ini.writeInteger(s, "TreeViewTemplateWidht", m_templatePanelWidth);
    batch.save();
}
