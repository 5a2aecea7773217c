#pragma once

#include <QObject>

class TFormNavi;

// The start-up object that is never shown: it creates the main window and keeps the one
// pointer by which every other window and worker thread reaches it.
class TFormMain : public QObject
{
    Q_OBJECT
public:
    explicit TFormMain(QObject* parent = nullptr);
    ~TFormMain() override;

    void FormCreate();

    TFormNavi* formNavi = nullptr;
};

extern TFormMain* FormMain;
