#include "views/ListSearchView.h"

#include "views/ListSearch.h"

#include <QItemSelectionModel>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QAbstractItemView>

namespace ListSearchView {

namespace {

ListSearch::RowText cellOf(const QAbstractItemView* list, int subItem)
{
    const QAbstractItemModel* model = list->model();
    return [model, subItem](int row) {
        return model->index(row, subItem + 1).data(Qt::EditRole).toString();
    };
}

int rowCountOf(const QAbstractItemView* list)
{
    return list->model()->rowCount();
}

// A cell's whole text: the row's own when it shows a shortened one, else its raw text.
ListSearch::RowText fullTextOf(const QAbstractItemView* list, int subItem)
{
    const QAbstractItemModel* model = list->model();
    return [model, subItem](int row) {
        const QModelIndex cell = model->index(row, subItem + 1);
        if (!cell.isValid())
            return QString();
        const QVariant full = cell.data(FullTextRole);
        return full.isValid() ? full.toString() : cell.data(Qt::EditRole).toString();
    };
}

QString toCrlf(QString shown)
{
    return shown.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

} // namespace

int selectedRow(const QAbstractItemView* list)
{
    // The ranges of the selection, not one index per selected cell.
    int first = -1;
    for (const QItemSelectionRange& range : list->selectionModel()->selection()) {
        if (!range.parent().isValid() && (first < 0 || range.top() < first))
            first = range.top();
    }
    return first;
}

int findListItem(const QAbstractItemView* list, int start, int subItem, const QString& text)
{
    return ListSearch::findNextRow(rowCountOf(list), start, cellOf(list, subItem), text);
}

int findPreviousListItem(const QAbstractItemView* list, int selected, int subItem,
                         const QString& text)
{
    return ListSearch::findPreviousRow(rowCountOf(list), selected, cellOf(list, subItem), text);
}

void selectFoundRow(QAbstractItemView* list, int row)
{
    const QModelIndex index = list->model()->index(row, 0);
    if (!index.isValid())
        return;
    list->clearSelection();
    list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
    list->scrollTo(index);
}

bool findNextInList(QAbstractItemView* list, int subItem, const QString& text)
{
    if (text.isEmpty())
        return false;
    const int row = findListItem(list, selectedRow(list), subItem, text);
    if (row < 0)
        return false;
    selectFoundRow(list, row);
    return true;
}

bool findPreviousInList(QAbstractItemView* list, int subItem, const QString& text)
{
    if (text.isEmpty())
        return false;
    const int row = findPreviousListItem(list, selectedRow(list), subItem, text);
    if (row < 0)
        return false;
    selectFoundRow(list, row);
    return true;
}

void selectInPane(QPlainTextEdit* pane, const QString& crlfMessage, qsizetype offset,
                  qsizetype length)
{
    const qsizetype start = ListSearch::crlfToShownOffset(crlfMessage, offset);
    const qsizetype end = ListSearch::crlfToShownOffset(crlfMessage, offset + length);
    QTextCursor cursor = pane->textCursor();
    cursor.setPosition(int(start));
    cursor.setPosition(int(end), QTextCursor::KeepAnchor);
    pane->setTextCursor(cursor);
    pane->ensureCursorVisible();
}

bool findInMessages(QAbstractItemView* list, int messageSubItem, QPlainTextEdit* pane,
                    const QString& text, bool forward,
                    const std::function<void()>& showSelectedMessage,
                    const std::function<QString(int row)>& messageText)
{
    const int selected = selectedRow(list);
    ListSearch::PaneState state;
    if (selected >= 0) {
        state.text = toCrlf(pane->toPlainText());
        const QTextCursor cursor = pane->textCursor();
        state.selectionStart = ListSearch::shownToCrlfOffset(state.text, cursor.selectionStart());
        state.selectionLength =
            ListSearch::shownToCrlfOffset(state.text, cursor.selectionEnd()) - state.selectionStart;
    }
    const ListSearch::RowText message =
        messageText ? ListSearch::RowText(messageText) : fullTextOf(list, messageSubItem);
    const int rows = rowCountOf(list);
    const std::optional<ListSearch::BodyHit> hit =
        forward ? ListSearch::findBodyNext(rows, selected, state, message, text)
                : ListSearch::findBodyPrevious(rows, selected, state, message, text);
    if (!hit)
        return false;
    if (hit->inShownMessage) {
        selectInPane(pane, state.text, hit->offset, hit->length);
        return true;
    }
    selectFoundRow(list, hit->row);
    if (showSelectedMessage)
        showSelectedMessage();
    selectInPane(pane, message(hit->row), hit->offset, hit->length);
    return true;
}

} // namespace ListSearchView
