#include "ListingPages.h"

namespace ListingPages {

namespace {
const QString crlf = QStringLiteral("\r\n");
}

QString listingUrl(const QString& aid)
{
    return QStringLiteral("http://page.auctions.yahoo.co.jp/jp/auction/") + aid;
}

QString listingLines(const Listing& listing)
{
    const QString winner =
        listing.allWinners
            ? QStringLiteral(
                  "<td><a href=\"http://auctions.yahoo.co.jp/jp/show/allwinners?aID=%1\">"
                  "落札者一覧</a></td>")
                  .arg(listing.aid)
            : QStringLiteral("<td><a href=\"http://auctions.yahoo.co.jp/jp/show/rating?userID=%1\">"
                             "%1</a> さん</td>")
                  .arg(listing.bidId);
    return QStringLiteral("<tr>") + crlf +
           QStringLiteral("<td><input type=\"checkbox\" name=\"ids\" value=\"%1\"></td>")
               .arg(listing.aid) +
           crlf +
           QStringLiteral("<td align=\"left\"><a href=\"%1\">%2</a></td>")
               .arg(listingUrl(listing.aid), listing.title) +
           crlf + QStringLiteral("<td align=\"right\"><b>%1 円</b></td>").arg(listing.price) +
           crlf + winner + crlf + QStringLiteral("</tr>") + crlf;
}

QString closedListPageAround(int total, const QString& listingBlock)
{
    return QStringLiteral("<html><head><title>出品終了分</title></head><body>") + crlf +
           QStringLiteral("<!-- DELIMITER START -->") + crlf +
           QStringLiteral("<td>%1件中 1～50件目</td>").arg(total) + crlf +
           QStringLiteral("<table><!-- LISTING START -->") + crlf + listingBlock +
           QStringLiteral("</table><!-- LISTING END -->") + crlf +
           QStringLiteral("<!-- DELIMITER END --></body></html>") + crlf;
}

QString closedListPage(int total, const QList<Listing>& listings)
{
    QString block;
    for (const Listing& listing : listings)
        block += listingLines(listing);
    return closedListPageAround(total, block);
}

QString noListingsPage()
{
    return QStringLiteral("<html><body>") + crlf + QStringLiteral("<!-- DELIMITER START -->") +
           crlf + QStringLiteral("<p>終了したオークションはありません</p>") + crlf +
           QStringLiteral("</body></html>") + crlf;
}

QString winnerLines(const Winner& winner)
{
    return QStringLiteral("<tr>") + crlf +
           QStringLiteral("<td class=\"decBg01 decBg05\">%1</td>").arg(winner.bidId) + crlf +
           QStringLiteral("<td><a href=\"http://contact.auctions.yahoo.co.jp/show/contact?b=%1\">"
                          "取引ナビ</a></td>")
               .arg(winner.bidId) +
           crlf + QStringLiteral("<td class=\"decBg01 decBg05\">%1</td>").arg(winner.quantity) +
           crlf + QStringLiteral("<td class=\"decBg01 decBg05\">%1 円</td>").arg(winner.price) +
           crlf + QStringLiteral("</tr>") + crlf;
}

namespace {
QString rows(const QList<Winner>& winners)
{
    QString block;
    for (qsizetype i = 0; i < winners.size(); ++i) {
        if (i > 0)
            block += QStringLiteral("<!-- advance -->") + crlf;
        block += winnerLines(winners[i]);
    }
    return block;
}
} // namespace

QString itemPageAround(const QString& rowsBlock)
{
    return QStringLiteral("<html><body>") + crlf +
           QStringLiteral("<table class=\"LISTTABLE\" summary=\"落札者\">") + crlf + rowsBlock +
           QStringLiteral("</table><!-- /LISTTABLE -->") + crlf + QStringLiteral("</body></html>") +
           crlf;
}

QString itemPage(const QList<Winner>& winners)
{
    return itemPageAround(rows(winners));
}

QString instantBuyPage(const QString& title, const QList<Winner>& winners)
{
    return QStringLiteral("<html><body>") + crlf + QStringLiteral("<div id=\"TITLEBAR\">") + crlf +
           QStringLiteral("<h1 property=\"auction:Title\">%1</h1>").arg(title) + crlf +
           QStringLiteral("</div>") + crlf +
           QStringLiteral("<table class=\"LISTTABLE\" summary=\"落札者\">") + crlf + rows(winners) +
           QStringLiteral("</table><!-- /LISTTABLE -->") + crlf + QStringLiteral("</body></html>") +
           crlf;
}

QList<Listing> numberedListings(int first, int count)
{
    QList<Listing> listings;
    for (int i = first; i < first + count; ++i)
        listings.append({QStringLiteral("x%1").arg(i), QStringLiteral("商品%1").arg(i),
                         QStringLiteral("%1,000").arg(i), QStringLiteral("bidder%1").arg(i)});
    return listings;
}

} // namespace ListingPages
