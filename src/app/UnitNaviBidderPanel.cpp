// The main window's bidder panel: its fields laid out, the message memos' popup menu and the
// panel's commands wired to the panel's handlers.
#include "app/UnitNavi.h"

#include "app/NaviWiring.h"
#include "platform/CtrlClickSelect.h"
#include "views/BidderPanel.h"
#include "views/MessageTab.h"
#include "views/NaviFolderList.h"
#include "views/NaviSelectionDelay.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

void TFormNavi::buildBidderPanel()
{
    auto* layout = new QHBoxLayout(PanelBid);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(3);
    auto field = [this, layout](const char* name, const char* label, bool latin, int stretch) {
        auto* edit = new QLineEdit(PanelBid);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setInputMethodHints(latin ? Qt::ImhLatinOnly : Qt::ImhNone);
        layout->addWidget(new QLabel(QString::fromUtf8(label), PanelBid));
        layout->addWidget(edit, stretch);
        return edit;
    };
    EditBidId = field("EditBidId", "ID：", true, 2);
    EditBidId->setReadOnly(true);
    QPalette light = EditBidId->palette();
    light.setColor(QPalette::Base, light.color(QPalette::Light));
    EditBidId->setPalette(light);
    EditBidName = field("EditBidName", "氏名：", false, 2);
    EditBidMail = field("EditBidMail", "メール：", true, 3);
    EditBidPost = field("EditBidPost", "〒：", true, 1);
    EditBidAddress = field("EditBidAddress", "住所：", false, 5);
    EditBidTel = field("EditBidTel", "TEL：", true, 2);
    BitBtnBidSave = new QPushButton(QStringLiteral("保存"), PanelBid);
    BitBtnBidSave->setObjectName("BitBtnBidSave");
    layout->addWidget(BitBtnBidSave);
    ToolButtonPanelBidClose = new QToolButton(PanelBid);
    ToolButtonPanelBidClose->setObjectName("ToolButtonPanelBidClose");
    ToolButtonPanelBidClose->setText(QStringLiteral("×"));
    ToolButtonPanelBidClose->setToolTip(QStringLiteral("落札者情報入力パネルを閉じる"));
    ToolButtonPanelBidClose->setAutoRaise(true);
    layout->addWidget(ToolButtonPanelBidClose);
    PanelBid->setAcceptDrops(true);
}

void NaviWiring::connectBidderSignals(TFormNavi& navi)
{
    BidderPanel* panel = &navi.bidderPanel();
    // A Ctrl+click in any edit of the window selects its whole text.
    CtrlClickSelect::installBelow(&navi);

    navi.PopupMenuMemoNavi = new QMenu(&navi);
    navi.PopupMenuMemoNavi->setObjectName("PopupMenuMemoNavi");
    auto item = [&navi](const char* name, const char* caption, const QKeySequence& shortcut = {}) {
        QAction* created = navi.PopupMenuMemoNavi->addAction(QString::fromUtf8(caption));
        created->setObjectName(QString::fromLatin1(name));
        created->setShortcut(shortcut);
        created->setShortcutContext(Qt::WidgetShortcut);
        return created;
    };
    QObject::connect(item("PopupMenuMemoNaviCopy", "コピー(&C)", QKeySequence("Ctrl+C")),
                     &QAction::triggered, panel, &BidderPanel::PopupMenuMemoNaviCopyClick);
    QObject::connect(item("PopupMenuMemoNaviAllSelect", "全て選択(&A)", QKeySequence("Ctrl+A")),
                     &QAction::triggered, panel, &BidderPanel::PopupMenuMemoNaviAllSelectClick);
    navi.PopupMenuMemoNavi->addSeparator();
    QAction* getBidInfo = navi.action("ActionGetBidInfo");
    navi.PopupMenuMemoNavi->addAction(getBidInfo);
    QObject::connect(getBidInfo, &QAction::triggered, panel, &BidderPanel::extractBidderInfo);
    navi.markWired(getBidInfo);
    navi.PopupMenuMemoNavi->addSeparator();
    const std::tuple<const char*, const char*, void (BidderPanel::*)()> fieldItems[] = {
        {"PopupMenuMemoNaviName", "氏名(&N)", &BidderPanel::PopupMenuMemoNaviNameClick},
        {"PopupMenuMemoNaviMail", "メール(&M)", &BidderPanel::PopupMenuMemoNaviMailClick},
        {"PopupMenuMemoNaviPost", "郵便番号(&P)", &BidderPanel::PopupMenuMemoNaviPostClick},
        {"PopupMenuMemoNaviAddress1", "住所(&R)", &BidderPanel::PopupMenuMemoNaviAddress1Click},
        {"PopupMenuMemoNaviTel", "電話番号(&T)", &BidderPanel::PopupMenuMemoNaviTelClick}};
    for (const auto& [name, caption, click] : fieldItems)
        QObject::connect(item(name, caption), &QAction::triggered, panel, click);
    for (QPlainTextEdit* memo : {navi.MemoNavi, navi.MemoBidNavi}) {
        memo->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(memo, &QWidget::customContextMenuRequested, &navi,
                         [&navi, memo](const QPoint& at) {
                             navi.PopupMenuMemoNavi->popup(memo->viewport()->mapToGlobal(at));
                         });
    }
    // The message tab's chosen message names its winner.
    QObject::connect(navi.messageTab().naviSelectionDelay, &NaviSelectionDelay::detailShown, panel,
                     [&navi, panel](const QPersistentModelIndex& row) {
                         if (row.isValid())
                             panel->showBidderInfo(navi.ListViewNavi->text(row.row(), 3),
                                                   navi.ListViewNavi->text(row.row(), 4));
                     });
}
