#include "compose/TemplateStore.h"

#include "platform/Sql.h"

#include <QVariant>

namespace {

const char* const flagParams[5] = {":DATA_FIRST_FLG", ":DATA_PAYMENT_FLG", ":DATA_RECEIPT_FLG",
                                   ":DATA_EVALUATION_FLG", ":DATA_END_FLG"};
const char* const flagColumns[5] = {"FirstFlg", "PaymentFlg", "ReceiptFlg", "EvaluationFlg",
                                    "EndFlg"};

QString choiceColumn(TemplateKind kind)
{
    return kind == TemplateKind::Navi ? QStringLiteral("Subject") : QStringLiteral("Evaluation");
}

QString choiceParam(TemplateKind kind)
{
    return kind == TemplateKind::Navi ? QStringLiteral(":DATA_SUBJECT")
                                      : QStringLiteral(":DATA_EVA");
}

SqlParams recordParams(TemplateKind kind, const TemplateRecord& record)
{
    SqlParams params{{QStringLiteral(":DATA_SAVENAME"), record.saveName},
                     {choiceParam(kind), record.choice},
                     {QStringLiteral(":DATA_MSG"), record.message}};
    for (int i = 0; i < 5; ++i)
        params.append({QString::fromLatin1(flagParams[i]), int(record.flags[i])});
    return params;
}

} // namespace

TemplateStore::TemplateStore(const QSqlDatabase& db, TemplateKind kind) : m_db(db), m_kind(kind)
{
    const QString table = tableName();
    const QString choice = choiceColumn(kind);
    const QString choiceParameter = choiceParam(kind);
    queryTemplateNames =
        Sql::prepare(db, QStringLiteral("SELECT SaveName FROM %1 ORDER BY SortNumber").arg(table));
    queryTemplateByName = Sql::prepare(
        db, QStringLiteral("SELECT * FROM %1 WHERE SaveName=:DATA_SAVENAME").arg(table));
    queryInsertTemplate = Sql::prepare(
        db, QStringLiteral("INSERT INTO %1 (SaveName,%2,Message,SortNumber,FirstFlg,PaymentFlg,"
                           "ReceiptFlg,EvaluationFlg,EndFlg) VALUES(:DATA_SAVENAME,%3,:DATA_MSG,"
                           ":DATA_SORTNUMBER,:DATA_FIRST_FLG,:DATA_PAYMENT_FLG,:DATA_RECEIPT_FLG,"
                           ":DATA_EVALUATION_FLG,:DATA_END_FLG)")
                .arg(table, choice, choiceParameter));
    queryUpdateTemplate = Sql::prepare(
        db, QStringLiteral("UPDATE %1 SET %2=%3,Message=:DATA_MSG,FirstFlg=:DATA_FIRST_FLG,"
                           "PaymentFlg=:DATA_PAYMENT_FLG,ReceiptFlg=:DATA_RECEIPT_FLG,"
                           "EvaluationFlg=:DATA_EVALUATION_FLG,EndFlg=:DATA_END_FLG "
                           "WHERE SaveName=:DATA_SAVENAME")
                .arg(table, choice, choiceParameter));
    queryRenameTemplate = Sql::prepare(
        db, QStringLiteral("UPDATE %1 SET SaveName=:DATA_NEWSAVENAME WHERE SaveName=:DATA_SAVENAME")
                .arg(table));
}

QString TemplateStore::tableName(TemplateKind kind)
{
    return kind == TemplateKind::Navi ? QStringLiteral("T_NaviTemplate")
                                      : QStringLiteral("T_EvaluationTemplate");
}

QStringList TemplateStore::names()
{
    Sql::exec(queryTemplateNames);
    QStringList result;
    while (queryTemplateNames.next())
        result << queryTemplateNames.value(0).toString();
    queryTemplateNames.finish();
    return result;
}

std::optional<TemplateRecord> TemplateStore::find(const QString& saveName)
{
    Sql::exec(queryTemplateByName, {{QStringLiteral(":DATA_SAVENAME"), saveName}});
    std::optional<TemplateRecord> found;
    if (queryTemplateByName.next()) {
        TemplateRecord record;
        record.saveName = queryTemplateByName.value(QStringLiteral("SaveName")).toString();
        record.choice = queryTemplateByName.value(choiceColumn(m_kind)).toInt();
        record.message = queryTemplateByName.value(QStringLiteral("Message")).toString();
        for (int i = 0; i < 5; ++i)
            record.flags[i] =
                queryTemplateByName.value(QString::fromLatin1(flagColumns[i])).toInt() != 0;
        found = record;
    }
    queryTemplateByName.finish();
    return found;
}

bool TemplateStore::exists(const QString& saveName)
{
    return find(saveName).has_value();
}

void TemplateStore::insert(const TemplateRecord& record, int sortNumber)
{
    SqlParams params = recordParams(m_kind, record);
    params.append({QStringLiteral(":DATA_SORTNUMBER"), sortNumber});
    Sql::exec(queryInsertTemplate, params);
}

void TemplateStore::update(const TemplateRecord& record)
{
    Sql::exec(queryUpdateTemplate, recordParams(m_kind, record));
}

void TemplateStore::rename(const QString& oldName, const QString& newName)
{
    Sql::exec(queryRenameTemplate, {{QStringLiteral(":DATA_NEWSAVENAME"), newName},
                                    {QStringLiteral(":DATA_SAVENAME"), oldName}});
}

void TemplateStore::remove(const QString& saveName)
{
    // The name is bound: a name holding "'" is deleted like any other.
    Sql::exec(m_db, QStringLiteral("DELETE FROM %1 WHERE SaveName=:DATA_SAVENAME").arg(tableName()),
              {{QStringLiteral(":DATA_SAVENAME"), saveName}});
}

void TemplateStore::writeOrder(const QStringList& names)
{
    Sql::Transaction transaction(m_db);
    QSqlQuery query = Sql::prepare(
        m_db,
        QStringLiteral("UPDATE %1 SET SortNumber=:DATA_SORT_NUMBER WHERE SaveName=:DATA_SAVENAME")
            .arg(tableName()));
    for (int i = 0; i < names.size(); ++i)
        Sql::exec(query, {{QStringLiteral(":DATA_SORT_NUMBER"), i},
                          {QStringLiteral(":DATA_SAVENAME"), names.at(i)}});
    transaction.commit();
}
