#pragma once

#include <QString>

#include <functional>
#include <optional>

class QAbstractItemView;

namespace NaviListQuery {
class MessageReader;
}

// The two exports of list contents to a CSV file that the user picks. Each returns true when
// the file was written or the user stopped the export, false when writing failed; every path
// sets *message, and the caller decides where it goes.

// The whole text of a cell where the row holds only its head, or nothing to take the cell as
// the list gives it.
using WholeCellText =
    std::function<std::optional<QString>(QAbstractItemView* list, int row, int column)>;

// The header captions, then each row in the shown order: a field per column of the list, each
// the cell's whole text (ListSearchView::FullTextRole, else wholeText, else the shown text).
bool exportListViewCsv(QAbstractItemView* list, QString* message, const QString& defaultName,
                       const WholeCellText& wholeText = {});

// One line per selected row in list order: the stored bidder information of the bidder id in
// the sub-item bidderColumn, or six empty fields for a bidder not stored. Reads on a connection
// of its own; a database error is not caught.
bool exportBidderInfoCsv(QAbstractItemView* list, int bidderColumn, QString* message,
                         const QString& defaultName);

// The whole message of the message lists' rows, read through the reader where a row holds
// only its head.
WholeCellText wholeNaviMessages(NaviListQuery::MessageReader& reader);
