#include "app/AppIcon.h"
#include "common/CommonDefine.h"
#include "app/UnitMain.h"
#include "app/UnitNavi.h"
#include "platform/Application.h"
#include "platform/DataFolder.h"
#include "platform/Dialogs.h"
#include "platform/GuiThreadWait.h"
#include "platform/SingleInstance.h"
#include "platform/UnixSignals.h"

#include <exception>

int main(int argc, char** argv)
{
    Application app(argc, argv);
    app.setApplicationName(QStringLiteral("Tessaly"));
    app.setApplicationDisplayName(CommonDefine::applicationTitle);
    app.setApplicationVersion(QStringLiteral(TESSALY_VERSION));
    app.setWindowIcon(tessalyIcon());
    // The main window may sit in the tray with no visible window; it quits the program itself.
    app.setQuitOnLastWindowClosed(false);

    SingleInstance instance(DataFolder::path());
    const SingleInstance::Outcome outcome = instance.acquire();
    if (outcome != SingleInstance::Outcome::First)
        return SingleInstance::exitCodeFor(outcome);

    try {
        TFormMain formMain;
        formMain.FormCreate();
        TFormNavi* navi = formMain.formNavi;
        // A stop request is handled before the instance answers, so one sent as soon as the
        // running program can be found still closes it in order.
        UnixSignals signalsToClose;
        // A request the window waits for has already ended; its operation unwinds first.
        QObject::connect(&signalsToClose, &UnixSignals::terminateRequested, navi, [navi] {
            GuiThreadWait::runOutsideWaits(navi, [navi] { navi->close(); });
        });
        instance.listen();
        QObject::connect(&instance, &SingleInstance::raiseRequested, navi,
                         &TFormNavi::raiseFromOutside);
        app.exec();
    } catch (const std::exception& error) {
        Dialogs::showError(nullptr, CommonDefine::applicationTitle, QString::fromUtf8(error.what()));
    }
    return 0;
}
