#pragma once

#include "site/NaviDownloadRun.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Board and message pages written for the tests from the site's marker texts, served by a fake
// page fetcher that records what was asked for.
namespace NaviTestPages {

inline const QString itemBase = QStringLiteral("http://item.test");
inline const QString profileBase = QStringLiteral("http://profiles.test");

inline NaviSiteUrls urls()
{
    return {itemBase, profileBase};
}

struct Message
{
    QString number;
    QString writer;
    QString subject = QStringLiteral("件名");
    QString date = QStringLiteral("12月08日 09時03分");
    QString text = QStringLiteral("本文");
};

inline QString messageLink(const QString& aid, const QString& number, const QString& bidId)
{
    return QStringLiteral("/show/contact_detail?aID=%1&no=%2&target=%3").arg(aid, number, bidId);
}

// One message: its link line with the subject, the writer's profile link, the date line.
inline QString boardEntry(const QString& aid, const QString& bidId, const Message& message)
{
    return QStringLiteral("<tr><td><a href=\"%1\">No.%2</a> <b>%3</b></td></tr>\n"
                          "<tr><td>投稿者：<A href=\"%4/%5\">%5</A></td></tr>\n"
                          "<tr><td><small>%6</small></td></tr>\n")
        .arg(messageLink(aid, message.number, bidId), message.number, message.subject, profileBase,
             message.writer, message.date);
}

inline QString boardPage(const QString& aid, const QString& bidId, const QList<Message>& messages)
{
    QString page = QStringLiteral("<html><head><title>取引ナビ</title></head><body>\n"
                                  "<h2>メッセージ一覧</h2>\n<table>\n");
    for (const Message& message : messages)
        page += boardEntry(aid, bidId, message);
    page += QStringLiteral("</table>\n</body></html>\n");
    return page;
}

inline QString messagePage(const QString& text)
{
    return QStringLiteral("<html><body>\n<div><span class=\"msg\"><small>%1</small></span></div>\n"
                          "</body></html>\n")
        .arg(text);
}

inline QString accessNoticePage()
{
    return QStringLiteral("<html><body>正しい手順でアクセスされていません。</body></html>");
}

struct FakeSite
{
    QHash<QString, QString> pages;
    QStringList fetched;

    void addBoard(const QString& aid, const QString& bidId, const QList<Message>& messages)
    {
        pages.insert(NaviDownloadRun::boardUrl(urls(), aid, bidId),
                     boardPage(aid, bidId, messages));
        for (const Message& message : messages)
            pages.insert(itemBase + messageLink(aid, message.number, bidId),
                         messagePage(message.text));
    }
    QString messageUrl(const QString& aid, const QString& number, const QString& bidId) const
    {
        return itemBase + messageLink(aid, number, bidId);
    }
    NaviDownloadRun::PageFetcher fetcher()
    {
        return [this](const QString& url) {
            fetched << url;
            return pages.value(url);
        };
    }
};

} // namespace NaviTestPages
