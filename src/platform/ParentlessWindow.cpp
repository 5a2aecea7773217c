#include "platform/ParentlessWindow.h"

#include <QWidget>

void ParentlessWindow::setUp(QWidget* window)
{
    window->setParent(nullptr);
    window->setWindowFlag(Qt::Window, true);
    window->setAttribute(Qt::WA_DeleteOnClose, true);
    window->setAttribute(Qt::WA_QuitOnClose, false);
}
