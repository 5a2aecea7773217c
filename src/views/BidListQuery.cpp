#include "views/BidListQuery.h"

#include "site/MessageCountCell.h"

#include "platform/Sql.h"
#include "views/BidListColumns.h"
#include "views/BidListSort.h"
#include "site/EndTimeQueue.h"

#include <QSqlQuery>

namespace BidListQuery {

namespace {

// Both counts of every transaction are kept in T_NaviCount.
const char* const Head =
    "SELECT T_BidData.[Index], T_BidData.Aid, T_BidData.Title, T_BidData.BidId,"
    " T_BidMaster.Name, T_BidData.Quantity, T_BidData.Price, T_BidData.EndDataTime,"
    " NAVI_COUNTS.NaviCount, NAVI_COUNTS.UnreadCount,"
    " T_BidData.FirstFlg, T_BidData.PaymentFlg, T_BidData.ReceiptFlg, T_BidData.EvaluationFlg,"
    " T_BidData.EndFlg, T_BidData.ContactMethod, T_BidData.Carriage, T_BidData.Forwarding,"
    " T_BidData.EvaluationUnnecessary, T_BidData.Remarks, T_BidData.Url"
    " FROM T_BidData"
    " LEFT JOIN T_BidMaster ON T_BidData.BidId=T_BidMaster.Id"
    " LEFT JOIN T_NaviCount AS NAVI_COUNTS ON NAVI_COUNTS.LoginId=:LOGIN_ID_NAVI"
    " AND NAVI_COUNTS.Aid=T_BidData.Aid AND NAVI_COUNTS.BidId=T_BidData.BidId"
    " WHERE T_BidData.DeleteFlg=FALSE AND T_BidData.LoginId=:LOGIN_ID";

// Record columns of Head in the order of the statement.
enum Field {
    FIndex,
    FAid,
    FTitle,
    FBidId,
    FName,
    FQuantity,
    FPrice,
    FEndDataTime,
    FNaviCount,
    FUnread,
    FFirstFlg,
    FPaymentFlg,
    FReceiptFlg,
    FEvaluationFlg,
    FEndFlg,
    FContactMethod,
    FCarriage,
    FForwarding,
    FEvaluationUnnecessary,
    FRemarks,
    FUrl
};

void addFlagCondition(QString& sql, const char* column, int choice)
{
    const QString c = QStringLiteral("T_BidData.") + QLatin1String(column);
    if (choice == FlagSet)
        sql += QStringLiteral(" AND (%1 IS NOT NULL AND %1<>'')").arg(c);
    else if (choice == FlagNotSet)
        sql += QStringLiteral(" AND (%1 IS NULL OR %1='')").arg(c);
}

} // namespace

QString Row::aid() const
{
    return cells.value(BidListColumns::column(BidListColumns::Aid));
}

QString Row::bidId() const
{
    return cells.value(BidListColumns::column(BidListColumns::BidId));
}

QString Row::endDataTime() const
{
    return cells.value(BidListColumns::column(BidListColumns::EndDataTime));
}

namespace {

QString statement(const Criteria& criteria, SqlParams& params)
{
    QString sql = QLatin1String(Head);
    params = {{QStringLiteral(":LOGIN_ID_NAVI"), criteria.loginId},
              {QStringLiteral(":LOGIN_ID"), criteria.loginId}};
    if (!criteria.auctionId.isEmpty()) {
        // A typed id compares without case, like the bidder id below.
        sql += QStringLiteral(" AND T_BidData.Aid=:AID COLLATE NOCASE");
        params.append({QStringLiteral(":AID"), criteria.auctionId});
    }
    if (!criteria.title.isEmpty()) {
        sql += QStringLiteral(" AND T_BidData.Title LIKE '%' || :TITLE || '%'");
        params.append({QStringLiteral(":TITLE"), criteria.title});
    }
    if (!criteria.bidderId.isEmpty()) {
        sql += QStringLiteral(" AND T_BidData.BidId LIKE '%' || :BID_ID || '%'");
        params.append({QStringLiteral(":BID_ID"), criteria.bidderId});
    }
    addFlagCondition(sql, "FirstFlg", criteria.first);
    addFlagCondition(sql, "PaymentFlg", criteria.payment);
    addFlagCondition(sql, "ReceiptFlg", criteria.receipt);
    addFlagCondition(sql, "EvaluationFlg", criteria.evaluation);
    addFlagCondition(sql, "EndFlg", criteria.end);
    return sql;
}

} // namespace

BidListRecords read(const QSqlDatabase& db, const Criteria& criteria, EndTimeQueue* endTimes)
{
    using namespace BidListColumns;
    SqlParams params;
    const QString sql = statement(criteria, params);
    BidListRecords records;
    auto& cells = records.cells;
    Sql::readRows(db, sql, params, [&](const Sql::RawRow& row) {
        for (int f = FIndex; f <= FEndDataTime; ++f)
            cells[size_t(f)].append(row.text(f));
        cells[size_t(column(NaviCount))].append(
            MessageCountCell::text(int(row.integer(FNaviCount)), int(row.integer(FUnread))));
        for (int f = FFirstFlg; f <= FUrl; ++f)
            cells[size_t(f - 1)].append(row.text(f));
        if (endTimes && row.text(FEndDataTime).isEmpty())
            endTimes->enqueue(row.text(FAid).toString());
    });
    return records;
}

QList<Row> run(const QSqlDatabase& db, const Criteria& criteria, EndTimeQueue* endTimes)
{
    using namespace BidListColumns;
    const BidListRecords records = read(db, criteria, endTimes);
    QList<Row> rows;
    rows.reserve(records.size());
    for (int record = 0; record < records.size(); ++record) {
        Row row;
        row.cells = records.row(record);
        const QString& count = row.cells.at(column(NaviCount));
        row.naviCount = int(BidListSort::numericValue(column(NaviCount), count));
        const qsizetype open = count.indexOf(u'(');
        if (open >= 0)
            row.unreadCount = QStringView(count).mid(open + 1).chopped(1).toInt();
        rows.append(std::move(row));
    }
    return rows;
}

} // namespace BidListQuery
