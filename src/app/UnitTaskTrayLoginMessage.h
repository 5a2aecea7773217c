#pragma once

#include <QWidget>

class QLabel;
class QTimer;

// The small topmost notice that reports a login started from the tray menu when balloon tips
// are not used. It stays in the screen's top left corner for showTime and then frees itself.
class TFormTaskTrayLoginMessage : public QWidget
{
    Q_OBJECT
public:
    TFormTaskTrayLoginMessage();

    bool loginSucceeded = false;
    QString loginId;
    int showTime = 2000;

    QLabel* LabelLoginMessage = nullptr;
    QLabel* ImageIconSuccess = nullptr;
    QLabel* ImageIconFailure = nullptr;
    QTimer* Timer = nullptr;

    // The shortest time the notice stays, whatever the settings say.
    static constexpr int minimumShowTime = 1000;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void TimerTimer();
};
