#include "views/BidListModel.h"

#include "views/BidListSort.h"
#include "views/CellLine.h"

#include <QHash>

#include <algorithm>

namespace {

QStringList captions()
{
    QStringList texts;
    for (const char* caption : BidListColumns::HeaderCaptions)
        texts << QString::fromUtf8(caption);
    return texts;
}

char16_t asciiLower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
}

} // namespace

bool BidListModel::sameWinner(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (asciiLower(a[i].unicode()) != asciiLower(b[i].unicode()))
            return false;
    return true;
}

BidListModel::BidListModel(QObject* parent) : ColumnTableModel(captions(), parent) {}

size_t BidListModel::transactionHash(QStringView aid, QStringView bidId)
{
    size_t h = qHash(aid);
    for (QChar c : bidId)
        h = h * 31 + asciiLower(c.unicode());
    return h;
}

void BidListModel::refill(BidListRecords records)
{
    beginRefill();
    ++m_generation;
    m_records = std::move(records);
    const int n = m_records.size();
    m_index.assign(size_t(n), 0);
    m_price.assign(size_t(n), 0);
    m_naviTotal.assign(size_t(n), 0);
    m_priceTotal.assign(size_t(n), 0);
    m_unread.clear();
    m_unread.reserve(n);
    m_transactions.clear();
    m_transactions.reserve(n);
    for (int record = 0; record < n; ++record) {
        m_unread.append(false);
        addKeys(record);
    }
    endRefill(n);
}

int BidListModel::appendRecord(const QStringList& cells)
{
    const int record = m_records.size();
    beginAppend(1);
    m_records.append(cells);
    m_index.push_back(0);
    m_price.push_back(0);
    m_naviTotal.push_back(0);
    m_priceTotal.push_back(0);
    m_unread.append(false);
    addKeys(record);
    endAppend();
    return record;
}

void BidListModel::removeRecords(const std::vector<int>& records)
{
    for (int record : records) {
        const size_t h =
            transactionHash(cell(record, BidListColumns::column(BidListColumns::Aid)),
                            cell(record, BidListColumns::column(BidListColumns::BidId)));
        m_transactions.remove(h, record);
    }
    removeRecordRows(records);
}

int BidListModel::findRecord(QStringView aid, QStringView bidId) const
{
    const std::vector<int> records = findRecords(aid, bidId);
    return records.empty() ? -1 : *std::min_element(records.cbegin(), records.cend());
}

std::vector<int> BidListModel::findRecords(QStringView aid, QStringView bidId) const
{
    using namespace BidListColumns;
    std::vector<int> found;
    const size_t h = transactionHash(aid, bidId);
    for (auto it = m_transactions.constFind(h); it != m_transactions.cend() && it.key() == h;
         ++it) {
        const int record = it.value();
        if (cell(record, column(Aid)) == aid && sameWinner(cell(record, column(BidId)), bidId))
            found.push_back(record);
    }
    return found;
}

void BidListModel::setCell(int record, int column, const QString& text)
{
    writeCell(record, column, text);
    recordChanged(record, column);
}

// The text, the cell's keys and, for the auction and winner cells, the transaction lookup.
void BidListModel::writeCell(int record, int column, const QString& text)
{
    using namespace BidListColumns;
    const bool keyColumn =
        column == BidListColumns::column(Aid) || column == BidListColumns::column(BidId);
    if (keyColumn)
        m_transactions.remove(transactionHash(cell(record, BidListColumns::column(Aid)),
                                              cell(record, BidListColumns::column(BidId))),
                              record);
    m_records.cells[size_t(column)].set(record, text);
    updateKeys(record, column);
    if (keyColumn)
        m_transactions.insert(transactionHash(cell(record, BidListColumns::column(Aid)),
                                              cell(record, BidListColumns::column(BidId))),
                              record);
}

void BidListModel::setColumnCells(int column, const std::vector<std::pair<int, QString>>& cells)
{
    std::vector<int> records;
    records.reserve(cells.size());
    for (const auto& [record, text] : cells) {
        if (record < 0 || record >= recordCount())
            continue;
        writeCell(record, column, text);
        records.push_back(record);
    }
    recordsChanged(records, column);
}

void BidListModel::setCells(const std::vector<int>& records, const QList<int>& columns,
                            const QString& text)
{
    int top = -1;
    int bottom = -1;
    for (int column : columns) {
        for (int record : records) {
            if (record < 0 || record >= recordCount())
                continue;
            writeCell(record, column, text);
            const int row = rowOf(record);
            if (row >= 0) {
                top = top < 0 ? row : qMin(top, row);
                bottom = qMax(bottom, row);
            }
        }
        invalidateRanks(column);
    }
    if (top >= 0)
        emit dataChanged(index(top, 0), index(bottom, columnCount() - 1));
}

bool BidListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const int record = recordAt(index.row());
    if (record < 0 || index.column() < 0 || index.column() >= columnCount() ||
        (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    setCell(record, index.column(), value.toString());
    return true;
}

qint64 BidListModel::numberKey(int record, int column) const
{
    if (column == BidListColumns::CaptionColumn)
        return m_index[size_t(record)];
    if (column == BidListColumns::column(BidListColumns::Price))
        return m_price[size_t(record)];
    return m_naviTotal[size_t(record)];
}

void BidListModel::addKeys(int record)
{
    using namespace BidListColumns;
    for (int c : {CaptionColumn, column(Price), column(NaviCount)})
        updateKeys(record, c);
    m_transactions.insert(transactionHash(cell(record, column(Aid)), cell(record, column(BidId))),
                          record);
}

void BidListModel::updateKeys(int record, int column)
{
    using namespace BidListColumns;
    const QStringView text = cell(record, column);
    const size_t r = size_t(record);
    if (column == CaptionColumn) {
        m_index[r] = BidListSort::numericValue(column, text);
    } else if (column == BidListColumns::column(Price)) {
        m_price[r] = BidListSort::numericValue(column, text);
        bool ok = false;
        const qint64 total = text.toLongLong(&ok);
        m_priceTotal[r] = ok ? total : 0;
    } else if (column == BidListColumns::column(NaviCount)) {
        m_naviTotal[r] = BidListSort::numericValue(column, text);
        m_unread.set(record, text.contains(u'('));
    }
}

QVariant BidListModel::recordData(int record, int column, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
        return cellLine(cell(record, column));
    case Qt::EditRole:
        return cell(record, column).toString();
    case Qt::FontRole:
        if (hasUnread(record))
            return m_unreadFont;
        return {};
    default:
        return {};
    }
}

ColumnRanks BidListModel::makeRanks(int column) const
{
    if (!BidListColumns::isNumericColumn(column))
        return ColumnOrder::ofTexts(m_records.cells[size_t(column)]);
    std::vector<qint64> keys(size_t(m_records.size()));
    for (int record = 0; record < m_records.size(); ++record)
        keys[size_t(record)] = numberKey(record, column);
    return ColumnOrder::ofNumbers(keys);
}
