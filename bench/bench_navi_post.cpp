// Posts a message through the hidden posting browser on a fake site on 127.0.0.1: the first
// post (the web engine started by it), then five more, and prints the wall time of each. With
// --composer each post is the reply composer's send command under the main window (account
// check, steps, board download started, flags, close). Run with QT_QPA_PLATFORM=offscreen
// (and QTWEBENGINE_DISABLE_SANDBOX=1 as root).
#include "BenchScale.h"
#include "support/FakeSite.h"
#include "support/NaviBoardSite.h"
#include "support/NaviPostSite.h"
#include "support/TestDataFolder.h"

#include "app/UnitNavi.h"
#include "compose/UnitNaviWrite.h"
#include "compose/UnitReply.h"
#include "site/LoginControl.h"
#include "site/htmlYahoo.h"
#include "views/MemoText.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTextStream>

#include <functional>

namespace {

// The steps as the reply composer drives them; -1 when the site did not confirm.
qint64 timedPost(QWidget* owner, int number)
{
    QElapsedTimer timer;
    timer.start();
    auto* writer = new TFormNaviWrite(owner);
    writer->show();
    writer->hide();
    writer->openContactPage(QStringLiteral("a100"), QStringLiteral("buyer01"));
    writer->waitForPage();
    writer->fillMessageForm(3, QStringLiteral("発送しました。\r\n番号 %1").arg(number));
    writer->waitForPage();
    writer->pressConfirmButton();
    writer->waitForPage();
    const bool completed = !writer->failed && writer->isPostCompleted();
    delete writer;
    return completed ? timer.elapsed() : -1;
}

// Runs events until done() holds or ten seconds have passed.
bool waitFor(const std::function<bool()>& done)
{
    const QDeadlineTimer deadline(10000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// One send from the composer, until the composer is freed and the board download has ended;
// the time of the send command itself, -1 when it did not close the composer.
qint64 timedComposerPost(TFormNavi& navi, int number)
{
    ReplyTarget target;
    target.title = QStringLiteral("時計");
    target.aid = QStringLiteral("a100");
    target.bidId = QStringLiteral("buyer01");
    target.loginId = navi.loginId;
    QPointer<TFormReply> form = navi.openReplyComposer(target);
    form->RadioButtonSubjectReceipt->setChecked(true);
    MemoText::set(form->MemoMessage, QStringLiteral("発送しました。\r\n番号 %1").arg(number));
    form->CheckBoxFlgReceipt->setChecked(true);
    QElapsedTimer timer;
    timer.start();
    form->ActionSend->trigger();
    const qint64 elapsed = timer.elapsed();
    const bool closed = waitFor([&] { return form.isNull() && navi.downloadKind == 0; });
    return closed ? elapsed : -1;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    // Later posts after the first: five times the scale factor (TESSALY_BENCH_SCALE).
    const int lastPost = 1 + 5 * BenchScale::factor(0, argv);

    TestDataFolder folder;
    FakeSite site;
    if (!site.start())
        return 1;
    NaviBoardSite boards(site, QStringLiteral("seller01"));
    boards.useAsSite();
    NaviPostSite postSite(site, boards, QStringLiteral("seller01"));
    postSite.setBoard(QStringLiteral("a100"), QStringLiteral("buyer01"), {});
    if (!htmlYahoo().login(QStringLiteral("seller01"), QStringLiteral("pw")))
        return 1;

    if (app.arguments().contains(QStringLiteral("--composer"))) {
        TFormNavi navi;
        navi.FormShow();
        if (!waitFor([&] { return navi.session.queries.ready; }))
            return 1;
        navi.loginControl().updateLoginId();
        out << "first send from the composer (engine start included): "
            << timedComposerPost(navi, 1) << " ms\n";
        for (int i = 2; i <= lastPost; ++i)
            out << "send " << i << ": " << timedComposerPost(navi, i) << " ms\n";
        out.flush();
        navi.close();
        return 0;
    }

    QWidget owner;
    out << "first post (engine start included): " << timedPost(&owner, 1) << " ms\n";
    for (int i = 2; i <= lastPost; ++i)
        out << "post " << i << ": " << timedPost(&owner, i) << " ms\n";
    out.flush();
    return 0;
}
