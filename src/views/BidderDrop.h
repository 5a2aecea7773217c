#pragma once

// Where a drag over the bidder panel comes from.
enum class DragSource { ListView, TreeView, Other };

// The bidder panel takes a dragged message row from a list while the message tab's list has
// fewer than two selected rows; a drag from the folder tree, or anything else, is refused.
constexpr bool bidderDropAccepted(DragSource source, int naviListSelectedRows)
{
    return source == DragSource::ListView && naviListSelectedRows < 2;
}
