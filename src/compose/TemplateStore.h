#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The two kinds of templates: message templates (with a subject choice) and feedback
// templates (with a rating).
enum class TemplateKind { Navi, Evaluation };

// One stored template. choice is the message template's Subject (1 to 4) or the feedback
// template's Evaluation (0 to 4); message is stored with CR LF.
struct TemplateRecord
{
    QString saveName;
    int choice = 0;
    QString message;
    // FirstFlg, PaymentFlg, ReceiptFlg, EvaluationFlg, EndFlg.
    std::array<bool, 5> flags{};
};

// The templates of one table on a given connection (the main window's), through the five
// prepared queries the editors and the composers share; names are kept in SortNumber order.
class TemplateStore
{
public:
    TemplateStore(const QSqlDatabase& db, TemplateKind kind);

    static QString tableName(TemplateKind kind);
    QString tableName() const { return tableName(m_kind); }

    QStringList names();
    std::optional<TemplateRecord> find(const QString& saveName);
    bool exists(const QString& saveName);
    void insert(const TemplateRecord& record, int sortNumber);
    // Overwrites the choice, message and flags of the template of that name; SortNumber stays.
    void update(const TemplateRecord& record);
    void rename(const QString& oldName, const QString& newName);
    void remove(const QString& saveName);
    // SortNumber 0, 1, 2 ... in the order given, in one transaction.
    void writeOrder(const QStringList& names);

    QSqlQuery queryTemplateNames, queryTemplateByName, queryInsertTemplate, queryUpdateTemplate,
        queryRenameTemplate;

private:
    QSqlDatabase m_db;
    TemplateKind m_kind;
};
