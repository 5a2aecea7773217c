#include "platform/Application.h"

#include "platform/Dialogs.h"

#include <QWidget>

#include <exception>

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        Dialogs::showError(activeWindow(), applicationDisplayName(),
                           QString::fromUtf8(error.what()));
    } catch (...) {
        Dialogs::showError(activeWindow(), applicationDisplayName(),
                           QStringLiteral("予期しないエラーが発生しました。"));
    }
    return false;
}
