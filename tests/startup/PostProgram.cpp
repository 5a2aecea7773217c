// The program as its entry starts it, with the seller's part played by a script: once the main
// window has its account, the first listed transaction gets a post without a confirmation box:
// feedback with the flag "評価更新" (argument "feedback") or a message (argument "message").
// The test ends the program while the post waits on its pages: by the stop signal, or with the
// line "exit" on standard input, which runs the exit command.
#include "app/UnitMain.h"
#include "app/UnitNavi.h"
#include "common/CommonDefine.h"
#include "compose/ComposerTarget.h"
#include "compose/UnitEvaluation.h"
#include "compose/UnitReply.h"
#include "platform/Application.h"
#include "platform/GuiThreadWait.h"
#include "platform/UnixSignals.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/ListingTab.h"
#include "views/MemoText.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSocketNotifier>
#include <QTimer>

#include <unistd.h>

namespace {

void sendFeedback(TFormNavi* navi)
{
    navi->listingTab().ToolButtonBidSearchSearchClick();
    if (navi->ListViewBid->topLevelItemCount() == 0)
        return;
    navi->ListViewBid->topLevelItem(0)->setSelected(true);
    navi->options.confirmationEvaluationTransmission = false;
    navi->ActionEvaluationMake->trigger();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* form = qobject_cast<TFormEvaluation*>(window);
        if (!form)
            continue;
        form->ComboBoxEvaluation->setCurrentIndex(0);
        MemoText::set(form->MemoMessage, QStringLiteral("ありがとうございました"));
        form->CheckBoxFlgEvaluation->setChecked(true);
        form->ActionMainTransmission->trigger();
        return;
    }
}

void sendMessage(TFormNavi* navi)
{
    navi->listingTab().ToolButtonBidSearchSearchClick();
    if (navi->ListViewBid->topLevelItemCount() == 0)
        return;
    const BidRow row = navi->ListViewBid->topLevelItem(0);
    ReplyTarget target;
    target.aid = row->subItem(BidListColumns::Aid);
    target.bidId = row->subItem(BidListColumns::BidId);
    target.title = row->subItem(BidListColumns::Title);
    target.loginId = navi->loginId;
    navi->options.confirmationNaviTransmission = false;
    TFormReply* form = navi->openReplyComposer(target);
    form->RadioButtonSubjectFirst->setChecked(true);
    MemoText::set(form->MemoMessage, QStringLiteral("よろしくお願いします"));
    form->ActionSend->trigger();
}

} // namespace

int main(int argc, char** argv)
{
    Application app(argc, argv);
    app.setApplicationName(QStringLiteral("Tessaly"));
    app.setApplicationDisplayName(CommonDefine::applicationTitle);
    app.setQuitOnLastWindowClosed(false);

    TFormMain formMain;
    formMain.FormCreate();
    TFormNavi* navi = formMain.formNavi;
    // The stop signal closes the main window as the program's entry has it do.
    UnixSignals signalsToClose;
    QObject::connect(&signalsToClose, &UnixSignals::terminateRequested, navi,
                     [navi] { GuiThreadWait::runOutsideWaits(navi, [navi] { navi->close(); }); });

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, navi, [&input, navi] {
        char line[16] = {};
        const ssize_t read = ::read(STDIN_FILENO, line, sizeof line - 1);
        if (read <= 0) {
            input.setEnabled(false);
            return;
        }
        if (QByteArray(line).startsWith("exit"))
            navi->action("MainMenuExit")->trigger();
    });

    const bool feedback = app.arguments().value(1) == QStringLiteral("feedback");
    QTimer ready;
    QObject::connect(&ready, &QTimer::timeout, navi, [&ready, navi, feedback] {
        if (!navi->session.queries.ready || navi->loginId.isEmpty())
            return;
        ready.stop();
        if (feedback)
            sendFeedback(navi);
        else
            sendMessage(navi);
    });
    ready.start(20);
    return app.exec();
}
