#include "common/NaviSession.h"

NaviSession::NaviSession(QObject* parent) : QObject(parent) {}

void NaviSession::setLoginId(const QString& id)
{
    if (loginId == id)
        return;
    loginId = id;
    emit loginChanged(loginId);
}

void NaviSession::setDownloadKind(int kind)
{
    if (downloadKind == kind)
        return;
    downloadKind = kind;
    emit busyChanged(downloadKind);
}

void NaviSession::beginMessagePost()
{
    postingMessage = true;
    emit postingChanged(true);
}

void NaviSession::endMessagePost()
{
    if (!postingMessage)
        return;
    postingMessage = false;
    emit postingChanged(false);
}

bool NaviSession::messagePostAllowed() const
{
    return !postingMessage && (downloadKind == 0 || downloadKind == 4);
}

void NaviSession::addLogMessage(const QString& text)
{
    emit logLine(text);
}

void NaviSession::setMessageFontSize(int points)
{
    if (m_messageFontSize == points)
        return;
    m_messageFontSize = points;
    emit messageFontSizeChanged(points);
}

void NaviSession::notifyListingRowChanged(const QString& aid)
{
    emit listingRowChanged(aid);
}
