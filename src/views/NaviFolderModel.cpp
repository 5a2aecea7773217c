#include "views/NaviFolderModel.h"

#include "views/CellLine.h"
#include "views/ListSearchView.h"
#include "views/NaviDropRule.h"
#include "views/NaviImages.h"
#include "views/TiedRanks.h"

#include <QHash>
#include <QMimeData>

#include <algorithm>

namespace {

const QStringList captions{QString(),
                           QStringLiteral("商品ID"),
                           QStringLiteral("商品名"),
                           QStringLiteral("投稿者"),
                           QStringLiteral("氏名"),
                           QStringLiteral("No"),
                           QStringLiteral("件名"),
                           QStringLiteral("メッセージ"),
                           QStringLiteral("投稿日時")};

// Ranks of a text column whose texts repeat (a transaction's title, winner and dates over its
// messages, the same message sent to many): each distinct text is ranked once.
ColumnRanks ranksOfTexts(const TextColumn& texts)
{
    const int n = texts.size();
    QHash<QStringView, int> ids;
    TextColumn distinct;
    std::vector<int> idOfRecord(static_cast<size_t>(n));
    for (int record = 0; record < n; ++record) {
        const QStringView text = texts.at(record);
        const auto it = ids.constFind(text);
        if (it != ids.cend()) {
            idOfRecord[size_t(record)] = it.value();
            continue;
        }
        const int id = distinct.size();
        distinct.append(text);
        ids.insert(text, id);
        idOfRecord[size_t(record)] = id;
    }
    const ColumnRanks ofDistinct = ColumnOrder::ofTexts(distinct);
    ColumnRanks ranks;
    ranks.count = ofDistinct.count;
    ranks.rankOfRow.resize(size_t(n));
    for (int record = 0; record < n; ++record)
        ranks.rankOfRow[size_t(record)] = ofDistinct.rankOfRow[size_t(idOfRecord[size_t(record)])];
    return ranks;
}

} // namespace

NaviFolderModel::NaviFolderModel(QObject* parent)
    : ColumnTableModel(captions, parent), m_writerCaption(captions.at(3))
{
    m_boldFont.setBold(true);
}

void NaviFolderModel::fill(NaviFolderRows rows, const std::vector<int>& order,
                           std::shared_ptr<const NaviListQuery::MessageHeads> heads)
{
    beginRefill();
    m_rows = std::move(rows);
    m_heads = std::move(heads);
    const int n = m_rows.size();
    m_messages.clear();
    m_headRead.clear();
    m_whole.clear();
    m_numberEmpty.clear();
    m_messages.reserve(n, m_rows.withMessages ? n * 64 : 0);
    for (int record = 0; record < n; ++record) {
        m_numberEmpty.append(false);
        if (m_rows.withMessages) {
            const QString head = NaviListQuery::messageHead(m_rows.message.at(record));
            m_messages.append(head);
            m_headRead.append(true);
            m_whole.append(head.size() < NaviListQuery::messageHeadLength);
        } else {
            m_messages.append(QStringView());
            m_headRead.append(false);
            m_whole.append(false);
        }
    }
    m_rows.message.clear();
    m_rows.withMessages = false;
    endRefill(n);
    setOrder(order);
}

void NaviFolderModel::clear()
{
    fill({}, {}, {});
}

void NaviFolderModel::appendRow(const NaviRow& row)
{
    beginAppend(1);
    m_rows.rowId.push_back(0);
    m_rows.aid.append(row.aid);
    m_rows.bidId.append(row.bidId);
    m_rows.writeId.append(row.writeId);
    m_rows.number.push_back(row.number.isEmpty() ? -1 : row.number.toLongLong());
    m_numberEmpty.append(row.number.isEmpty());
    m_rows.subject.append(row.subject);
    m_rows.writeDate.append(row.writeDate);
    m_rows.title.append(row.title);
    m_rows.name.append(row.name);
    m_rows.received.append(row.received);
    m_rows.read.append(row.read);
    m_rows.titleMissing.append(false);
    m_rows.nameMissing.append(false);
    m_messages.append(row.message);
    m_headRead.append(true);
    m_whole.append(row.wholeMessage);
    endAppend();
}

void NaviFolderModel::setWriterCaption(int kind)
{
    const QString caption = kind == 1 ? QStringLiteral("送信先") : QStringLiteral("投稿者");
    if (caption == m_writerCaption)
        return;
    m_writerCaption = caption;
    emit headerDataChanged(Qt::Horizontal, 3, 3);
}

void NaviFolderModel::setFont(const QFont& font)
{
    m_boldFont = font;
    m_boldFont.setBold(true);
}

int NaviFolderModel::picture(int row) const
{
    const int record = recordAt(row);
    return record < 0 ? -1 : m_rows.picture(record);
}

NaviRow NaviFolderModel::naviRow(int row) const
{
    NaviRow result;
    const int record = recordAt(row);
    if (record < 0)
        return result;
    readHead(record);
    result.rowId = m_rows.rowId[size_t(record)];
    result.aid = m_rows.aid.string(record);
    result.bidId = m_rows.bidId.string(record);
    result.writeId = m_rows.writeId.string(record);
    result.title = m_rows.title.string(record);
    result.name = m_rows.name.string(record);
    result.number = cellText(row, NumberColumn);
    result.subject = m_rows.subject.string(record);
    result.message = m_messages.string(record);
    result.writeDate = m_rows.writeDate.string(record);
    result.received = m_rows.received.at(record);
    result.read = m_rows.read.at(record);
    result.wholeMessage = m_whole.at(record);
    return result;
}

const TextColumn* NaviFolderModel::textColumn(int column) const
{
    switch (column) {
    case 1:
        return &m_rows.aid;
    case 2:
        return &m_rows.title;
    case 3:
        return &m_rows.bidId;
    case 4:
        return &m_rows.name;
    case 6:
        return &m_rows.subject;
    case MessageColumn:
        return &m_messages;
    case 8:
        return &m_rows.writeDate;
    default:
        return nullptr;
    }
}

QString NaviFolderModel::cellText(int row, int column) const
{
    const int record = recordAt(row);
    if (record < 0)
        return {};
    if (column == NumberColumn) {
        return m_numberEmpty.at(record) ? QString()
                                        : QString::number(m_rows.number[size_t(record)]);
    }
    if (column == MessageColumn)
        readHead(record);
    const TextColumn* texts = textColumn(column);
    return texts ? texts->string(record) : QString();
}

bool NaviFolderModel::setRead(int row, bool read)
{
    const int record = recordAt(row);
    if (record < 0 || !m_rows.received.at(record) || m_rows.read.at(record) == read)
        return false;
    m_rows.read.set(record, read);
    recordChanged(record, 0);
    return true;
}

void NaviFolderModel::setRead(const QList<int>& rows, bool read)
{
    std::vector<int> changed;
    changed.reserve(size_t(rows.size()));
    for (int row : rows) {
        const int record = recordAt(row);
        if (record < 0 || !m_rows.received.at(record) || m_rows.read.at(record) == read)
            continue;
        m_rows.read.set(record, read);
        changed.push_back(record);
    }
    if (!changed.empty())
        recordsChanged(changed, 0);
}

void NaviFolderModel::setWholeMessage(int row, const QString& text)
{
    const int record = recordAt(row);
    if (record < 0)
        return;
    m_messages.set(record, text);
    m_headRead.set(record, true);
    m_whole.set(record, true);
    recordChanged(record, MessageColumn);
}

void NaviFolderModel::setName(int row, const QString& name)
{
    const int record = recordAt(row);
    if (record < 0 || m_rows.name.at(record) == name)
        return;
    m_rows.name.set(record, name);
    m_rows.nameMissing.set(record, false);
    recordChanged(record, 4);
}

void NaviFolderModel::sort(int column, int sortType)
{
    if (column == MessageColumn)
        readAllHeads();
    sortRows(column, sortType == 1);
}

QVariant NaviFolderModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section == 3)
        return m_writerCaption;
    return ColumnTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags NaviFolderModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
}

QStringList NaviFolderModel::mimeTypes() const
{
    return {QString::fromLatin1(NaviDrag::mimeType)};
}

QMimeData* NaviFolderModel::mimeData(const QModelIndexList& indexes) const
{
    std::vector<int> rows;
    for (const QModelIndex& index : indexes)
        if (index.isValid())
            rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QList<NaviKey> keys;
    for (int row : rows)
        keys.append({cellText(row, 1), cellText(row, 3), cellText(row, NumberColumn)});
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(NaviDrag::mimeType), NaviDrag::encode(keys));
    return data;
}

QVariant NaviFolderModel::recordData(int record, int column, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
        return cellLine(cellText(rowOf(record), column));
    case Qt::EditRole: {
        // The raw text; the message column gives its whole text as FullTextRole.
        const QString text = cellText(rowOf(record), column);
        return column == MessageColumn ? cellLine(text) : text;
    }
    case Qt::DecorationRole:
        return column == 0 ? QVariant(NaviImages::listImage(m_rows.picture(record))) : QVariant();
    case PictureRole:
        return m_rows.picture(record);
    case ListSearchView::FullTextRole:
        if (column != MessageColumn)
            return {};
        readHead(record);
        return m_whole.at(record) ? QVariant(m_messages.string(record)) : QVariant();
    case Qt::FontRole:
        return m_rows.picture(record) == 0 ? QVariant(m_boldFont) : QVariant();
    default:
        return {};
    }
}

ColumnRanks NaviFolderModel::makeRanks(int column) const
{
    const int n = m_rows.size();
    if (column == 0 || column == NumberColumn) {
        std::vector<qint64> values(static_cast<size_t>(n));
        for (int record = 0; record < n; ++record)
            values[size_t(record)] =
                column == 0 ? m_rows.picture(record) : m_rows.number[size_t(record)];
        return ColumnOrder::ofNumbers(values);
    }
    if (column == MessageColumn)
        return messageRanks();
    const TextColumn* texts = textColumn(column);
    return texts ? ranksOfTexts(*texts) : ColumnRanks{std::vector<int>(size_t(n), 0), 1};
}

// The messages ranked by their whole texts: by their heads first, then the records whose heads
// are equal by the whole texts, which only those records read from the database.
ColumnRanks NaviFolderModel::messageRanks() const
{
    const int n = m_rows.size();
    // A record may hold its whole text once read; it is ranked by its head like the others.
    TextColumn shortened;
    bool longer = false;
    for (int record = 0; record < n && !longer; ++record)
        longer = NaviListQuery::messageHeadSize(m_messages.at(record)) < m_messages.length(record);
    if (longer) {
        shortened.reserve(n, n * 64);
        for (int record = 0; record < n; ++record) {
            const QStringView text = m_messages.at(record);
            shortened.append(text.left(NaviListQuery::messageHeadSize(text)));
        }
    }
    const TextColumn& heads = longer ? shortened : m_messages;
    const ColumnRanks ranks = ranksOfTexts(heads);
    const std::vector<int> tied = TiedRanks::tiedRecords(ranks, [&](int record) {
        return !m_whole.at(record) || heads.length(record) < m_messages.length(record);
    });
    if (tied.empty())
        return ranks;

    std::vector<qint64> rowIds;
    QHash<qint64, int> recordOfRowId;
    for (int record : tied) {
        const qint64 rowId = m_rows.rowId[size_t(record)];
        if (!m_whole.at(record) && rowId != 0) {
            rowIds.push_back(rowId);
            recordOfRowId.insert(rowId, record);
        }
    }
    TextColumn read;
    std::vector<int> readIndex(size_t(n), -1);
    if (m_heads) {
        m_heads->readMessages(rowIds, [&](qint64 rowId, QStringView aid, QStringView bidId,
                                          qint64 number, QStringView message) {
            const int record = recordOfRowId.value(rowId, -1);
            if (record < 0 || m_rows.aid.at(record) != aid || m_rows.bidId.at(record) != bidId ||
                m_rows.number[size_t(record)] != number)
                return;
            readIndex[size_t(record)] = read.size();
            read.append(message);
        });
    }
    // A message no longer stored is ordered by what the row holds.
    return TiedRanks::refine(ranks, tied, [&](int record) {
        const int index = readIndex[size_t(record)];
        return index < 0 ? m_messages.at(record) : read.at(index);
    });
}

void NaviFolderModel::readHead(int record) const
{
    if (m_headRead.at(record))
        return;
    NaviRow row;
    row.headPending = true;
    row.rowId = m_rows.rowId[size_t(record)];
    row.aid = m_rows.aid.string(record);
    row.bidId = m_rows.bidId.string(record);
    row.number = QString::number(m_rows.number[size_t(record)]);
    if (m_heads)
        m_heads->readHead(row);
    m_messages.set(record, row.message);
    m_headRead.set(record, true);
    m_whole.set(record, row.message.size() < NaviListQuery::messageHeadLength);
}

void NaviFolderModel::readAllHeads() const
{
    const int n = m_rows.size();
    bool pending = false;
    for (int record = 0; record < n && !pending; ++record)
        pending = !m_headRead.at(record);
    if (!pending || !m_heads)
        return;
    // The records by rowid (a row added by the store has none and holds its message).
    std::vector<std::pair<qint64, int>> records;
    records.reserve(size_t(n));
    for (int record = 0; record < n; ++record) {
        if (!m_headRead.at(record))
            records.emplace_back(m_rows.rowId[size_t(record)], record);
    }
    std::sort(records.begin(), records.end());
    m_heads->readFolder([&](qint64 rowId, QStringView head) {
        const auto it =
            std::lower_bound(records.begin(), records.end(), std::pair<qint64, int>(rowId, -1));
        if (it == records.end() || it->first != rowId)
            return;
        const int record = it->second;
        m_messages.set(record, head);
        m_headRead.set(record, true);
        m_whole.set(record, head.size() < NaviListQuery::messageHeadLength);
    });
    // A message filed elsewhere since the list was filled is read on its own.
    for (int record = 0; record < n; ++record)
        readHead(record);
}
