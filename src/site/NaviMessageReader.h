#pragma once

#include <QString>

// Reads one message's text from its own page; the text's "<br>" become CR LF.
struct NaviMessageRead
{
    bool ok = false;
    QString text;
    QString errorText; // on failure: the text that follows the auction id in the log line
};

NaviMessageRead readNaviMessage(const QString& page);
