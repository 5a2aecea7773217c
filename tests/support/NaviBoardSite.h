#pragma once

#include "FakeSite.h"
#include "NaviTestPages.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>

#include <memory>

// Serves the message boards and message pages of NaviTestPages from a FakeSite, in the site's
// code (Shift_JIS), together with the account status page that the login check reads.
class NaviBoardSite
{
public:
    explicit NaviBoardSite(FakeSite& site, const QString& loginId = QStringLiteral("seller01"));

    // Points the data folder's Site section at the fake site, with the profile host of the
    // test pages (it marks the writer's line and is never fetched).
    void useAsSite() const;

    // A board and the page of each of its messages.
    void addBoard(const QString& aid, const QString& bidId,
                  const QList<NaviTestPages::Message>& messages);
    void setMessagePage(const QString& aid, const QString& number, const QString& bidId,
                        const QString& page);
    // The board's answer comes only after this long.
    void setBoardDelay(const QString& aid, const QString& bidId, int delayMs);

    static QByteArray boardTarget(const QString& aid, const QString& bidId);
    static QByteArray messageTarget(const QString& aid, const QString& number,
                                    const QString& bidId);
    // The board and message requests so far, in order (path and query).
    QList<QByteArray> pageRequests() const;
    bool wasRequested(const QByteArray& target) const;
    // The answer to a board or message request (a test's own handler may wrap it).
    FakeSite::Response answer(const FakeSite::Request& request) const;

private:
    struct Pages
    {
        QMutex mutex;
        QHash<QByteArray, QByteArray> bodies;
        QHash<QByteArray, int> delays;
    };

    FakeSite& m_site;
    std::shared_ptr<Pages> m_pages = std::make_shared<Pages>();
};
