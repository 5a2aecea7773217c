// Posts a message through the hidden posting browser on a fake site on 127.0.0.1: the first
// post (the web engine started by it), then five more, and prints the wall time of each. Run
// with QT_QPA_PLATFORM=offscreen (and QTWEBENGINE_DISABLE_SANDBOX=1 as root).
#include "support/FakeSite.h"
#include "support/NaviBoardSite.h"
#include "support/NaviPostSite.h"
#include "support/TestDataFolder.h"

#include "compose/UnitNaviWrite.h"
#include "site/htmlYahoo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>

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

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);

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

    QWidget owner;
    out << "first post (engine start included): " << timedPost(&owner, 1) << " ms\n";
    for (int i = 2; i <= 6; ++i)
        out << "post " << i << ": " << timedPost(&owner, i) << " ms\n";
    out.flush();
    return 0;
}
