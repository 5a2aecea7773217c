#include "views/NaviFolderQuery.h"

#include "platform/Sql.h"

#include <QHash>

#include <algorithm>
#include <numeric>

namespace NaviFolderQuery {

namespace {

// Ids join without regard to the case of their ASCII letters, as the columns compare.
QString foldedId(QStringView id)
{
    QString folded = id.toString();
    for (QChar& c : folded) {
        if (c.unicode() >= u'A' && c.unicode() <= u'Z')
            c = QChar(char16_t(c.unicode() + (u'a' - u'A')));
    }
    return folded;
}

QString transactionKey(QStringView aid, QStringView bidId)
{
    return aid.toString() + QChar(u'\x1f') + foldedId(bidId);
}

// The listings' titles by auction id and winner; the first stored row of a transaction counts.
QHash<QString, QString> readTitles(const QSqlDatabase& db)
{
    QHash<QString, QString> titles;
    Sql::readRows(db, QStringLiteral("SELECT Aid,BidId,Title FROM T_BidData"), {},
                  [&titles](const Sql::RawRow& row) {
                      const QString key = transactionKey(row.text(0), row.text(1));
                      if (!titles.contains(key))
                          titles.insert(key, row.text(2).toString());
                  });
    return titles;
}

QHash<QString, QString> readNames(const QSqlDatabase& db)
{
    QHash<QString, QString> names;
    Sql::readRows(db, QStringLiteral("SELECT Id,Name FROM T_BidMaster"), {},
                  [&names](const Sql::RawRow& row) {
                      names.insert(foldedId(row.text(0)), row.text(1).toString());
                  });
    return names;
}

// The order of two UTF-16 units of differing texts as their code points order: the units of
// characters beyond U+FFFF (surrogates) come after every other unit.
inline char32_t codePointOrder(char16_t unit)
{
    if (unit < 0xD800)
        return unit;
    return unit < 0xE000 ? char32_t(unit) + 0x2000 : char32_t(unit) - 0x800;
}

inline char16_t foldLower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
}

// Texts as the database compares them without case: by code point, the ASCII letters as lower
// case, a text that begins another first.
int compareNoCase(QStringView a, QStringView b)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ca = foldLower(a[i].unicode());
        const char16_t cb = foldLower(b[i].unicode());
        if (ca != cb)
            return codePointOrder(ca) < codePointOrder(cb) ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

template <typename Less> void sortStably(std::vector<int>& order, int sortType, Less less)
{
    if (sortType == 0)
        std::stable_sort(order.begin(), order.end(), less);
    else
        std::stable_sort(order.begin(), order.end(), [&less](int a, int b) { return less(b, a); });
}

// Texts repeat (a transaction's title and winner over its messages, the same message sent to
// many): each distinct text is compared once, the rows then go stably by its rank. A missing
// title or name ranks before every text.
void sortByText(std::vector<int>& order, int sortType, const TextColumn& column,
                const BitColumn* missing = nullptr)
{
    QHash<QStringView, int> ids;
    std::vector<QStringView> distinct;
    std::vector<int> idOfRecord(static_cast<size_t>(column.size()));
    for (int record = 0; record < column.size(); ++record) {
        if (missing && missing->at(record)) {
            idOfRecord[size_t(record)] = -1;
            continue;
        }
        const QStringView text = column.at(record);
        const auto it = ids.constFind(text);
        if (it != ids.cend()) {
            idOfRecord[size_t(record)] = it.value();
            continue;
        }
        idOfRecord[size_t(record)] = int(distinct.size());
        ids.insert(text, int(distinct.size()));
        distinct.push_back(text);
    }
    std::vector<int> byText(distinct.size());
    std::iota(byText.begin(), byText.end(), 0);
    std::sort(byText.begin(), byText.end(), [&distinct](int a, int b) {
        return compareNoCase(distinct[size_t(a)], distinct[size_t(b)]) < 0;
    });
    // Texts equal without case share a rank; a missing cell has rank 0.
    std::vector<int> rankOfId(distinct.size());
    int rank = 0;
    for (size_t i = 0; i < byText.size(); ++i) {
        if (i == 0 ||
            compareNoCase(distinct[size_t(byText[i - 1])], distinct[size_t(byText[i])]) != 0)
            ++rank;
        rankOfId[size_t(byText[i])] = rank;
    }
    sortStably(order, sortType, [&idOfRecord, &rankOfId](int a, int b) {
        const int ia = idOfRecord[size_t(a)];
        const int ib = idOfRecord[size_t(b)];
        return (ia < 0 ? 0 : rankOfId[size_t(ia)]) < (ib < 0 ? 0 : rankOfId[size_t(ib)]);
    });
}

} // namespace

NaviFolderRows read(const QSqlDatabase& db, const QString& folderId, const QString& loginId,
                    bool withMessages)
{
    NaviFolderRows rows;
    rows.withMessages = withMessages;
    const QHash<QString, QString> titles = readTitles(db);
    const QHash<QString, QString> names = readNames(db);
    Sql::readRows(db,
                  QStringLiteral("SELECT rowid,Aid,BidId,WriteId,[Number],Subject,WriteDate,RecFlg,"
                                 "UnsealingFlg") +
                      (withMessages ? QStringLiteral(",Message") : QString()) +
                      QStringLiteral(" FROM T_Navi WHERE LoginId=:LOGINID AND FolderID=:FOLDER_ID"),
                  {{":LOGINID", loginId}, {":FOLDER_ID", folderId}}, [&](const Sql::RawRow& row) {
                      rows.rowId.push_back(row.integer(0));
                      const QStringView aid = row.text(1);
                      const QStringView bidId = row.text(2);
                      rows.aid.append(aid);
                      rows.bidId.append(bidId);
                      rows.writeId.append(row.text(3));
                      rows.number.push_back(row.integer(4));
                      rows.subject.append(row.text(5));
                      rows.writeDate.append(row.text(6));
                      rows.received.append(row.integer(7) != 0);
                      rows.read.append(row.integer(8) != 0);
                      if (withMessages)
                          rows.message.append(row.text(9));
                      const auto title = titles.constFind(transactionKey(aid, bidId));
                      rows.titleMissing.append(title == titles.cend());
                      rows.title.append(title == titles.cend() ? QStringView()
                                                               : QStringView(*title));
                      const auto name = names.constFind(foldedId(bidId));
                      rows.nameMissing.append(name == names.cend());
                      rows.name.append(name == names.cend() ? QStringView() : QStringView(*name));
                  });
    return rows;
}

std::vector<int> order(const NaviFolderRows& rows, int sortColumn, int sortType, int kind)
{
    // The records in the order of their rows in the table, which equal cells keep.
    std::vector<int> order(size_t(rows.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&rows](int a, int b) { return rows.rowId[size_t(a)] < rows.rowId[size_t(b)]; });
    switch (sortColumn) {
    case 0:
        sortStably(order, sortType,
                   [&rows](int a, int b) { return rows.picture(a) < rows.picture(b); });
        break;
    case 1:
        sortByText(order, sortType, rows.aid);
        break;
    case 2:
        sortByText(order, sortType, rows.title, &rows.titleMissing);
        break;
    case 3:
        sortByText(order, sortType, kind == 1 ? rows.bidId : rows.writeId);
        break;
    case 4:
        sortByText(order, sortType, rows.name, &rows.nameMissing);
        break;
    case 5:
        sortStably(order, sortType, [&rows](int a, int b) {
            return rows.number[size_t(a)] < rows.number[size_t(b)];
        });
        break;
    case 6:
        sortByText(order, sortType, rows.subject);
        break;
    case 7:
        if (rows.withMessages)
            sortByText(order, sortType, rows.message);
        break;
    case 8:
        sortByText(order, sortType, rows.writeDate);
        break;
    default:
        break;
    }
    return order;
}

} // namespace NaviFolderQuery
