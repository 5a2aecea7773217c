#pragma once

#include <qnamespace.h>

#include <QString>

#include <functional>

class QAbstractItemView;
class QPlainTextEdit;

// The list search on the lists themselves: the row searches over a column of a list (column =
// sub-item + 1) and the message-body search that selects its hit in the message pane.
namespace ListSearchView {

// The role under which a row gives a cell's whole text when what it shows is shortened (the
// message column shows line breaks as blanks); the body search reads it.
inline constexpr int FullTextRole = Qt::UserRole + 40;

// The topmost selected row, or -1.
int selectedRow(const QAbstractItemView* list);

// Rows start + 1 to the last, then 0 to start, on the cell of the sub-item; -1 when none.
int findListItem(const QAbstractItemView* list, int start, int subItem, const QString& text);
// Rows selected - 1 down to 0, then the last down to selected + 1; every row from the last
// when selected is -1.
int findPreviousListItem(const QAbstractItemView* list, int selected, int subItem, const QString& text);

// Clears the selection, makes the row selected and current and scrolls it into view.
void selectFoundRow(QAbstractItemView* list, int row);

// Find next and find previous on a list from its selected row over the sub-item's cells; the
// found row is selected. Nothing happens for an empty text or without a hit. Returns the hit.
bool findNextInList(QAbstractItemView* list, int subItem, const QString& text);
bool findPreviousInList(QAbstractItemView* list, int subItem, const QString& text);

// Selects the text at offset/length of the CR LF message text in the pane that shows it with
// LF line breaks.
void selectInPane(QPlainTextEdit* pane, const QString& crlfMessage, qsizetype offset,
                  qsizetype length);

// The body search of find next (forward) or find previous from the selected row of the message
// list. messageSubItem is the sub-item of the message text (CR LF). On a hit in another row it
// selects that row, calls showSelectedMessage so that the pane shows that row's message at once,
// and selects the hit in the pane. Returns whether there was a hit. messageText, when given,
// gives a row's whole message in place of the cell (a list that holds only the heads).
bool findInMessages(QAbstractItemView* list, int messageSubItem, QPlainTextEdit* pane,
                    const QString& text, bool forward,
                    const std::function<void()>& showSelectedMessage,
                    const std::function<QString(int row)>& messageText = {});

} // namespace ListSearchView
