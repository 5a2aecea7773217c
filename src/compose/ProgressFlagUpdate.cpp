#include "compose/ProgressFlagUpdate.h"

#include "platform/Sql.h"
#include "views/BidListColumns.h"

#include <QStringList>

namespace ProgressFlagUpdate {

namespace {

struct Flag
{
    bool Choice::*checked;
    const char* column;
    int cell;
};

const Flag flags[] = {
    {&Choice::first, "FirstFlg", BidListColumns::FirstFlg},
    {&Choice::payment, "PaymentFlg", BidListColumns::PaymentFlg},
    {&Choice::receipt, "ReceiptFlg", BidListColumns::ReceiptFlg},
    {&Choice::evaluation, "EvaluationFlg", BidListColumns::EvaluationFlg},
    {&Choice::end, "EndFlg", BidListColumns::EndFlg},
};

} // namespace

QString statement(const Choice& choice)
{
    QStringList assignments;
    for (const Flag& flag : flags)
        if (choice.*flag.checked)
            assignments << QString::fromLatin1(flag.column) + QStringLiteral("=:") +
                               QString::fromLatin1(flag.column).toUpper();
    if (assignments.isEmpty())
        return QString();
    return QStringLiteral("UPDATE T_BidData SET ") + assignments.join(u',') +
           QStringLiteral(" WHERE Aid=:AID AND BidId=:BID_ID");
}

QList<int> cells(const Choice& choice)
{
    QList<int> result;
    for (const Flag& flag : flags)
        if (choice.*flag.checked)
            result << flag.cell;
    return result;
}

QList<int> apply(const QSqlDatabase& db, const Choice& choice, const QString& value,
                 const QString& aid, const QString& bidId, const QList<ListedRow>& rows,
                 bool plural)
{
    if (!choice.any())
        return {};
    QSqlQuery query = Sql::prepare(db, statement(choice));
    const auto run = [&](const QString& rowAid) {
        SqlParams params;
        for (const Flag& flag : flags)
            if (choice.*flag.checked)
                params.append({u':' + QString::fromLatin1(flag.column).toUpper(), value});
        params.append({QStringLiteral(":AID"), rowAid});
        params.append({QStringLiteral(":BID_ID"), bidId});
        Sql::exec(query, params);
    };
    run(aid);
    QList<int> touched;
    for (int i = 0; i < rows.size(); ++i) {
        const ListedRow& row = rows.at(i);
        if (!plural) {
            if (row.aid == aid && row.bidId == bidId) {
                touched << i;
                break;
            }
            continue;
        }
        if (row.bidId != bidId)
            continue;
        if (row.aid != aid)
            run(row.aid);
        touched << i;
    }
    return touched;
}

} // namespace ProgressFlagUpdate
