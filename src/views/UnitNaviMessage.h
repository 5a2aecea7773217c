#pragma once

#include "common/NaviSession.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QStatusBar;
class QToolBar;
class QToolButton;
class WheelRouter;
class WindowPlacement;

// What an opener shows in a message viewer.
struct NaviMessageContent
{
    QString captionText;
    QString loginId;
    QString aid;
    QString title;
    QString bidId;
    QString bidName;
    QString message; // CR LF line breaks
    int number = 0;
    bool received = true;
};

// Where a viewer hands over to the composer: on the viewed message, a reply or a new message,
// opened in the viewer's place. Only while the session it works in lives; openComposer returns
// the composer's window.
struct NaviMessageHandOver
{
    QPointer<NaviSession> session;
    std::function<QWidget*(const NaviMessageContent& message, bool reply)> openComposer;

    bool available() const { return session && openComposer; }
};

// One message of a transaction board in a window of its own, read-only; from it the seller
// replies or writes a new message on the same board.
class TFormNaviMessage : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr const char* section = "NaviMessageWindow";

    // Without an available hand-over the reply and new-message commands do nothing.
    TFormNaviMessage(NaviMessageHandOver handOver, int messageFontSize);
    ~TFormNaviMessage() override;

    // Creates and shows a viewer, then fills it; a sent message offers only the new message,
    // a received one only the reply.
    static TFormNaviMessage* open(const NaviMessageHandOver& handOver,
                                  const NaviMessageContent& content, int messageFontSize);

    // The placement into another window's section: where the composer opens in its place.
    void writePlacement(const QString& sectionName) const;
    QWidget* hoverControl() const;

    // The composer that took the viewer's place, or nullptr.
    QWidget* ActionNaviReplyExecute();
    QWidget* ActionNaviMakeExecute();
    void ActionAllSelectExecute();

    QString captionText;
    QString loginId;
    int messageNumber = 0;

    QMenu* MainMenuFile = nullptr;
    QMenu* MainMenuView = nullptr;
    QMenu* MainMenuViewFontSize = nullptr;
    QMenu* PopupMenuFontSize = nullptr;
    QToolBar* ToolBarMain = nullptr;
    QToolButton* ToolButtonNaviMessageFontSize = nullptr;
    QWidget* PanelInfo = nullptr;
    QLineEdit* EditAid = nullptr;
    QLineEdit* EditTitle = nullptr;
    QLineEdit* EditBidId = nullptr;
    QLineEdit* EditBidName = nullptr;
    QPlainTextEdit* MemoMessage = nullptr;
    QStatusBar* StatusBar = nullptr;
    QAction* ActionNaviReply = nullptr;
    QAction* ActionNaviMake = nullptr;
    QAction* MeinMenuFileClose = nullptr;
    QAction* ActionAllSelect = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void connectSignals();
    void FormShow();
    void FormClose();
    // The hand-over to the composer: its placement and the viewed message, then this closes.
    QWidget* handOver(bool reply);

    NaviMessageHandOver m_handOver;
    int m_messageFontSize;
    bool m_shown = false;
    bool m_closed = false;
    WheelRouter* m_wheel = nullptr;
    WindowPlacement* m_placement = nullptr;
};
