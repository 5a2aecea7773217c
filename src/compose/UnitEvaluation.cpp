#include "compose/UnitEvaluation.h"

#include "platform/ChildTeardown.h"
#include "common/CommonDefine.h"
#include "common/NaviSession.h"
#include "compose/ComposerFontMenus.h"
#include "compose/ComposerTemplateTree.h"
#include "compose/EvaluationSend.h"
#include "compose/FeedbackRating.h"
#include "compose/UnitEvaluationWrite.h"
#include "platform/Dialogs.h"
#include "platform/GuiThreadWait.h"
#include "platform/IniFile.h"
#include "site/htmlYahoo.h"
#include "views/MemoText.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Feedback is posted only while no download and no message post runs.
bool feedbackAllowed(const NaviSession& session)
{
    return !session.isBusy() && !session.postingMessage;
}

} // namespace

TFormEvaluation::TFormEvaluation(NaviSession& session, const FeedbackTarget& target,
                                 ComposerHooks hooks)
    : ComposerWindowBase(session, target, std::move(hooks),
                         CommonDefine::Section::EvaluationWindow),
      url(target.url)
{
    setObjectName("FormEvaluation");
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildMenus();
    buildLayout();
    buildStatusBar(250);
    finishFrame();
    connectSignals();
}

void TFormEvaluation::sessionEnded()
{
    if (writer)
        writer->abandon();
    m_templates.reset();
    deleteLater();
}

TFormEvaluation::~TFormEvaluation()
{
    detachChildren(this);
}

// ---- Layout ----

void TFormEvaluation::buildMenus()
{
    buildFrameCommands({"ActionMainTransmission", QStringLiteral("評価送信(&N)"),
                        QStringLiteral("評価送信"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G)},
                       {"ActionMainTransmissionStop", QStringLiteral("評価中止(&S)"),
                        QStringLiteral("評価送信中止"), QKeySequence(Qt::Key_Escape)},
                       &ActionMainTransmission, &ActionMainTransmissionStop);
    MainMenuView->addSeparator();
    MainMenuFontSize = MainMenuView->addMenu(QStringLiteral("フォントサイズ(&F)"));
    MainMenuFontSize->setObjectName("MainMenuFontSize");

    ToolButtonMainFontSize =
        addDropDownButton(ToolBarMain, "ToolButtonMainFontSize", QStringLiteral("フォントサイズ"));
    PopupMenuFontSize = new QMenu(this);
    PopupMenuFontSize->setObjectName("PopupMenuFontSize");
    ToolButtonMainFontSize->setMenu(PopupMenuFontSize);
}

void TFormEvaluation::buildLayout()
{
    QVBoxLayout* layout = buildCentralColumn();
    QVBoxLayout* right = buildTemplateSplitter(layout->parentWidget());
    layout->addWidget(SplitterBottom, 1);
    auto* options = new QHBoxLayout;
    options->addWidget(new QLabel(QStringLiteral("評価："), right->parentWidget()));
    ComboBoxEvaluation = new QComboBox(right->parentWidget());
    ComboBoxEvaluation->setObjectName("ComboBoxEvaluation");
    ComboBoxEvaluation->addItems(FeedbackRating::texts());
    ComboBoxEvaluation->setCurrentIndex(-1);
    options->addWidget(ComboBoxEvaluation);
    auto* notice = new QLabel(
        QStringLiteral("※氏名、住所、メールアドレスなどの個人情報は入力しないでください。"),
        right->parentWidget());
    notice->setStyleSheet(QStringLiteral("color: red;"));
    options->addWidget(notice);
    options->addStretch(1);
    right->addLayout(options);
    addFlagRow(right);
    addMessageText(right);
}

void TFormEvaluation::connectSignals()
{
    connect(ActionMainTransmission, &QAction::triggered, this,
            &TFormEvaluation::ActionMainTransmissionExecute);
    connect(ActionMainTransmissionStop, &QAction::triggered, this,
            &TFormEvaluation::ActionMainTransmissionStopExecute);
}

// ---- Show ----

void TFormEvaluation::FormShow()
{
    setWindowTitle(QStringLiteral("評価：") + title);
    readFrameSettings(IniFile(CommonDefine::settingIniPath()));
    takeMessageFont(MemoMessage);

    ActionMainTransmissionStop->setEnabled(false);
    sending = false;
    openTemplates(TemplateKind::Evaluation);
    buildTemplateMenuAndTree();
    connectTemplateTree(m_session.options.operationEvaluationTemplateTree);
    showTransactionFlags();

    MemoMessage->setFocus();
    ComposerFontMenus::fill(MainMenuFontSize, MemoMessage);
    ComposerFontMenus::fill(PopupMenuFontSize, MemoMessage);
    applyPanelSizes();
    QTimer::singleShot(0, this, &TFormEvaluation::applyPanelSizes);
}

// ---- Templates ----

void TFormEvaluation::buildTemplateMenuAndTree()
{
    const QStringList names = m_templates->names();
    addTemplateItems(MainMenuTemplate, names, [this](const QString& name) { applyTemplate(name); });
    fillTemplateTree(names);
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

// ---- Send ----

void TFormEvaluation::ActionMainTransmissionExecute()
{
    if (sending)
        return;
    const int rating = ComboBoxEvaluation->currentIndex();
    const QString comment = MemoText::get(MemoMessage);
    QString refusal = EvaluationSend::checkInput(rating, comment, feedbackAllowed(m_session));
    if (refusal.isEmpty()) {
        // Closing this window ends the check; closing another one does not.
        const GuiThreadWait::Owner belongsHere(this);
        htmlYahoo site;
        refusal = EvaluationSend::checkAccount(site, loginId);
    }
    if (!refusal.isEmpty()) {
        statusPanels[0]->setText(refusal);
        return;
    }
    const QString ratingText = FeedbackRating::texts().at(rating);
    if (m_session.options.confirmationEvaluationTransmission &&
        !Dialogs::askOkCancel(this, EvaluationSend::confirmCaption,
                              EvaluationSend::confirmationText(ratingText)))
        return;
    if (rating != 0 && !Dialogs::askOkCancel(this, EvaluationSend::confirmCaption,
                                             EvaluationSend::notBestQuestion))
        return;
    if (!feedbackAllowed(m_session)) {
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
    if (!isSessionAlive())
        return;
    updateProgressFlags();
    m_session.addLogMessage(EvaluationSend::sentLogLine(aid, title));
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

// ---- Close ----

void TFormEvaluation::closeEvent(QCloseEvent* event)
{
    if (!mayClose(EvaluationSend::closeQuestion)) {
        event->ignore();
        return;
    }
    if (isFirstShowDone())
        writeSection();
    // A post under way goes on in the hidden window, unless the program is ending: then it is
    // given up at once, as the message composer gives up its post when closed.
    if (writer && GuiThreadWait::isStopRequested())
        writer->abandon();
    event->accept();
}

void TFormEvaluation::writeSection()
{
    IniFile ini(CommonDefine::settingIniPath());
    IniFile::Batch batch(ini);
    writePlacement(ini);
    writeFrameSettings(ini);
    batch.save();
}
