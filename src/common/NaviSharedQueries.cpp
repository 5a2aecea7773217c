#include "common/NaviSharedQueries.h"

#include "platform/Sql.h"

#include <QSqlDatabase>

void NaviSharedQueries::prepare(const QSqlDatabase& db)
{
    queryLoginFolders =
        Sql::prepare(db, "SELECT ImageIndex FROM T_NaviFolderMaster WHERE LoginId=:DATA_LOGINID");
    queryInsertFolder = Sql::prepare(
        db, "INSERT INTO T_NaviFolderMaster "
            "([ID],Name,ImageIndex,SelectImageIndex,StateIndex,SortNumber,ExpandFlg,LoginId,"
            "UniqueIdName) VALUES(:DATA_ID,:DATA_NAME,:DATA_IMAGE_INDEX,:DATA_SELECT_IMAGE_INDEX,"
            ":DATA_STATE_INDEX,:DATA_SORT_NUMBER,:DATA_EXPAND_FLG,:DATA_LOGINID,"
            ":DATA_UNIQUE_ID_NAME)");
    queryNaviList = QSqlQuery(db);
    queryNaviList.setForwardOnly(true);
    queryInsertNavi = Sql::prepare(
        db, "INSERT INTO T_Navi "
            "(Aid,WriteId,[Number],Subject,Message,WriteDate,RecFlg,NewFlg,FolderID,LoginId,BidId) "
            "VALUES(:DATA_AID,:DATA_WRITE_ID,:DATA_NO,:DATA_SUBJECT,:DATA_MSG,:DATA_DATE,"
            ":DATA_RECFLG,:DATA_NEWFLG,:DATA_FOLDER_ID,:DATA_LOGINID,:DATA_BIDID)");
    queryBidderInfo = Sql::prepare(
        db, "SELECT Name,MailMain,Post,Address1,Tel FROM T_BidMaster WHERE Id=:DATA_ID");
    queryBidderName = Sql::prepare(db, "SELECT Name FROM T_BidMaster WHERE Id=:DATA_BID_ID");
    queryBidTitle = Sql::prepare(db, "SELECT Title,BidId FROM T_BidData WHERE Aid=:DATA_AID");
    queryNewestAid =
        Sql::prepare(db, "SELECT Aid FROM T_BidData WHERE LoginId=:DATA_LOGINID AND [Index]=1");
    queryNaviNumberCount =
        Sql::prepare(db, "SELECT [Aid],[BidId],[Number],Count([Number]) AS NumberCount FROM T_Navi "
                         "GROUP BY [Aid],[BidId],[Number] HAVING [Aid]=:AID AND [BidId]=:BID_ID "
                         "ORDER BY Count(T_Navi.Number) DESC");
    queryDeleteNavi = Sql::prepare(
        db, "DELETE FROM T_Navi WHERE Aid=:AID AND BidId=:BID_ID AND LoginId=:LOGIN_ID");
    queryUpdateUnsealing =
        Sql::prepare(db, "UPDATE T_Navi SET UnsealingFlg=:UNSEALING_FLG "
                         "WHERE Aid=:AID AND BidId=:BID_ID AND [Number]=:NUMBER");
    queryTransactionNavi =
        Sql::prepare(db, "SELECT * FROM T_Navi WHERE Aid=:DATA_AID AND BidId=:DATA_BIDID "
                         "AND LoginId=:DATA_LOGINID");
    queryUnsealedCounts =
        Sql::prepare(db, "SELECT FolderID,COUNT(FolderID) AS CntUnsealing FROM T_Navi "
                         "WHERE LoginId=:DATA_LOGINID AND UnsealingFlg = FALSE AND RecFlg = TRUE "
                         "GROUP BY FolderID");
    queryBidUrl =
        Sql::prepare(db, "SELECT Url FROM T_BidData WHERE LoginId=:DATA_LOGINID AND Aid=:DATA_AID");
    queryNaviTemplateByName =
        Sql::prepare(db, "SELECT * FROM T_NaviTemplate WHERE SaveName=:DATA_SAVENAME");
    queryNaviByAid =
        Sql::prepare(db, "SELECT * FROM T_Navi WHERE Aid=:WHERE_AID AND LoginId=:WHERE_LOGINID");
    ready = true;
}

void NaviSharedQueries::release()
{
    for (QSqlQuery* query :
         {&queryLoginFolders, &queryInsertFolder, &queryNaviList, &queryInsertNavi,
          &queryBidderInfo, &queryBidderName, &queryBidTitle, &queryNewestAid,
          &queryNaviNumberCount, &queryDeleteNavi, &queryUpdateUnsealing, &queryTransactionNavi,
          &queryUnsealedCounts, &queryBidUrl, &queryNaviTemplateByName, &queryNaviByAid})
        *query = QSqlQuery();
    ready = false;
}
