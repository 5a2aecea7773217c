#include "views/BidderPanel.h"

#include "common/NaviSession.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/BidderDrop.h"
#include "views/BidderInfoExtraction.h"
#include "views/EventHook.h"
#include "views/MemoText.h"
#include "views/NaviDropRule.h"
#include "views/NaviFolderList.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

BidderPanel::BidderPanel(NaviSession& session, Window& window, const Widgets& widgets,
                         QObject* parent)
    : QObject(parent), m_session(session), m_window(window), w(widgets)
{
    connect(w.BitBtnBidSave, &QPushButton::clicked, this, &BidderPanel::BitBtnBidSaveClick);
    auto* saveKey = new EventHook(
        [this](QObject*, QEvent* event) {
            return event->type() == QEvent::KeyPress &&
                   EditBidInfomationKeyDown(static_cast<const QKeyEvent*>(event));
        },
        this);
    for (QLineEdit* edit :
         {w.EditBidName, w.EditBidMail, w.EditBidPost, w.EditBidAddress, w.EditBidTel})
        saveKey->watch(edit);
    auto* drop = new EventHook(
        [this](QObject*, QEvent* event) {
            switch (event->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove:
                PanelBidDragOver(static_cast<QDragMoveEvent*>(event));
                return true;
            case QEvent::Drop:
                PanelBidDragDrop(static_cast<QDropEvent*>(event));
                return true;
            default:
                return false;
            }
        },
        this);
    drop->watch(w.PanelBid);
}

bool BidderPanel::isDatabaseOpen() const
{
    return m_session.connection.isOpen();
}

void BidderPanel::showBidderInfo(const QString& id, const QString& name)
{
    w.EditBidId->setText(id);
    w.EditBidName->setText(name);
    if (!isDatabaseOpen())
        return;
    const QString key = BidderStore::idKey(id);
    const auto cached = bidderInfoCache.constFind(key);
    BidInfo info;
    if (cached != bidderInfoCache.cend())
        info = *cached;
    else
        info = BidderStore::read(m_session.connection, id, m_window.bidderInfoQuery());
    w.EditBidMail->setText(info.mail);
    w.EditBidPost->setText(info.post);
    w.EditBidAddress->setText(info.address);
    w.EditBidTel->setText(info.tel);
    if (cached == bidderInfoCache.cend())
        bidderInfoCache.insert(
            key, {info.mail, w.EditBidName->text(), info.post, info.address, info.tel});
    for (QLineEdit* edit : {w.EditBidId, w.EditBidName, w.EditBidMail, w.EditBidPost,
                            w.EditBidAddress, w.EditBidTel})
        edit->home(false);
}

void BidderPanel::clearBidderInfo()
{
    for (QLineEdit* edit : {w.EditBidId, w.EditBidName, w.EditBidMail, w.EditBidPost,
                            w.EditBidAddress, w.EditBidTel})
        edit->clear();
}

void BidderPanel::showTabBidderInfo(bool naviTab)
{
    if (naviTab) {
        const QPersistentModelIndex current = m_window.currentNaviItem();
        if (w.ListViewNavi->selectionModel()->hasSelection() && current.isValid()) {
            const int row = current.row();
            showBidderInfo(w.ListViewNavi->text(row, 3), w.ListViewNavi->text(row, 4));
        } else {
            clearBidderInfo();
        }
        return;
    }
    const BidRow current = m_window.currentBidItem();
    if (w.ListViewBid->selectionModel()->hasSelection() && current) {
        showBidderInfo(current->text(BidListColumns::column(BidListColumns::BidId)),
                       current->text(BidListColumns::column(BidListColumns::Name)));
    } else {
        clearBidderInfo();
        m_window.clearBidNaviPanel();
    }
}

void BidderPanel::BitBtnBidSaveClick()
{
    const QString id = w.EditBidId->text();
    if (id.isEmpty() || !isDatabaseOpen())
        return;
    const BidInfo info{w.EditBidMail->text(), w.EditBidName->text(), w.EditBidPost->text(),
                       w.EditBidAddress->text(), w.EditBidTel->text()};
    // A failed write throws before the cache or a list changes.
    BidderStore::save(m_session.connection, id, info);
    bidderInfoCache.insert(BidderStore::idKey(id), info);
    const int bidCount = w.ListViewBid->topLevelItemCount();
    for (int i = 0; i < bidCount; ++i) {
        const BidRow row = w.ListViewBid->bidItem(i);
        if (row && BidderStore::sameId(row->subItem(BidListColumns::BidId), id))
            row->setSubItem(BidListColumns::Name, info.name);
    }
    const int naviCount = w.ListViewNavi->rowCount();
    for (int i = 0; i < naviCount; ++i)
        if (BidderStore::sameId(w.ListViewNavi->text(i, 3), id))
            w.ListViewNavi->rows()->setName(i, info.name);
}

QPlainTextEdit* BidderPanel::getActiveNaviMemo() const
{
    return w.PageControlMain->currentIndex() == 1 ? w.MemoNavi : w.MemoBidNavi;
}

void BidderPanel::extractBidderInfo()
{
    const ExtractedBidInfo found =
        ::extractBidderInfo(MemoText::get(getActiveNaviMemo()), m_session.bidInfoKeywords);
    const std::pair<const std::optional<QString>*, QLineEdit*> fields[] = {
        {&found.name, w.EditBidName},
        {&found.post, w.EditBidPost},
        {&found.address, w.EditBidAddress},
        {&found.tel, w.EditBidTel},
        {&found.mail, w.EditBidMail}};
    for (const auto& [value, edit] : fields)
        if (*value)
            edit->setText(**value);
}

bool BidderPanel::EditBidInfomationKeyDown(const QKeyEvent* key)
{
    if (key->key() != Qt::Key_S || !(key->modifiers() & Qt::ControlModifier))
        return false;
    BitBtnBidSaveClick();
    return true;
}

void BidderPanel::PanelBidDragOver(QDragMoveEvent* drag)
{
    const QObject* source = drag->source();
    DragSource kind = DragSource::Other;
    if (source == w.TreeViewNavi)
        kind = DragSource::TreeView;
    else if (NaviDrag::isMessageRows(drag->mimeData()) ||
             qobject_cast<const QAbstractItemView*>(source))
        kind = DragSource::ListView;
    const int selected = int(w.ListViewNavi->selectionModel()->selectedRows().size());
    if (bidderDropAccepted(kind, selected))
        drag->acceptProposedAction();
    else
        drag->ignore();
}

void BidderPanel::PanelBidDragDrop(QDropEvent* drop)
{
    drop->acceptProposedAction();
    extractBidderInfo();
}

void BidderPanel::PopupMenuMemoNaviCopyClick()
{
    QGuiApplication::clipboard()->setText(MemoText::selected(getActiveNaviMemo()));
}

void BidderPanel::PopupMenuMemoNaviAllSelectClick()
{
    getActiveNaviMemo()->selectAll();
}

void BidderPanel::PopupMenuMemoNaviNameClick()
{
    PopupMenuMemoNaviFieldClick(w.EditBidName);
}

void BidderPanel::PopupMenuMemoNaviMailClick()
{
    PopupMenuMemoNaviFieldClick(w.EditBidMail);
}

void BidderPanel::PopupMenuMemoNaviPostClick()
{
    PopupMenuMemoNaviFieldClick(w.EditBidPost);
}

void BidderPanel::PopupMenuMemoNaviAddress1Click()
{
    PopupMenuMemoNaviFieldClick(w.EditBidAddress);
}

void BidderPanel::PopupMenuMemoNaviTelClick()
{
    PopupMenuMemoNaviFieldClick(w.EditBidTel);
}

void BidderPanel::PopupMenuMemoNaviFieldClick(QLineEdit* field)
{
    field->setText(MemoText::selected(getActiveNaviMemo()));
    BitBtnBidSaveClick();
}
