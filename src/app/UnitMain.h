#pragma once

#include <QObject>

class SingleInstance;
class TFormNavi;
class UnixSignals;

// The start-up object that is never shown: it creates the main window and keeps the one
// pointer by which every other window and worker thread reaches it.
class TFormMain : public QObject
{
    Q_OBJECT
public:
    explicit TFormMain(QObject* parent = nullptr);
    ~TFormMain() override;

    void FormCreate();
    // From now on a stop signal closes the main window as the exit command does; one that came
    // while the window was being made closes it as soon as the event loop runs.
    void closeOnStopSignals(UnixSignals& stopSignals);
    // From now on a second start of the program brings the main window to the front.
    void answerSecondStarts(SingleInstance& instance);

    TFormNavi* formNavi = nullptr;
};

extern TFormMain* FormMain;
