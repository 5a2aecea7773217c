#pragma once

#include "views/NaviListItem.h"

class QLineEdit;
class QPlainTextEdit;

// The read-only fields that show the chosen row of a message list. The message tab has all of
// them (EditNaviID, EditNaviTitle, EditNaviWriter, EditNaviSubject, EditNaviDate, MemoNavi); the
// listing tab's list has no id and title fields (EditBidNaviWriter, EditBidNaviSubject,
// EditBidNaviDate, MemoBidNavi). A field left null is not filled.
struct NaviDetailFields
{
    QLineEdit* id = nullptr;
    QLineEdit* title = nullptr;
    QLineEdit* writer = nullptr;
    QLineEdit* subject = nullptr;
    QLineEdit* date = nullptr;
    QPlainTextEdit* memo = nullptr;
};

namespace NaviDetailPane {

// Fills the fields from the row: the auction id, title, winner (the message tab's writer or
// addressee) or writer (the listing tab), subject, date and the row's message text.
void show(const NaviDetailFields& fields, NaviList list, const NaviRow& row);
// Empties every field.
void clear(const NaviDetailFields& fields);

} // namespace NaviDetailPane
