// The main window's bidder panel: the winner's data shown from the cache or the database,
// saved back, picked out of the message shown, and the message memos' popup menu.
#include "app/UnitNavi.h"

#include "platform/CtrlClickSelect.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/BidderDrop.h"
#include "views/BidderInfoExtraction.h"
#include "views/EventHook.h"
#include "views/ListingTab.h"
#include "views/MemoText.h"
#include "views/NaviDropRule.h"
#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"
#include "views/NaviSelectionDelay.h"

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

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

void TFormNavi::showBidderInfo(const QString& id, const QString& name)
{
    EditBidId->setText(id);
    EditBidName->setText(name);
    if (!isDatabaseOpen())
        return;
    const QString key = BidderStore::idKey(id);
    const auto cached = bidderInfoCache.constFind(key);
    BidInfo info;
    if (cached != bidderInfoCache.cend())
        info = *cached;
    else
        info = BidderStore::read(connection, id, sharedQueriesReady ? &queryBidderInfo : nullptr);
    EditBidMail->setText(info.mail);
    EditBidPost->setText(info.post);
    EditBidAddress->setText(info.address);
    EditBidTel->setText(info.tel);
    if (cached == bidderInfoCache.cend())
        bidderInfoCache.insert(key,
                               {info.mail, EditBidName->text(), info.post, info.address, info.tel});
    for (QLineEdit* edit :
         {EditBidId, EditBidName, EditBidMail, EditBidPost, EditBidAddress, EditBidTel})
        edit->home(false);
}

void TFormNavi::clearBidderInfo()
{
    for (QLineEdit* edit :
         {EditBidId, EditBidName, EditBidMail, EditBidPost, EditBidAddress, EditBidTel})
        edit->clear();
}

void TFormNavi::showTabBidderInfo(bool naviTab)
{
    if (naviTab) {
        if (ListViewNavi->selectionModel()->hasSelection() && currentNaviItem.isValid()) {
            const int row = currentNaviItem.row();
            showBidderInfo(ListViewNavi->text(row, 3), ListViewNavi->text(row, 4));
        } else {
            clearBidderInfo();
        }
        return;
    }
    const BidRow& currentBidItem = listingTab().currentBidItem;
    if (ListViewBid->selectionModel()->hasSelection() && currentBidItem) {
        showBidderInfo(currentBidItem->text(BidListColumns::column(BidListColumns::BidId)),
                       currentBidItem->text(BidListColumns::column(BidListColumns::Name)));
    } else {
        clearBidderInfo();
        listingTab().clearBidNaviPanel();
    }
}

void TFormNavi::BitBtnBidSaveClick()
{
    const QString id = EditBidId->text();
    if (id.isEmpty() || !isDatabaseOpen())
        return;
    const BidInfo info{EditBidMail->text(), EditBidName->text(), EditBidPost->text(),
                       EditBidAddress->text(), EditBidTel->text()};
    // A failed write throws before the cache or a list changes.
    BidderStore::save(connection, id, info);
    bidderInfoCache.insert(BidderStore::idKey(id), info);
    const int bidCount = ListViewBid->topLevelItemCount();
    for (int i = 0; i < bidCount; ++i) {
        const BidRow row = ListViewBid->bidItem(i);
        if (row && BidderStore::sameId(row->subItem(BidListColumns::BidId), id))
            row->setSubItem(BidListColumns::Name, info.name);
    }
    const int naviCount = ListViewNavi->rowCount();
    for (int i = 0; i < naviCount; ++i)
        if (BidderStore::sameId(ListViewNavi->text(i, 3), id))
            ListViewNavi->rows()->setName(i, info.name);
}

QPlainTextEdit* TFormNavi::getActiveNaviMemo() const
{
    return PageControlMain->currentIndex() == 1 ? MemoNavi : MemoBidNavi;
}

void TFormNavi::extractBidderInfo()
{
    const ExtractedBidInfo found =
        ::extractBidderInfo(MemoText::get(getActiveNaviMemo()), bidInfoKeywords);
    const std::pair<const std::optional<QString>*, QLineEdit*> fields[] = {
        {&found.name, EditBidName},
        {&found.post, EditBidPost},
        {&found.address, EditBidAddress},
        {&found.tel, EditBidTel},
        {&found.mail, EditBidMail}};
    for (const auto& [value, edit] : fields)
        if (*value)
            edit->setText(**value);
}

void TFormNavi::PopupMenuMemoNaviCopyClick()
{
    QGuiApplication::clipboard()->setText(MemoText::selected(getActiveNaviMemo()));
}

void TFormNavi::PopupMenuMemoNaviAllSelectClick()
{
    getActiveNaviMemo()->selectAll();
}

void TFormNavi::PopupMenuMemoNaviFieldClick(QLineEdit* field)
{
    field->setText(MemoText::selected(getActiveNaviMemo()));
    BitBtnBidSaveClick();
}

void TFormNavi::connectBidderSignals()
{
    connect(BitBtnBidSave, &QPushButton::clicked, this, &TFormNavi::BitBtnBidSaveClick);

    // Ctrl+S saves from the five editable fields.
    auto* saveKey = new EventHook(
        [this](QObject*, QEvent* event) {
            if (event->type() != QEvent::KeyPress)
                return false;
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() != Qt::Key_S || !(key->modifiers() & Qt::ControlModifier))
                return false;
            BitBtnBidSaveClick();
            return true;
        },
        this);
    for (QLineEdit* edit : {EditBidName, EditBidMail, EditBidPost, EditBidAddress, EditBidTel})
        saveKey->watch(edit);

    // A Ctrl+click in any edit of the window selects its whole text.
    CtrlClickSelect::installBelow(this);

    // A message row dropped on the panel fills it from the message shown.
    auto* drop = new EventHook(
        [this](QObject*, QEvent* event) {
            if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
                auto* drag = static_cast<QDragMoveEvent*>(event);
                const QObject* source = drag->source();
                DragSource kind = DragSource::Other;
                if (source == TreeViewNavi)
                    kind = DragSource::TreeView;
                else if (NaviDrag::isMessageRows(drag->mimeData()) ||
                         qobject_cast<const QAbstractItemView*>(source))
                    kind = DragSource::ListView;
                const int selected = int(ListViewNavi->selectionModel()->selectedRows().size());
                if (bidderDropAccepted(kind, selected))
                    drag->acceptProposedAction();
                else
                    drag->ignore();
                return true;
            }
            if (event->type() == QEvent::Drop) {
                static_cast<QDropEvent*>(event)->acceptProposedAction();
                extractBidderInfo();
                return true;
            }
            return false;
        },
        this);
    drop->watch(PanelBid);

    PopupMenuMemoNavi = new QMenu(this);
    PopupMenuMemoNavi->setObjectName("PopupMenuMemoNavi");
    auto item = [this](const char* name, const char* caption, const QKeySequence& shortcut = {}) {
        QAction* created = PopupMenuMemoNavi->addAction(QString::fromUtf8(caption));
        created->setObjectName(QString::fromLatin1(name));
        created->setShortcut(shortcut);
        created->setShortcutContext(Qt::WidgetShortcut);
        return created;
    };
    connect(item("PopupMenuMemoNaviCopy", "コピー(&C)", QKeySequence("Ctrl+C")),
            &QAction::triggered, this, &TFormNavi::PopupMenuMemoNaviCopyClick);
    connect(item("PopupMenuMemoNaviAllSelect", "全て選択(&A)", QKeySequence("Ctrl+A")),
            &QAction::triggered, this, &TFormNavi::PopupMenuMemoNaviAllSelectClick);
    PopupMenuMemoNavi->addSeparator();
    QAction* getBidInfo = action("ActionGetBidInfo");
    PopupMenuMemoNavi->addAction(getBidInfo);
    connect(getBidInfo, &QAction::triggered, this, &TFormNavi::extractBidderInfo);
    markWired(getBidInfo);
    PopupMenuMemoNavi->addSeparator();
    const std::pair<const char*, const char*> fieldItems[] = {
        {"PopupMenuMemoNaviName", "氏名(&N)"},
        {"PopupMenuMemoNaviMail", "メール(&M)"},
        {"PopupMenuMemoNaviPost", "郵便番号(&P)"},
        {"PopupMenuMemoNaviAddress1", "住所(&R)"},
        {"PopupMenuMemoNaviTel", "電話番号(&T)"}};
    QLineEdit* const targets[] = {EditBidName, EditBidMail, EditBidPost, EditBidAddress,
                                  EditBidTel};
    for (int i = 0; i < 5; ++i) {
        QLineEdit* target = targets[i];
        connect(item(fieldItems[i].first, fieldItems[i].second), &QAction::triggered, this,
                [this, target] { PopupMenuMemoNaviFieldClick(target); });
    }
    for (QPlainTextEdit* memo : {MemoNavi, MemoBidNavi}) {
        memo->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(memo, &QWidget::customContextMenuRequested, this, [this, memo](const QPoint& at) {
            PopupMenuMemoNavi->popup(memo->viewport()->mapToGlobal(at));
        });
    }
    // The message tab's chosen message names its winner.
    connect(naviSelectionDelay, &NaviSelectionDelay::detailShown, this,
            [this](const QPersistentModelIndex& row) {
                if (row.isValid())
                    showBidderInfo(ListViewNavi->text(row.row(), 3),
                                   ListViewNavi->text(row.row(), 4));
            });
}
