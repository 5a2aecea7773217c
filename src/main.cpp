#include "app/AppIcon.h"
#include "common/CommonDefine.h"
#include "app/UnitMain.h"
#include "platform/Application.h"
#include "platform/DataFolder.h"
#include "platform/DataFolderGuard.h"
#include "platform/Dialogs.h"
#include "platform/SingleInstance.h"
#include "platform/UnixSignals.h"

#include <exception>

namespace {

int refuseToStart(const QString& reason)
{
    Dialogs::showError(nullptr, CommonDefine::applicationTitle, reason);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    Application app(argc, argv);
    app.setApplicationName(QStringLiteral("Tessaly"));
    app.setApplicationDisplayName(CommonDefine::applicationTitle);
    app.setApplicationVersion(QStringLiteral(TESSALY_VERSION));
    app.setWindowIcon(tessalyIcon());
    // The main window may sit in the tray with no visible window; it quits the program itself.
    app.setQuitOnLastWindowClosed(false);

    // Caught from the start: a stop request while the database is opened or upgraded closes the
    // window once it stands; before that, it ends a box that the start-up shows.
    UnixSignals stopSignals;
    const QMetaObject::Connection endBoxes = QObject::connect(
        &stopSignals, &UnixSignals::terminateRequested, &app, [] { QCoreApplication::exit(); });

    const QString folder = DataFolder::path();
    if (const QString reason = DataFolderGuard::refusal(folder); !reason.isEmpty())
        return refuseToStart(reason);
    SingleInstance instance(folder);
    const SingleInstance::Outcome outcome =
        instance.acquire([&stopSignals] { return stopSignals.isTerminateRequested(); });
    if (outcome == SingleInstance::Outcome::LockFailed)
        return refuseToStart(instance.lockErrorText());
    if (outcome == SingleInstance::Outcome::OtherIsStarting && !stopSignals.isTerminateRequested())
        return refuseToStart(instance.unreachableText());
    if (outcome != SingleInstance::Outcome::First)
        return SingleInstance::exitCodeFor(outcome);
    DataFolderGuard::removeStaleTemporaries(folder);

    try {
        TFormMain formMain;
        formMain.FormCreate();
        QObject::disconnect(endBoxes);
        // A stop request is handled before the instance answers, so one sent as soon as the
        // running program can be found still closes it in order.
        formMain.closeOnStopSignals(stopSignals);
        formMain.answerSecondStarts(instance);
        app.exec();
    } catch (const std::exception& error) {
        Dialogs::showError(nullptr, CommonDefine::applicationTitle, QString::fromUtf8(error.what()));
    }
    return 0;
}
