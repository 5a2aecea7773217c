#include "app/UnitTaskTrayLoginMessage.h"

#include <QApplication>
#include <QLabel>
#include <QStyle>
#include <QTimer>

TFormTaskTrayLoginMessage::TFormTaskTrayLoginMessage()
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool)
{
    setObjectName("FormTaskTrayLoginMessage");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("ログイン結果"));
    setFixedSize(341, 33);
    const int iconSize = 16;
    ImageIconSuccess = new QLabel(this);
    ImageIconSuccess->setObjectName("ImageIconSuccess");
    ImageIconSuccess->setPixmap(
        style()->standardIcon(QStyle::SP_DialogApplyButton).pixmap(iconSize, iconSize));
    ImageIconFailure = new QLabel(this);
    ImageIconFailure->setObjectName("ImageIconFailure");
    ImageIconFailure->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(iconSize, iconSize));
    for (QLabel* image : {ImageIconSuccess, ImageIconFailure})
        image->setGeometry(8, 8, iconSize, iconSize);
    LabelLoginMessage = new QLabel(QStringLiteral("ログイン"), this);
    LabelLoginMessage->setObjectName("LabelLoginMessage");
    LabelLoginMessage->setTextFormat(Qt::PlainText);
    LabelLoginMessage->setGeometry(32, 8, 300, 18);
    Timer = new QTimer(this);
    Timer->setObjectName("Timer");
    Timer->setSingleShot(true);
    connect(Timer, &QTimer::timeout, this, &TFormTaskTrayLoginMessage::TimerTimer);
}

void TFormTaskTrayLoginMessage::showEvent(QShowEvent* event)
{
    move(0, 0);
    ImageIconSuccess->setVisible(loginSucceeded);
    ImageIconFailure->setVisible(!loginSucceeded);
    LabelLoginMessage->setText(loginId + (loginSucceeded ? QStringLiteral("：ログインしました")
                                                         : QStringLiteral("：ログインに失敗しました")));
    Timer->start(qMax(minimumShowTime, showTime));
    QWidget::showEvent(event);
}

void TFormTaskTrayLoginMessage::TimerTimer()
{
    Timer->stop();
    close();
}
