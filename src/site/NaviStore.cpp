#include "site/NaviStore.h"

#include "common/CommonRoutines.h"
#include "site/MessageCountCell.h"
#include "platform/Sql.h"
#include "site/NaviDownloadTexts.h"
#include "site/NaviWorkList.h"

#include <QRegularExpression>

namespace {

const QString receivedFolder = QStringLiteral("000");
const QString sentFolder = QStringLiteral("001");

QString firstValue(const QSqlDatabase& db, const QString& text, const SqlParams& params)
{
    const QVariant value = Sql::scalar(db, text, params);
    return value.isValid() ? value.toString() : QString();
}

} // namespace

NaviStore::NaviStore(const QSqlDatabase& db, const QString& loginId, bool reDownload, QDate today)
    : m_db(db), m_loginId(loginId), m_reDownload(reDownload), m_today(today)
{
}

NaviStoreSummary NaviStore::storeBoard(const NaviBoard& board)
{
    NaviStoreSummary summary;
    summary.aid = board.aid;
    summary.bidId = board.bidId;
    try {
        store(board, &summary);
    } catch (const DatabaseError& error) {
        const QString title = summary.title;
        summary = NaviStoreSummary();
        summary.ok = false;
        summary.aid = board.aid;
        summary.bidId = board.bidId;
        summary.title = title;
        summary.logLines << board.aid + NaviTexts::separator + title + NaviTexts::storeFailed +
                                error.driverMessage();
    }
    return summary;
}

void NaviStore::store(const NaviBoard& board, NaviStoreSummary* summary)
{
    if (!m_insertPrepared) {
        m_insert = Sql::prepare(
            m_db,
            QStringLiteral("INSERT INTO T_Navi "
                           "(Aid,WriteId,[Number],Subject,Message,WriteDate,RecFlg,NewFlg,FolderID,"
                           "LoginId,BidId) VALUES(:DATA_AID,:DATA_WRITE_ID,:DATA_NO,:DATA_SUBJECT,"
                           ":DATA_MSG,:DATA_DATE,:DATA_RECFLG,:DATA_NEWFLG,:DATA_FOLDER_ID,"
                           ":DATA_LOGINID,:DATA_BIDID)"));
        m_insertPrepared = true;
    }

    summary->title =
        firstValue(m_db, QStringLiteral("SELECT Title,BidId FROM T_BidData WHERE Aid=:DATA_AID"),
                   {{":DATA_AID", board.aid}});
    summary->bidderName =
        firstValue(m_db, QStringLiteral("SELECT Name FROM T_BidMaster WHERE Id=:DATA_ID"),
                   {{":DATA_ID", board.bidId}});
    const QDate today = m_today.isValid() ? m_today : QDate::currentDate();

    Sql::Transaction transaction(m_db);
    for (const NaviMessage& message : board.messages) {
        NaviStoredRow row;
        row.aid = board.aid;
        row.writeId = message.writeId;
        row.number = message.numberValue;
        row.subject = message.subject;
        row.message = message.message;
        row.writeDate = convertNaviDate(message.date, today);
        row.recFlg = message.recFlg;
        row.folderId = message.recFlg ? receivedFolder : sentFolder;
        row.loginId = m_loginId;
        row.bidId = board.bidId;
        Sql::exec(m_insert, {{":DATA_AID", row.aid},
                             {":DATA_WRITE_ID", row.writeId},
                             {":DATA_NO", row.number},
                             {":DATA_SUBJECT", row.subject},
                             {":DATA_MSG", row.message},
                             {":DATA_DATE", row.writeDate},
                             {":DATA_RECFLG", row.recFlg ? 1 : 0},
                             {":DATA_NEWFLG", row.recFlg ? 1 : 0},
                             {":DATA_FOLDER_ID", row.folderId},
                             {":DATA_LOGINID", row.loginId},
                             {":DATA_BIDID", row.bidId}});
        if (row.recFlg)
            ++summary->receivedCount;
        else
            ++summary->sentCount;
        ++summary->insertedByFolder[row.folderId];
        summary->rows.append(row);
    }

    QStringList lines;
    const QString head = board.aid + NaviTexts::separator + summary->title;
    if (summary->receivedCount > 0)
        lines << head + NaviTexts::newMessages + QString::number(summary->receivedCount) +
                     NaviTexts::newMessagesCount + board.bidId + NaviTexts::closeParen;

    summary->duplicated =
        NaviWorkList::numberRepeatCount(m_db, board.aid, board.bidId, m_loginId) > 1;
    if (summary->duplicated) {
        if (m_reDownload) {
            lines << head + NaviTexts::duplicateAgain + board.bidId + NaviTexts::closeParen;
        } else {
            lines << head + NaviTexts::duplicateReDownload + board.bidId + NaviTexts::closeParen;
            NaviWorkList::deleteMessages(m_db, board.aid, board.bidId, m_loginId);
            summary->deleted = true;
        }
    }
    transaction.commit();

    summary->logLines = lines;
    const stNaviReDownload key{board.aid, board.bidId};
    if (!summary->rows.isEmpty() && !m_stored.contains(key))
        m_stored.append(key);
    if (summary->deleted && !m_reDownloadQueue.contains(key)) {
        m_reDownloadQueue.append(key);
        summary->reDownloadQueued = true;
    }
}

QString NaviStore::messageCountCell(const QString& aid, const QString& bidId) const
{
    return MessageCountCell::read(m_db, m_loginId, aid, bidId);
}
