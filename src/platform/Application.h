#pragma once

#include <QApplication>

// The application object. An exception thrown from an event handler is shown to the user and
// the event loop goes on, so no exception crosses Qt code.
class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
