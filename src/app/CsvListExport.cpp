#include "app/CsvListExport.h"

#include "app/CsvExport.h"
#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/Sql.h"
#include "views/ListSearchView.h"
#include "views/NaviFolderList.h"
#include "views/NaviListItem.h"
#include "views/NaviListQuery.h"
#include "views/NaviRows.h"

#include <QFileInfo>
#include <QItemSelectionModel>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTreeWidget>

namespace {

// The save dialog, the empty name and the overwrite question. Returns the file to write, or an
// empty text with *message set when the export ends here.
QString chooseExportFile(QAbstractItemView* list, const QString& defaultName, QString* message)
{
    QString fileName;
    if (!Dialogs::chooseSaveFile(list->window(), CsvExport::saveDialogCaption, defaultName,
                                 CsvExport::fileFilter, &fileName)) {
        *message = CsvExport::cancelledMessage;
        return {};
    }
    if (fileName.isEmpty()) {
        *message = CsvExport::noNameMessage;
        return {};
    }
    fileName = CsvExport::withDefaultSuffix(fileName);
    if (QFileInfo::exists(fileName) &&
        !Dialogs::askOkCancel(nullptr, CsvExport::overwriteCaption, CsvExport::overwriteQuestion)) {
        *message = CsvExport::cancelledMessage;
        return {};
    }
    return fileName;
}

bool writeExport(const QString& fileName, const CsvExport::Cp932Lines& lines, QString* message)
{
    QString error;
    if (!CsvExport::writeFile(fileName, lines.bytes(), &error)) {
        *message = CsvExport::failureText(error);
        return false;
    }
    *message = CsvExport::doneText(lines.unwritableCount());
    return true;
}

// Which top-level rows are selected, read from the selection's ranges: asking each row would
// cost a walk over the ranges per row.
QList<bool> selectedRows(const QAbstractItemView* list)
{
    QList<bool> selected(list->model()->rowCount(), false);
    for (const QItemSelectionRange& range : list->selectionModel()->selection()) {
        if (range.parent().isValid() || range.left() > 0)
            continue;
        for (int row = qMax(0, range.top()); row <= range.bottom() && row < selected.size(); ++row)
            selected[row] = true;
    }
    return selected;
}

QString cellText(QAbstractItemView* list, const QModelIndex& cell, const WholeCellText& wholeText)
{
    const QVariant full = cell.data(ListSearchView::FullTextRole);
    if (full.isValid())
        return full.toString();
    if (wholeText)
        if (const std::optional<QString> text = wholeText(list, cell.row(), cell.column()))
            return *text;
    return cell.data(Qt::EditRole).toString();
}

} // namespace

bool exportListViewCsv(QAbstractItemView* list, QString* message, const QString& defaultName,
                       const WholeCellText& wholeText)
{
    const QString fileName = chooseExportFile(list, defaultName, message);
    if (fileName.isEmpty())
        return true;

    const QAbstractItemModel* model = list->model();
    const int columns = model->columnCount();
    CsvExport::Cp932Lines lines;
    QStringList fields;
    for (int column = 0; column < columns; ++column)
        fields << model->headerData(column, Qt::Horizontal).toString();
    lines.addLine(fields);
    for (int row = 0; row < model->rowCount(); ++row) {
        fields.clear();
        for (int column = 0; column < columns; ++column)
            fields << cellText(list, model->index(row, column), wholeText);
        lines.addLine(fields);
    }
    return writeExport(fileName, lines, message);
}

bool exportBidderInfoCsv(QAbstractItemView* list, int bidderColumn, QString* message,
                         const QString& defaultName)
{
    const QString fileName = chooseExportFile(list, defaultName, message);
    if (fileName.isEmpty())
        return true;

    CsvExport::Cp932Lines lines;
    {
        Database::ScopedConnection connection(QStringLiteral("bidderCsv"));
        QSqlQuery query =
            Sql::prepare(connection.db(), QStringLiteral("SELECT Id,Name,Post,Address1,Tel,"
                                                         "MailMain FROM T_BidMaster WHERE "
                                                         "[Id]=:DATA_ID"));
        const int column = bidderColumn + 1;
        const QList<bool> selected = selectedRows(list);
        for (int row = 0; row < selected.size(); ++row) {
            if (!selected.at(row))
                continue;
            const QString bidId = list->model()->index(row, column).data(Qt::EditRole).toString();
            Sql::exec(query, {{QStringLiteral(":DATA_ID"), bidId}});
            lines.addLine(CsvExport::bidderFields(query.next() ? query.record() : QSqlRecord()));
            query.finish();
        }
    }
    return writeExport(fileName, lines, message);
}

WholeCellText wholeNaviMessages(NaviListQuery::MessageReader& reader)
{
    return [&reader](QAbstractItemView* list, int row, int column) -> std::optional<QString> {
        int messageColumn = NaviFolderModel::MessageColumn;
        if (auto* items = qobject_cast<QTreeWidget*>(list)) {
            const NaviListItem* item = NaviListItem::of(items->topLevelItem(row));
            if (!item)
                return std::nullopt;
            messageColumn = item->messageColumn();
        } else if (!qobject_cast<NaviFolderList*>(list)) {
            return std::nullopt;
        }
        if (column != messageColumn)
            return std::nullopt;
        return reader.wholeMessage(NaviRows(list).row(row));
    };
}
