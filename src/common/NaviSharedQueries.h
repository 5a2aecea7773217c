#pragma once

#include <QSqlQuery>

class QSqlDatabase;

// The sixteen prepared queries shared over the main connection, made on the main window's first
// idle moment and released before the connection closes.
struct NaviSharedQueries
{
    QSqlQuery queryLoginFolders, queryInsertFolder, queryNaviList, queryInsertNavi, queryBidderInfo,
        queryBidderName, queryBidTitle, queryNewestAid, queryNaviNumberCount, queryDeleteNavi,
        queryUpdateUnsealing, queryTransactionNavi, queryUnsealedCounts, queryBidUrl,
        queryNaviTemplateByName, queryNaviByAid;
    bool ready = false;

    // Prepares all sixteen on the connection, in this order.
    void prepare(const QSqlDatabase& db);
    void release();
};
