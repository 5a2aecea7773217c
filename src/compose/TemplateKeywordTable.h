#pragma once

#include <QList>
#include <QString>

// One entry of the message template editor's keyword menu and tree. The text inserted at the
// caret is before + after, with the caret left between the two.
struct TemplateKeywordEntry
{
    QString label;
    QString before;
    QString after;
    bool inMenu = true;
    bool separatorAfter = false; // in the menu, a separator follows this entry
    QString group;               // the tree group; empty for a top-level entry
};

// The one table that drives the keyword menu, the keyword tree and the insertion, in order.
const QList<TemplateKeywordEntry>& templateKeywordTable();
