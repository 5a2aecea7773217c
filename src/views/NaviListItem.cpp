#include "views/NaviListItem.h"

#include "views/WindowsColor.h"

#include "common/CommonRoutines.h"
#include "views/CellLine.h"
#include "views/BidListSort.h"
#include "views/ListSearchView.h"
#include "views/NaviImages.h"
#include "views/RowOrder.h"

#include <QFont>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTreeWidget>

#include <algorithm>

namespace {

const QColor sentTransactionBackground = colorFromWindowsValue(14544639);

} // namespace

NaviListItem::NaviListItem(NaviList list, const NaviRow& row,
                           std::shared_ptr<const NaviListQuery::MessageHeads> heads)
    : QTreeWidgetItem(ItemType), m_list(list), m_row(row), m_heads(std::move(heads)),
      m_number(numberValue())
{
    setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled);
}

NaviListItem* NaviListItem::of(QTreeWidgetItem* item)
{
    return item && item->type() == ItemType ? static_cast<NaviListItem*>(item) : nullptr;
}

int NaviPicture::of(NaviList list, bool received, bool read)
{
    if (received)
        return read ? NaviPicture::read : NaviPicture::unread;
    return list == NaviList::Folder || list == NaviList::Search ? NaviPicture::sent
                                                                : NaviPicture::sentTransaction;
}

int NaviListItem::picture() const
{
    return NaviPicture::of(m_list, m_row.received, m_row.read);
}

void NaviListItem::setRead(bool read)
{
    if (!m_row.received || m_row.read == read)
        return;
    m_row.read = read;
    emitDataChanged();
}

void NaviListItem::setHead(const QString& head)
{
    if (!m_row.headPending)
        return;
    m_row.headPending = false;
    m_row.message = head;
    m_row.wholeMessage = head.size() < NaviListQuery::messageHeadLength;
}

QString* NaviListItem::field(int column)
{
    if (column == messageColumn())
        readHead();
    if (m_list != NaviList::Transaction) {
        switch (column) {
        case 1:
            return &m_row.aid;
        case 2:
            return &m_row.title;
        case 3:
            return m_list == NaviList::Folder ? &m_row.bidId : &m_row.writeId;
        case 4:
            return &m_row.name;
        case 5:
            return &m_row.number;
        case 6:
            return &m_row.subject;
        case 7:
            return &m_row.message;
        case 8:
            return &m_row.writeDate;
        default:
            return nullptr;
        }
    }
    switch (column) {
    case 1:
        return &m_row.writeId;
    case 2:
        return &m_row.number;
    case 3:
        return &m_row.subject;
    case 4:
        return &m_row.message;
    case 5:
        return &m_row.writeDate;
    default:
        return nullptr;
    }
}

QString NaviListItem::columnText(int column) const
{
    const QString* text = const_cast<NaviListItem*>(this)->field(column);
    return text ? *text : QString();
}

int NaviListItem::numberValue() const
{
    return m_row.number.isEmpty() ? -1 : m_row.number.toInt();
}

QVariant NaviListItem::data(int column, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
        return cellLine(columnText(column));
    case Qt::EditRole: {
        // The raw text; the message column gives its whole text as FullTextRole.
        const QString text = columnText(column);
        return column == messageColumn() ? cellLine(text) : text;
    }
    case Qt::DecorationRole:
        return column == 0 ? QVariant(NaviImages::listImage(picture())) : QVariant();
    case PictureRole:
        return picture();
    case ListSearchView::FullTextRole:
        // Only a row that holds its whole message can give it.
        if (column != messageColumn())
            return QVariant();
        readHead();
        return m_row.wholeMessage ? QVariant(m_row.message) : QVariant();
    case Qt::FontRole:
        if (picture() == NaviPicture::unread && m_list != NaviList::Listing) {
            QFont font = treeWidget() ? treeWidget()->font() : QFont();
            font.setBold(true);
            return font;
        }
        return QVariant();
    case Qt::BackgroundRole:
        // The per-listing list draws its rows plain.
        if ((m_list == NaviList::Transaction && picture() == NaviPicture::sentTransaction) ||
            (m_list == NaviList::Search && picture() == NaviPicture::sent))
            return QVariant(sentTransactionBackground);
        return QVariant();
    default:
        return QTreeWidgetItem::data(column, role);
    }
}

void NaviListItem::setData(int column, int role, const QVariant& value)
{
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        if (QString* text = field(column)) {
            *text = value.toString();
            if (column == numberColumn())
                m_number = numberValue();
            if (column >= 0 && column < KeyColumns)
                m_keysMade &= quint16(~(1u << column));
            emitDataChanged();
        }
        return;
    }
    QTreeWidgetItem::setData(column, role, value);
}

bool NaviListItem::operator<(const QTreeWidgetItem& other) const
{
    const NaviListItem* that = of(const_cast<QTreeWidgetItem*>(&other));
    if (!that)
        return QTreeWidgetItem::operator<(other);
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    if (column == 0)
        return compareInt(picture(), that->picture()) < 0;
    if (column == numberColumn())
        return m_number < that->m_number;
    return textKey(column) < that->textKey(column);
}

QStringView NaviListItem::textKey(int column) const
{
    if (column < 0 || column >= KeyColumns)
        return {};
    const quint16 bit = quint16(1u << column);
    if (!(m_keysMade & bit)) {
        m_textKeys[size_t(column)] = BidListSort::textKey(columnText(column));
        m_keysMade |= bit;
    }
    return m_textKeys[size_t(column)];
}

namespace NaviListView {
namespace {

void setupList(QTreeWidget* list, const QStringList& captions)
{
    list->setColumnCount(captions.size());
    list->setHeaderLabels(captions);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSortingEnabled(false);
    list->header()->setSectionsClickable(true);
    list->header()->setSortIndicatorShown(false);
    list->header()->setStretchLastSection(false);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
}

} // namespace

void setupListViewNavi(QTreeWidget* list)
{
    setupList(list,
              {QString(), QStringLiteral("商品ID"), QStringLiteral("商品名"),
               QStringLiteral("投稿者"), QStringLiteral("氏名"), QStringLiteral("No"),
               QStringLiteral("件名"), QStringLiteral("メッセージ"), QStringLiteral("投稿日時")});
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setColumnWidth(0, 25);
}

void setupListViewBidNavi(QTreeWidget* list)
{
    setupList(list,
              {QString(), QStringLiteral("投稿者"), QStringLiteral("No"), QStringLiteral("件名"),
               QStringLiteral("メッセージ"), QStringLiteral("投稿日")});
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setColumnWidth(0, 25);
}

void setWriterCaption(QTreeWidget* list, int kind)
{
    list->headerItem()->setText(3, kind == 1 ? QStringLiteral("送信先") : QStringLiteral("投稿者"));
}

QString writerLabel(int kind)
{
    return kind == 1 ? QStringLiteral("送信先：") : QStringLiteral("投稿者：");
}

void fill(QTreeWidget* list, NaviList kind, const QList<NaviRow>& rows,
          const std::shared_ptr<const NaviListQuery::MessageHeads>& heads)
{
    list->setUpdatesEnabled(false);
    list->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(rows.size());
    for (const NaviRow& row : rows)
        items.append(new NaviListItem(kind, row, heads));
    list->addTopLevelItems(items);
    list->setUpdatesEnabled(true);
}

NaviListItem* addRow(QTreeWidget* list, NaviList kind, const NaviRow& row)
{
    auto* item = new NaviListItem(kind, row);
    list->addTopLevelItem(item);
    return item;
}

LoadResult loadMessageList(QTreeWidget* list, const QSqlDatabase& db, const QString& folderId,
                           int kind, const QString& loginId, int sortColumn, int sortType)
{
    list->clear();
    LoadResult result;
    if (kind == 10)
        return result;
    setWriterCaption(list, kind);
    fill(list, NaviList::Folder,
         NaviListQuery::folderMessages(db, folderId, kind, loginId, sortColumn, sortType),
         std::make_shared<const NaviListQuery::MessageHeads>(db.connectionName(), folderId,
                                                             loginId));
    // The query sorted the rows; the header remembers the column for the rows added later.
    list->header()->setSortIndicator(sortColumn,
                                     sortType == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    result.listed = true;
    result.rows = list->topLevelItemCount();
    result.unread = countUnread(list);
    return result;
}

int loadTransactionList(QTreeWidget* list, const QSqlDatabase& db, const QString& aid,
                        const QString& bidId, const QString& loginId, int sortColumn, int sortType)
{
    fill(list, NaviList::Transaction, NaviListQuery::transactionMessages(db, aid, bidId, loginId));
    sort(list, sortColumn, sortType);
    return list->topLevelItemCount();
}

void readPendingHeads(QTreeWidget* list)
{
    const int count = list->topLevelItemCount();
    std::shared_ptr<const NaviListQuery::MessageHeads> heads;
    for (int i = 0; i < count && !heads; ++i) {
        const NaviListItem* item = NaviListItem::of(list->topLevelItem(i));
        if (item && item->isHeadPending())
            heads = item->heads();
    }
    if (!heads)
        return;
    QHash<qint64, NaviListItem*> pending;
    for (int i = 0; i < count; ++i) {
        NaviListItem* item = NaviListItem::of(list->topLevelItem(i));
        if (item && item->isHeadPending())
            pending.insert(item->rowId(), item);
    }
    // A message filed elsewhere since the list was filled is read on its own when shown.
    heads->readFolder([&pending](qint64 rowId, QStringView head) {
        if (NaviListItem* item = pending.value(rowId))
            item->setHead(head.toString());
    });
}

int countUnread(const QTreeWidget* list)
{
    int unread = 0;
    const int count = list->topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        const NaviListItem* item = NaviListItem::of(list->topLevelItem(i));
        if (item && item->picture() == NaviPicture::unread)
            ++unread;
    }
    return unread;
}

QString statusText(int rows, int unread)
{
    return QStringLiteral("件数：%1（未開封：%2）").arg(qMax(0, rows)).arg(qMax(0, unread));
}

int nextSortType(int clickedColumn, int sortColumn, int sortType)
{
    if (clickedColumn != sortColumn)
        return sortType;
    return sortType == 1 ? 0 : 1;
}

namespace {

// Sorts the rows through their keys in one array (RowOrder); false when the list holds another
// kind of row or the column is not one of the list's.
bool sortByKeys(QTreeWidget* list, int column, Qt::SortOrder order)
{
    const int rows = list->topLevelItemCount();
    if (column < 0 || column >= list->columnCount() || rows == 0)
        return false;
    const NaviListItem* first = NaviListItem::of(list->topLevelItem(0));
    if (!first)
        return false;
    if (column == first->messageColumn())
        readPendingHeads(list);
    const bool numeric = first->isNumberKeyColumn(column);
    std::vector<qint64> numbers;
    std::vector<QStringView> texts;
    if (numeric)
        numbers.reserve(size_t(rows));
    else
        texts.reserve(size_t(rows));
    for (int row = 0; row < rows; ++row) {
        const NaviListItem* item = NaviListItem::of(list->topLevelItem(row));
        if (!item || item->list() != first->list())
            return false;
        if (numeric)
            numbers.push_back(item->numberKey(column));
        else
            texts.push_back(item->textKey(column));
    }
    list->header()->setSortIndicator(column, order);
    const bool descending = order == Qt::DescendingOrder;
    return RowOrder::apply(list, numeric ? RowOrder::byNumbers(numbers, descending)
                                         : RowOrder::byTexts(texts, descending));
}

} // namespace

void sort(QTreeWidget* list, int column, int sortType)
{
    const Qt::SortOrder order = sortType == 0 ? Qt::AscendingOrder : Qt::DescendingOrder;
    if (!sortByKeys(list, column, order))
        list->sortItems(column, order);
    QTreeWidgetItem* item = list->currentItem();
    if (!item || !item->isSelected()) {
        const QModelIndexList rows = list->selectionModel()->selectedRows();
        item = rows.isEmpty() ? nullptr : list->topLevelItem(rows.first().row());
    }
    if (item)
        list->scrollToItem(item);
}

} // namespace NaviListView
