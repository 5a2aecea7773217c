#include "views/ProgressFlags.h"

#include "common/CommonDefine.h"
#include "common/CommonRoutines.h"
#include "views/BidListColumns.h"

QString flagValue(int bidFlg, const QString& bidFlgString, const QDate& today)
{
    switch (bidFlg) {
    case 0:
        return bidFlgString;
    case 1:
        return QStringLiteral("●");
    case 2: {
        QString text = makeTodayText(today);
        text.replace(QStringLiteral("月"), QStringLiteral("/"));
        text.remove(QStringLiteral("日"));
        return text;
    }
    default:
        return QString();
    }
}

namespace MarkerUpdates {
namespace {

// One statement for every row of the command: :KEYS is a JSON array of [Aid, BidId] pairs, and
// each pair marks the rows it names (BidId compares without case, by its column).
QString updateOf(const QString& setPart)
{
    return QStringLiteral("UPDATE ") + CommonDefine::tableBidData + QStringLiteral(" SET ") +
           setPart +
           QStringLiteral(" WHERE rowid IN (SELECT b.rowid FROM json_each(:KEYS) AS k JOIN ") +
           CommonDefine::tableBidData +
           QStringLiteral(" AS b ON b.Aid=json_extract(k.value, '$[0]') AND "
                          "b.BidId=json_extract(k.value, '$[1]'))");
}

} // namespace

std::optional<MarkerUpdate> progressFlags(int column, bool set, const QString& flagValue)
{
    struct Flag
    {
        int column;
        const char* prefix;
        const char* name;
        const char* parameter;
    };
    static const Flag flags[] = {
        {BidListColumns::FirstFlg, "住所連絡を", "FirstFlg", ":FIRST"},
        {BidListColumns::PaymentFlg, "支払いを", "PaymentFlg", ":PAYMENT"},
        {BidListColumns::ReceiptFlg, "受取りを", "ReceiptFlg", ":RECEIPT"},
        {BidListColumns::EvaluationFlg, "評価を", "EvaluationFlg", ":EVALUATION"},
        {BidListColumns::EndFlg, "終了を", "EndFlg", ":END"},
    };
    MarkerUpdate update;
    QStringList setParts;
    QString prefix;
    for (const Flag& flag : flags) {
        if (column != -1 && column != flag.column)
            continue;
        setParts << QString::fromUtf8(flag.name) + QLatin1Char('=') +
                        QString::fromUtf8(flag.parameter);
        update.parameters << QString::fromUtf8(flag.parameter);
        update.cells << flag.column;
        prefix = QString::fromUtf8(flag.prefix);
    }
    if (setParts.isEmpty())
        return std::nullopt;
    if (column == -1)
        prefix = QStringLiteral("全てのフラグを");
    update.statement = updateOf(setParts.join(QLatin1Char(',')));
    update.value = set ? flagValue : QString();
    update.confirmation =
        prefix + (set ? QStringLiteral("済にしますか？") : QStringLiteral("未にしますか？"));
    return update;
}

std::optional<MarkerUpdate> contactMethod(int tag)
{
    static const char* const questions[] = {"空白にしますか？", "取引ナビにしますか？",
                                            "メールにしますか？"};
    if (tag < 0 || tag > 2)
        return std::nullopt;
    MarkerUpdate update;
    update.statement = updateOf(QStringLiteral("ContactMethod=:CONTACT_METHOD"));
    update.parameters = {QStringLiteral(":CONTACT_METHOD")};
    update.cells = {BidListColumns::ContactMethod};
    update.value = tag == 0 ? QString() : CommonDefine::contactMethodWords.at(tag - 1);
    update.confirmation = QStringLiteral("連絡方法を") + QString::fromUtf8(questions[tag]);
    return update;
}

std::optional<MarkerUpdate> evaluationNecessity(int kind)
{
    static const char* const questions[] = {"空白にしますか？", "必要にしますか？",
                                            "不要にしますか？"};
    if (kind < 0 || kind > 2)
        return std::nullopt;
    MarkerUpdate update;
    update.statement = updateOf(QStringLiteral("EvaluationUnnecessary=:EVALUATION_UNNECESSARY"));
    update.parameters = {QStringLiteral(":EVALUATION_UNNECESSARY")};
    update.cells = {BidListColumns::EvaluationUnnecessary};
    update.value = kind == 0 ? QString() : CommonDefine::evaluationWords.at(kind - 1);
    update.confirmation = QStringLiteral("評価フラグを") + QString::fromUtf8(questions[kind]);
    return update;
}

} // namespace MarkerUpdates
