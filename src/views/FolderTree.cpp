#include "views/FolderTree.h"

#include "platform/Dialogs.h"
#include "platform/Sql.h"
#include "views/FolderId.h"
#include "views/NaviImages.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QSqlQuery>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <functional>

namespace FolderTree {
namespace {

const QColor countColour = QColor(0x00, 0x00, 0x80); // navy

int textMargin(const QWidget* widget)
{
    const QStyle* style = widget ? widget->style() : QApplication::style();
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
}

} // namespace

FolderTreeItem::FolderTreeItem(const FolderRow& row)
{
    setText(0, row.name);
    setData(0, FolderIdRole, row.id);
    setData(0, KindRole, row.stateIndex);
    setData(0, ImageIndexRole, row.imageIndex);
    setData(0, SelectImageIndexRole, row.selectImageIndex);
    setIcon(0, NaviImages::treeIcon(row.imageIndex, row.selectImageIndex));
    if (!FolderId::isRoot(row.id))
        setFlags(flags() | Qt::ItemIsEditable);
}

bool FolderTreeItem::operator<(const QTreeWidgetItem& other) const
{
    return QString::localeAwareCompare(text(0), other.text(0)) < 0;
}

FolderTreeDelegate::FolderTreeDelegate(RenameHandler renameHandler, QObject* parent)
    : QStyledItemDelegate(parent), m_renameHandler(std::move(renameHandler))
{
}

void FolderTreeDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const int unread = index.data(UnreadCountRole).toInt();
    const QWidget* widget = opt.widget;
    opt.font.setBold(unread > 0);
    const auto paintSelected = [&opt](const QColor& background, const QColor& text) {
        opt.state |= QStyle::State_Selected;
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            opt.palette.setColor(group, QPalette::Highlight, background);
            opt.palette.setColor(group, QPalette::HighlightedText, text);
        }
    };
    const QColor buttonFace = opt.palette.color(QPalette::Active, QPalette::Button);
    if (unread <= 0 && (opt.state & QStyle::State_Selected) && widget && !widget->hasFocus())
        paintSelected(buttonFace, Qt::black);
    // The drop-target look wins over the unfocused selection.
    const auto target = DropTarget(index.data(DropTargetRole).toInt());
    if (unread <= 0 && target == DropTarget::Allowed)
        paintSelected(QApplication::palette().color(QPalette::Active, QPalette::Highlight),
                      Qt::white);
    else if (unread <= 0 && target == DropTarget::Refused)
        paintSelected(buttonFace, Qt::black);
    const QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    if (unread <= 0)
        return;
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    const int left = textRect.left() + 2 * textMargin(widget) +
                     QFontMetrics(opt.font).horizontalAdvance(opt.text);
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(countColour);
    painter->drawText(QRect(left, opt.rect.top(), opt.rect.right() - left + 200, opt.rect.height()),
                      Qt::AlignLeft | Qt::AlignVCenter, unreadCountText(unread));
    painter->restore();
}

QSize FolderTreeDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const int unread = index.data(UnreadCountRole).toInt();
    if (unread > 0)
        size.rwidth() += QFontMetrics(option.font).horizontalAdvance(unreadCountText(unread)) + 4;
    return size;
}

void FolderTreeDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                      const QModelIndex& index) const
{
    const auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    const QString newName = line->text();
    const QString oldName = index.data(Qt::DisplayRole).toString();
    const QString id = index.data(FolderIdRole).toString();
    if (m_renameHandler && m_renameHandler(id, oldName, newName))
        model->setData(index, newName, Qt::EditRole);
}

void setup(QTreeWidget* tree, RenameHandler renameHandler)
{
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    font.setBold(true);
    tree->setFont(font);
    tree->setColumnCount(1);
    tree->setHeaderHidden(true);
    tree->setIndentation(19);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    tree->setItemDelegate(new FolderTreeDelegate(std::move(renameHandler), tree));
    tree->setSortingEnabled(true);
    tree->sortByColumn(0, Qt::AscendingOrder);
}

QString folderId(const QTreeWidgetItem* item)
{
    return item ? item->data(0, FolderIdRole).toString() : QString();
}

int folderKind(const QTreeWidgetItem* item)
{
    return item ? item->data(0, KindRole).toInt() : -1;
}

QTreeWidgetItem* findFolder(QTreeWidget* tree, const QString& id)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if (folderId(*it) == id)
            return *it;
    return nullptr;
}

void build(QTreeWidget* tree, const QList<FolderRow>& rows)
{
    const bool sorting = tree->isSortingEnabled();
    tree->setSortingEnabled(false);
    QList<QTreeWidgetItem*> roots;
    QList<QTreeWidgetItem*> stack;
    for (const FolderRow& row : rows) {
        const qsizetype length = row.id.size();
        if (!stack.isEmpty()) {
            const qsizetype topLength = folderId(stack.last()).size();
            if (length == topLength) {
                stack.removeLast();
            } else if (length < topLength) {
                while (!stack.isEmpty() && folderId(stack.last()).size() >= length)
                    stack.removeLast();
            }
        }
        auto* item = new FolderTreeItem(row);
        if (FolderId::isRoot(row.id) || stack.isEmpty())
            roots.append(item);
        else
            stack.last()->addChild(item);
        stack.append(item);
    }
    tree->addTopLevelItems(roots);
    tree->setSortingEnabled(sorting);
    tree->sortItems(0, Qt::AscendingOrder);
    tree->expandAll();
}

void load(QTreeWidget* tree, const QSqlDatabase& db, const QString& loginId)
{
    {
        const QSignalBlocker blocker(tree);
        tree->clear();
    }
    if (loginId.isEmpty())
        return;
    const QMap<QString, int> counts = readUnreadCounts(db, loginId);
    build(tree, TableNaviFolderMaster(db, loginId).folders());
    applyUnreadCounts(tree, counts);
    if (tree->topLevelItemCount() > 0)
        tree->setCurrentItem(tree->topLevelItem(0));
}

QMap<QString, int> readUnreadCounts(const QSqlDatabase& db, const QString& loginId)
{
    QSqlQuery query = Sql::exec(
        db,
        QStringLiteral("SELECT FolderID,COUNT(FolderID) AS CntUnsealing FROM T_Navi "
                       "WHERE LoginId=:DATA_LOGINID AND UnsealingFlg = FALSE AND RecFlg = TRUE "
                       "GROUP BY FolderID"),
        {{":DATA_LOGINID", loginId}});
    QMap<QString, int> counts;
    while (query.next())
        counts.insert(query.value(0).toString(), query.value(1).toInt());
    return counts;
}

void applyUnreadCounts(QTreeWidget* tree, const QMap<QString, int>& counts)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        const int count = qMax(0, counts.value(folderId(*it), 0));
        if ((*it)->data(0, UnreadCountRole).toInt() != count)
            (*it)->setData(0, UnreadCountRole, count);
    }
}

namespace {

// Writes the counts with the tree's painting held, then repaints it unless messages are dragged.
void showCounts(QTreeWidget* tree, bool dragging, const std::function<void()>& write)
{
    tree->setUpdatesEnabled(false);
    write();
    tree->setUpdatesEnabled(true);
    if (!dragging)
        tree->viewport()->update();
}

} // namespace

void loadUnreadCounts(QTreeWidget* tree, const QSqlDatabase& db, const QString& loginId,
                      bool dragging)
{
    const QMap<QString, int> counts =
        loginId.isEmpty() ? QMap<QString, int>() : readUnreadCounts(db, loginId);
    showCounts(tree, dragging, [&] { applyUnreadCounts(tree, counts); });
}

void changeUnreadCounts(QTreeWidget* tree, const QMap<QString, int>& changes, bool dragging)
{
    showCounts(tree, dragging, [&] {
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            const auto change = changes.constFind(folderId(*it));
            if (change == changes.constEnd())
                continue;
            const int count = (*it)->data(0, UnreadCountRole).toInt();
            const int changedCount = qMax(0, count + *change);
            if (changedCount != count)
                (*it)->setData(0, UnreadCountRole, changedCount);
        }
    });
}

void setDropTarget(QTreeWidget* tree, QTreeWidgetItem* item, bool allowed)
{
    const int mark = int(allowed ? DropTarget::Allowed : DropTarget::Refused);
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        const int wanted = *it == item ? mark : int(DropTarget::None);
        if ((*it)->data(0, DropTargetRole).toInt() != wanted)
            (*it)->setData(0, DropTargetRole, wanted);
    }
}

QString unreadCountText(int count)
{
    return count > 0 ? '(' + QString::number(count) + ')' : QString();
}

QTreeWidgetItem* newFolder(QTreeWidget* tree, const QSqlDatabase& db, const QString& loginId,
                           DigitSource digits)
{
    QTreeWidgetItem* parent = tree->currentItem();
    if (loginId.isEmpty() || !parent)
        return nullptr;
    const int kind = folderKind(parent);
    TableNaviFolderMaster table(db, loginId, std::move(digits));
    QString name;
    const QString id = table.createFolder(folderId(parent), kind, &name);
    if (id.isEmpty())
        return nullptr;
    auto* item =
        new FolderTreeItem({id, name, FolderImage::folder, FolderImage::folderSelected, kind});
    parent->addChild(item);
    parent->setExpanded(true);
    tree->setCurrentItem(item);
    tree->editItem(item, 0);
    return item;
}

void startRename(QTreeWidget* tree, const QString& loginId)
{
    QTreeWidgetItem* item = tree->currentItem();
    if (loginId.isEmpty() || !item || FolderId::isRoot(folderId(item)))
        return;
    tree->editItem(item, 0);
}

bool renameFolderEdited(const QSqlDatabase& db, const QString& loginId, const QString& id,
                        const QString& oldName, const QString& newName)
{
    if (loginId.isEmpty() || id.isEmpty() || newName.isEmpty() || newName == oldName)
        return false;
    TableNaviFolderMaster table(db, loginId);
    if (table.existsFolderName(id, newName))
        return false;
    return table.renameFolder(id, newName);
}

bool deleteFolder(QTreeWidget* tree, const QSqlDatabase& db, const QString& loginId,
                  int listedMessages, QWidget* dialogParent)
{
    QTreeWidgetItem* item = tree->currentItem();
    if (loginId.isEmpty() || !item)
        return false;
    const QString id = folderId(item);
    if (FolderId::isRoot(id))
        return false;
    const QString caption = QStringLiteral("削除");
    if (item->childCount() > 0) {
        Dialogs::showWarning(dialogParent, caption,
                             QStringLiteral("現在のバージョンでは子フォルダが存在するフォルダは削除"
                                            "できません。"));
        return false;
    }
    // The stored messages count as well as the listed ones: a folder row deleted under its
    // messages would hide them for good.
    const int stored = Sql::scalar(db,
                                   QStringLiteral("SELECT COUNT(*) FROM T_Navi "
                                                  "WHERE FolderID=:FOLDER_ID AND LoginId=:LOGINID"),
                                   {{":FOLDER_ID", id}, {":LOGINID", loginId}})
                           .toInt();
    if (listedMessages > 0 || stored > 0) {
        Dialogs::showWarning(dialogParent, caption,
                             QStringLiteral("現在のバージョンではフォルダにメッセージが存在する場合"
                                            "は削除できません。"));
        return false;
    }
    if (!Dialogs::askOkCancel(dialogParent, QStringLiteral("確認"),
                              QStringLiteral("フォルダを削除しますか？")))
        return false;
    TableNaviFolderMaster(db, loginId).deleteFolder(id);
    // The tree may have been rebuilt while the question was open: remove the node by its id.
    delete findFolder(tree, id);
    return true;
}

QTreeWidgetItem* selectFolderAt(QTreeWidget* tree, const QPoint& viewportPos)
{
    QTreeWidgetItem* item = tree->itemAt(viewportPos);
    if (item)
        tree->setCurrentItem(item);
    return item;
}

} // namespace FolderTree
