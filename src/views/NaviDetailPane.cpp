#include "views/NaviDetailPane.h"

#include "views/MemoText.h"
#include "views/NaviListItem.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace NaviDetailPane {
namespace {

void setField(QLineEdit* field, const QString& text)
{
    if (field) {
        field->setText(text);
        field->home(false);
    }
}

} // namespace

void show(const NaviDetailFields& fields, NaviList list, const NaviRow& row)
{
    const bool withListing = list != NaviList::Transaction;
    setField(fields.id, withListing ? row.aid : QString());
    setField(fields.title, withListing ? row.title : QString());
    setField(fields.writer, list == NaviList::Folder ? row.bidId : row.writeId);
    setField(fields.subject, row.subject);
    setField(fields.date, row.writeDate);
    if (fields.memo)
        MemoText::set(fields.memo, row.message);
}

void clear(const NaviDetailFields& fields)
{
    for (QLineEdit* field : {fields.id, fields.title, fields.writer, fields.subject, fields.date})
        if (field)
            field->clear();
    if (fields.memo)
        fields.memo->clear();
}

} // namespace NaviDetailPane
