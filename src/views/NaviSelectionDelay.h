#pragma once

#include <QObject>
#include <QTimer>

class NaviListItem;
class QPlainTextEdit;
class QTreeWidget;

// Fills a message list's detail pane once the selection has rested: every selection change
// restarts a single-shot timer, and only when it fires is the memo filled and detailShown
// emitted (the main window fills the edits and the bidder panel from it). A delay of 0 fills
// at once (the listing tab's message list has no timer).
class NaviSelectionDelay : public QObject
{
    Q_OBJECT
public:
    static constexpr int defaultDelayMs = 50;

    NaviSelectionDelay(QTreeWidget* list, QPlainTextEdit* memo, int delayMs = defaultDelayMs,
                       QObject* parent = nullptr);

    // The row whose details are shown next: the list's current row when it is selected,
    // otherwise the first selected row, otherwise none.
    NaviListItem* currentNaviItem() const;
    QTimer* timer() { return &m_timer; }
    // Fills the pane from the current row now (the body search shows its hit at once).
    void showNow() { showDetail(); }

signals:
    void detailShown(NaviListItem* item);

private:
    void selectionChanged();
    void showDetail();

    QTreeWidget* m_list;
    QPlainTextEdit* m_memo;
    int m_delayMs;
    QTimer m_timer;
};
