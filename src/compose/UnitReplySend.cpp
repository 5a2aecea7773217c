// The reply composer's send: the checks, the post through the hidden posting browser with its
// stop points, and what follows a successful post (the board download, the progress flags,
// the close).
#include "compose/UnitReply.h"

#include "common/NaviSession.h"
#include "compose/ReplySend.h"
#include "compose/UnitNaviWrite.h"
#include "platform/Dialogs.h"
#include "platform/GuiThreadWait.h"
#include "site/htmlYahoo.h"
#include "views/MemoText.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTreeWidget>

#include <exception>

namespace {

// Marks a send as under way for its whole run; the window is not freed by its close meanwhile.
class SendScope
{
public:
    SendScope(QWidget* window, bool& inSend) : m_window(window), m_inSend(inSend)
    {
        m_inSend = true;
        m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    ~SendScope()
    {
        m_inSend = false;
        m_window->setAttribute(Qt::WA_DeleteOnClose, true);
    }
    SendScope(const SendScope&) = delete;
    SendScope& operator=(const SendScope&) = delete;

private:
    QWidget* m_window;
    bool& m_inSend;
};

} // namespace

void TFormReply::ActionMainTransmissionExecute()
{
    if (sending || m_inSend || m_closed)
        return;
    bool closedDuringSend = false;
    {
        SendScope scope(this, m_inSend);

        const int subjectNumber = ReplySend::subjectNumber(
            RadioButtonSubjectFirst->isChecked(), RadioButtonSubjectPayment->isChecked(),
            RadioButtonSubjectReceipt->isChecked(), RadioButtonSubjectOthers->isChecked());
        const QString text = MemoText::get(MemoMessage);
        QString refusal =
            ReplySend::checkInput(subjectNumber, text, m_session.messagePostAllowed());
        if (refusal.isEmpty()) {
            // Closing this window ends the check; closing another one does not.
            const GuiThreadWait::Owner belongsHere(this);
            htmlYahoo site;
            refusal = ReplySend::checkAccount(site, loginId);
        }
        if (!refusal.isEmpty()) {
            addLog(refusal);
            return;
        }
        if (m_session.options.confirmationNaviTransmission &&
            !Dialogs::askOkCancel(this, ReplySend::confirmCaption,
                                  ReplySend::confirmationText(subjectNumber)))
            return;
        if (m_closed || !isSessionAlive()) {
            closedDuringSend = m_closed;
        } else if (!m_session.messagePostAllowed()) {
            // Something started while the question was open.
            addLog(ReplySend::busy);
            return;
        } else {
            m_session.beginMessagePost();
            sending = true;
            addLog(ReplySend::started);
            ActionSendStop->setEnabled(true);
            setSendControlsEnabled(false);

            auto* writer = new TFormNaviWrite(this);
            m_writer = writer;
            writer->show();
            writer->hide();
            const PostOutcome outcome = runPostSteps(*writer, subjectNumber, text);

            if (outcome == PostOutcome::Completed && !m_closed && isSessionAlive()) {
                if (m_hooks.messagePosted)
                    m_hooks.messagePosted(aid, title, bidId);
                m_session.endMessagePost();
                sending = false;
                updateProgressFlags();
                // The posting browser goes with the window.
                setAttribute(Qt::WA_DeleteOnClose, true);
                close();
                return;
            }
            delete m_writer.data();
            sending = false;
            if (isSessionAlive())
                m_session.endMessagePost();
            if (m_closed) {
                closedDuringSend = true;
            } else {
                if (outcome == PostOutcome::Stopped)
                    addLog(ReplySend::stopped);
                else if (outcome == PostOutcome::NotConfirmed)
                    addLog(ReplySend::notConfirmed);
                ActionSendStop->setEnabled(false);
                setSendControlsEnabled(true);
            }
        }
    }
    // Closed while the send ran: freed now that nothing of it is on the stack.
    if (closedDuringSend)
        deleteLater();
}

TFormReply::PostOutcome TFormReply::runPostSteps(TFormNaviWrite& writer, int subjectNumber,
                                                 const QString& text)
{
    QPointer<TFormNaviWrite> alive(&writer);
    // Closed, or given up because the program is ending: the post ends without a word.
    const auto gone = [&] { return m_closed || !alive || alive->isAbandoned(); };
    const auto stopRequested = [this] { return !ActionSendStop->isEnabled(); };
    const auto failure = [this] {
        Dialogs::showError(this, ReplySend::failureCaption, ReplySend::failureText);
        return PostOutcome::Failed;
    };
    try {
        if (stopRequested())
            return PostOutcome::Stopped;
        writer.openContactPage(aid, bidId);
        if (gone())
            return PostOutcome::Closed;
        if (writer.failed)
            return failure();
        writer.waitForPage();
        if (gone())
            return PostOutcome::Closed;
        if (stopRequested())
            return PostOutcome::Stopped;

        writer.fillMessageForm(subjectNumber, text);
        if (gone())
            return PostOutcome::Closed;
        if (writer.failed)
            return failure();
        writer.waitForPage();
        if (gone())
            return PostOutcome::Closed;
        if (stopRequested())
            return PostOutcome::Stopped;

        // From here on the post can no longer be stopped.
        ActionSendStop->setEnabled(false);
        writer.pressConfirmButton();
        bool completed = false;
        if (!gone() && !writer.failed) {
            writer.waitForPage();
            if (!gone())
                completed = writer.isPostCompleted();
        }
        if (gone())
            return PostOutcome::Closed;
        if (writer.failed)
            return failure();
        return completed ? PostOutcome::Completed : PostOutcome::NotConfirmed;
    } catch (const std::exception& error) {
        if (gone())
            return PostOutcome::Closed;
        Dialogs::showError(this, QApplication::applicationDisplayName(),
                           QString::fromUtf8(error.what()));
        return failure();
    }
}

void TFormReply::ActionMainTransmissionStopExecute()
{
    if (!sending || !ActionSendStop->isEnabled())
        return;
    if (Dialogs::askYesNo(this, ReplySend::confirmCaption, ReplySend::stopQuestion))
        ActionSendStop->setEnabled(false);
}

void TFormReply::setSendControlsEnabled(bool enabled)
{
    for (QWidget* control :
         {static_cast<QWidget*>(RadioButtonSubjectFirst),
          static_cast<QWidget*>(RadioButtonSubjectPayment),
          static_cast<QWidget*>(RadioButtonSubjectReceipt),
          static_cast<QWidget*>(RadioButtonSubjectOthers), static_cast<QWidget*>(MemoMessage),
          static_cast<QWidget*>(CheckBoxFlgPluralUpdate), static_cast<QWidget*>(TreeViewTemplate)})
        control->setEnabled(enabled);
    for (int i = 0; i < 5; ++i)
        flagBox(i)->setEnabled(enabled);
    ActionSend->setEnabled(enabled);
    for (QMenu* menu : {MainMenuTemplate, MainMenuTemplateInsert, MainMenuPersonal})
        menu->menuAction()->setEnabled(enabled);
}
