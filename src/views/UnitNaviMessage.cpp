#include "views/UnitNaviMessage.h"

#include "platform/ChildTeardown.h"
#include "common/CommonDefine.h"
#include "platform/CtrlClickSelect.h"
#include "platform/IniFile.h"
#include "platform/ParentlessWindow.h"
#include "platform/SelectAll.h"
#include "platform/WheelRouter.h"
#include "platform/WindowPlacement.h"
#include "views/FontSizeMenu.h"
#include "views/MemoText.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TFormNaviMessage::TFormNaviMessage(NaviMessageHandOver handOver, int messageFontSize)
    : m_handOver(std::move(handOver)), m_messageFontSize(messageFontSize)
{
    setObjectName("FormNaviMessage");
    ParentlessWindow::setUp(this);
    setWindowTitle(QStringLiteral("ナビメッセージ"));
    resize(640, 480);
    buildLayout();
    connectSignals();
    m_placement = new WindowPlacement(this, QString::fromLatin1(section),
                                      WindowPlacement::MinimisedAs::Normal);
}

TFormNaviMessage::~TFormNaviMessage()
{
    detachChildren(this);
}

void TFormNaviMessage::buildLayout()
{
    auto makeAction = [this](const char* name, const QString& caption, const QKeySequence& key) {
        auto* command = new QAction(caption, this);
        command->setObjectName(QString::fromLatin1(name));
        command->setShortcut(key);
        addAction(command);
        return command;
    };
    ActionNaviReply =
        makeAction("ActionNaviReply", QStringLiteral("返信(&R)"), QKeySequence("Ctrl+R"));
    ActionNaviReply->setToolTip(QStringLiteral("返信"));
    ActionNaviMake =
        makeAction("ActionNaviMake", QStringLiteral("ナビ投稿(&U)"), QKeySequence("Ctrl+M"));
    ActionNaviMake->setToolTip(QStringLiteral("ナビ投稿"));
    MeinMenuFileClose =
        makeAction("MeinMenuFileClose", QStringLiteral("閉じる(&C)"), QKeySequence(Qt::Key_Escape));
    ActionAllSelect =
        makeAction("ActionAllSelect", QStringLiteral("全て選択"), QKeySequence("Ctrl+A"));

    MainMenuFile = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    MainMenuFile->setObjectName("MainMenuFile");
    MainMenuFile->addAction(ActionNaviReply);
    MainMenuFile->addAction(ActionNaviMake);
    MainMenuFile->addSeparator();
    MainMenuFile->addAction(MeinMenuFileClose);
    MainMenuView = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    MainMenuView->setObjectName("MainMenuView");
    MainMenuViewFontSize = MainMenuView->addMenu(QStringLiteral("フォントサイズ"));
    MainMenuViewFontSize->setObjectName("MainMenuViewFontSize");

    ToolBarMain = addToolBar(QStringLiteral("ToolBarMain"));
    ToolBarMain->setObjectName("ToolBarMain");
    ToolBarMain->setMovable(false);
    ToolBarMain->addAction(ActionNaviReply);
    ToolBarMain->addAction(ActionNaviMake);
    PopupMenuFontSize = new QMenu(this);
    PopupMenuFontSize->setObjectName("PopupMenuFontSize");
    ToolButtonNaviMessageFontSize = new QToolButton(ToolBarMain);
    ToolButtonNaviMessageFontSize->setObjectName("ToolButtonNaviMessageFontSize");
    ToolButtonNaviMessageFontSize->setText(QStringLiteral("フォントサイズ"));
    ToolButtonNaviMessageFontSize->setToolTip(QStringLiteral("フォントサイズ"));
    ToolButtonNaviMessageFontSize->setMenu(PopupMenuFontSize);
    // A click on the button itself opens the menu too.
    ToolButtonNaviMessageFontSize->setPopupMode(QToolButton::InstantPopup);
    ToolBarMain->addWidget(ToolButtonNaviMessageFontSize);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    PanelInfo = new QWidget(central);
    PanelInfo->setObjectName("PanelInfo");
    auto* grid = new QGridLayout(PanelInfo);
    auto makeEdit = [this](const char* name) {
        auto* edit = new QLineEdit(PanelInfo);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setReadOnly(true);
        CtrlClickSelect::install(edit);
        return edit;
    };
    EditAid = makeEdit("EditAid");
    EditTitle = makeEdit("EditTitle");
    EditBidId = makeEdit("EditBidId");
    EditBidName = makeEdit("EditBidName");
    grid->addWidget(new QLabel(QStringLiteral("商品ID："), PanelInfo), 0, 0);
    grid->addWidget(EditAid, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("商品名："), PanelInfo), 0, 2);
    grid->addWidget(EditTitle, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("落札者ID："), PanelInfo), 1, 0);
    grid->addWidget(EditBidId, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("落札者："), PanelInfo), 1, 2);
    grid->addWidget(EditBidName, 1, 3);
    grid->setColumnStretch(3, 1);
    column->addWidget(PanelInfo);
    MemoMessage = new QPlainTextEdit(central);
    MemoMessage->setObjectName("MemoMessage");
    MemoMessage->setReadOnly(true);
    MemoMessage->setTabChangesFocus(true);
    MemoMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    column->addWidget(MemoMessage, 1);
    setCentralWidget(central);
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar");
    setStatusBar(StatusBar);
}

void TFormNaviMessage::connectSignals()
{
    connect(ActionNaviReply, &QAction::triggered, this, &TFormNaviMessage::ActionNaviReplyExecute);
    connect(ActionNaviMake, &QAction::triggered, this, &TFormNaviMessage::ActionNaviMakeExecute);
    connect(MeinMenuFileClose, &QAction::triggered, this, &QWidget::close);
    connect(ActionAllSelect, &QAction::triggered, this, &TFormNaviMessage::ActionAllSelectExecute);

    // The wheel scrolls or sizes the message text only; elsewhere it does nothing.
    m_wheel = new WheelRouter(this);
    m_wheel->track(MemoMessage, true);
    for (QWidget* control : {static_cast<QWidget*>(EditAid), static_cast<QWidget*>(EditTitle),
                             static_cast<QWidget*>(EditBidId), static_cast<QWidget*>(EditBidName),
                             static_cast<QWidget*>(this)})
        m_wheel->swallow(control);
    connect(m_wheel, &WheelRouter::fontStepRequested, this, [](QWidget* control, bool towardsUser) {
        WheelRouter::stepFont(control, towardsUser);
    });
}

TFormNaviMessage* TFormNaviMessage::open(const NaviMessageHandOver& handOver,
                                         const NaviMessageContent& content, int messageFontSize)
{
    auto* viewer = new TFormNaviMessage(handOver, messageFontSize);
    viewer->captionText = content.captionText;
    viewer->loginId = content.loginId;
    viewer->show();
    viewer->EditAid->setText(content.aid);
    viewer->EditTitle->setText(content.title);
    viewer->EditBidId->setText(content.bidId);
    viewer->EditBidName->setText(content.bidName);
    MemoText::set(viewer->MemoMessage, content.message);
    viewer->messageNumber = content.number;
    if (content.received)
        viewer->ActionNaviMake->setVisible(false);
    else
        viewer->ActionNaviReply->setVisible(false);
    return viewer;
}

QWidget* TFormNaviMessage::hoverControl() const
{
    return m_wheel->hoveredControl();
}

void TFormNaviMessage::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TFormNaviMessage::FormShow()
{
    setWindowTitle(captionText);
    const IniFile ini(CommonDefine::settingIniPath());
    if (m_placement->restore(ini) == 2)
        setWindowState(Qt::WindowMaximized);
    if (m_messageFontSize > 0) {
        QFont font = MemoMessage->font();
        font.setPointSize(m_messageFontSize);
        MemoMessage->setFont(font);
    }
    MemoMessage->setFocus();
    const auto setSize = [this](int size) {
        QFont font = MemoMessage->font();
        font.setPointSize(size);
        MemoMessage->setFont(font);
    };
    FontSizeMenu::append(MainMenuViewFontSize, setSize);
    FontSizeMenu::append(PopupMenuFontSize, setSize);
}

void TFormNaviMessage::writePlacement(const QString& sectionName) const
{
    IniFile ini(CommonDefine::settingIniPath());
    m_placement->saveTo(ini, sectionName);
}

void TFormNaviMessage::closeEvent(QCloseEvent* event)
{
    FormClose();
    QMainWindow::closeEvent(event);
}

void TFormNaviMessage::FormClose()
{
    if (m_closed || !m_shown)
        return;
    m_closed = true;
    writePlacement(QString::fromLatin1(section));
}

void TFormNaviMessage::ActionAllSelectExecute()
{
    if (!SelectAll::selectFocused(this, SelectAll::LineEdits))
        MemoMessage->selectAll();
}

QWidget* TFormNaviMessage::ActionNaviReplyExecute()
{
    // A hidden command does nothing, also through its shortcut.
    return ActionNaviReply->isVisible() ? handOver(true) : nullptr;
}

QWidget* TFormNaviMessage::ActionNaviMakeExecute()
{
    return ActionNaviMake->isVisible() ? handOver(false) : nullptr;
}

QWidget* TFormNaviMessage::handOver(bool reply)
{
    if (!m_handOver.available())
        return nullptr;
    // The composer reads this section when it is shown: it opens where the viewer is.
    writePlacement(CommonDefine::Section::ReplyWindow);
    NaviMessageContent message;
    message.captionText = captionText;
    message.loginId = loginId;
    message.aid = EditAid->text();
    message.title = EditTitle->text();
    message.bidId = EditBidId->text();
    message.bidName = EditBidName->text();
    message.message = MemoText::get(MemoMessage);
    message.number = messageNumber;
    QWidget* form = m_handOver.openComposer(message, reply);
    close();
    return form;
}
