#pragma once

#include <QString>

// Reads one message's text from its own page: its "<br>" become CR LF, its character references
// the characters written; other tags stay.
struct NaviMessageRead
{
    bool ok = false;
    QString text;
    QString errorText; // on failure: the text that follows the auction id in the log line
};

NaviMessageRead readNaviMessage(const QString& page);
