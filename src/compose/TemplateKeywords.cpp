#include "compose/TemplateKeywords.h"

#include "common/NaviSession.h"
#include "platform/Dialogs.h"
#include "platform/Sql.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"

#include <QPointer>
#include <QSqlQuery>

#include <stdexcept>

KeywordSource readKeywordSource(const QSqlDatabase& db, const BidListView& listViewBid,
                                const QString& loginId, const QString& templateText,
                                const QString& auctionId, const QString& winnerId)
{
    using namespace BidListColumns;
    KeywordSource source;
    source.templateText = templateText;
    source.winnerId = winnerId;
    source.loginId = loginId;

    QString title, price, quantity;
    {
        QSqlQuery listing = Sql::exec(db,
                                      "SELECT Title, Price, Quantity, Carriage, Forwarding"
                                      " FROM T_BidData WHERE Aid=:AID AND BidId=:BID_ID",
                                      {{":AID", auctionId}, {":BID_ID", winnerId}});
        if (listing.next()) {
            title = listing.value(0).toString();
            price = listing.value(1).toString();
            quantity = listing.value(2).toString();
            source.carriage = listing.value(3).toString();
            source.forwarding = listing.value(4).toString();
        }
    }
    source.auctions.append(makeAuctionInfo(auctionId, title, price, quantity));

    for (int row = 0; row < listViewBid.topLevelItemCount(); ++row) {
        const BidRow item = listViewBid.bidItem(row);
        if (item.textView(column(BidId)) != winnerId)
            continue;
        const QString aid = item->text(column(Aid));
        if (aid == auctionId)
            continue;
        source.auctions.append(makeAuctionInfo(aid, item->text(column(Title)),
                                               item->text(column(Price)),
                                               item->text(column(Quantity))));
    }

    {
        QSqlQuery winner =
            Sql::exec(db, "SELECT Name FROM T_BidMaster WHERE Id=:ID", {{":ID", winnerId}});
        if (winner.next())
            source.winnerName = winner.value(0).toString();
    }
    {
        QSqlQuery seller = Sql::exec(
            db, "SELECT Name, NamePhonetic, Post, Address1, Tel, Mail FROM T_PersonalData");
        if (seller.next()) {
            source.seller = {seller.value(0).toString(), seller.value(1).toString(),
                             seller.value(2).toString(), seller.value(3).toString(),
                             seller.value(4).toString(), seller.value(5).toString()};
        }
    }
    return source;
}

namespace {

QPointer<NaviSession> keywordSession;
QPointer<BidListView> keywordListViewBid;

} // namespace

void setTemplateKeywordContext(const TemplateKeywordContext& context)
{
    keywordSession = context.session;
    keywordListViewBid = context.listViewBid;
}

void convertTemplateKeywords(QString& result, const QString& templateText, const QString& auctionId,
                             const QString& winnerId, bool& errorFlag, QString& errorText)
{
    errorFlag = false;
    if (!keywordSession || !keywordListViewBid)
        throw std::logic_error("convertTemplateKeywords needs the main window");
    const QString loginId = keywordSession->loginId;
    const KeywordResult expanded = expandTemplateKeywords(
        readKeywordSource(keywordSession->connection, *keywordListViewBid, loginId, templateText,
                          auctionId, winnerId));
    result = expanded.text;
    errorFlag = expanded.error;
    errorText += expanded.errorText;
    if (expanded.calcCloseMissing)
        Dialogs::showError(nullptr, QStringLiteral("キーワード変換エラー"),
                           QStringLiteral("%CALC%キーワードエラー\r\n%/CALC%がありません。"));
}
