#pragma once

#include "views/NaviDetailPane.h"
#include "views/NaviListQuery.h"

#include <QObject>
#include <QPersistentModelIndex>
#include <QTimer>

#include <functional>

class QAbstractItemView;
class QPlainTextEdit;

// Fills a message list's detail pane once the selection has rested: every selection change
// restarts a single-shot timer, and only when it fires are the fields and the memo filled and
// detailShown emitted (the main window fills the bidder panel from it). A delay of 0 fills at
// once (the listing tab's message list has no timer).
class NaviSelectionDelay : public QObject
{
    Q_OBJECT
public:
    static constexpr int defaultDelayMs = 50;
    // The whole text of a row's message (a folder list holds only the heads).
    using MessageText = std::function<QString(const NaviRow& row)>;

    // The list is the folder list or a list of NaviListItems (see NaviRows).
    NaviSelectionDelay(QAbstractItemView* list, QPlainTextEdit* memo, int delayMs = defaultDelayMs,
                       QObject* parent = nullptr);

    // The fields filled besides the memo (the memo given here replaces the constructor's).
    void setDetailFields(const NaviDetailFields& fields) { m_fields = fields; }
    // Reads the whole message of a row that holds only its head, before it is shown.
    void setMessageText(MessageText messageText) { m_messageText = std::move(messageText); }

    // The row whose details are shown next: the list's current row when it is selected,
    // otherwise the first selected row, otherwise -1.
    int currentNaviRow() const;
    QTimer* timer() { return &m_timer; }
    // Fills the pane from the current row now (the body search shows its hit at once).
    void showNow() { showDetail(); }
    // Empties the fields and the memo.
    void clearDetail();

signals:
    // The row shown, as an index that follows it through sorts.
    void detailShown(const QPersistentModelIndex& row);

private:
    void selectionChanged();
    void showDetail();

    QAbstractItemView* m_list;
    NaviDetailFields m_fields;
    MessageText m_messageText;
    int m_delayMs;
    QTimer m_timer;
};
