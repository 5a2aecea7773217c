#include "site/ClosedListScanner.h"

#include "site/PageLineReader.h"

namespace M = ClosedListMarkers;
using Seek = PageLineReader::Seek;

namespace {

int failureOf(Seek seek)
{
    return seek == Seek::LimitReached ? ClosedListPage::LimitReached
                                      : ClosedListPage::NotRecognised;
}

// Reads one listing from the "checkbox" line on. Returns Read on success, or the failure.
int readListing(PageLineReader& reader, ClosedListing& out)
{
    const QStringView checkboxLine = reader.line();
    const qsizetype valuePos = checkboxLine.indexOf(QStringView(M::value));
    const qsizetype aidEnd = checkboxLine.lastIndexOf(u'"');
    const QStringView aid = valuePos < 0
                                ? QStringView()
                                : PageText::slice(checkboxLine, valuePos + M::valueSkip, aidEnd);
    if (aid.isNull())
        return ClosedListPage::NotRecognised;
    out.aid = aid.toString();

    Seek seek = reader.seek(M::left, M::leftLimit);
    if (seek != Seek::Found)
        return failureOf(seek);
    const QStringView leftLine = reader.line();
    const qsizetype hrefPos = leftLine.indexOf(QStringView(M::href));
    const qsizetype openQuote =
        hrefPos < 0 ? -1 : leftLine.indexOf(u'"', hrefPos + QStringView(M::href).size());
    const qsizetype closeQuote = openQuote < 0 ? -1 : leftLine.indexOf(u'"', openQuote + 2);
    const qsizetype titleEnd = leftLine.indexOf(QStringView(M::linkEnd));
    const QStringView url =
        closeQuote < 0 ? QStringView() : PageText::slice(leftLine, openQuote + 1, closeQuote);
    const QStringView title = closeQuote < 0 || titleEnd < 0
                                  ? QStringView()
                                  : PageText::slice(leftLine, closeQuote + 2, titleEnd);
    if (url.isNull() || title.isNull())
        return ClosedListPage::NotRecognised;
    out.url = url.toString();
    out.title = title.toString();

    seek = reader.seek(M::right, M::rightLimit);
    if (seek != Seek::Found)
        return failureOf(seek);
    const QStringView rightLine = reader.line();
    const qsizetype boldPos = rightLine.lastIndexOf(QStringView(M::bold));
    const qsizetype yenPos = rightLine.indexOf(QStringView(M::yen));
    // The character in front of "円" is dropped with it.
    const QStringView price =
        boldPos < 0 || yenPos < 1
            ? QStringView()
            : PageText::slice(rightLine, boldPos + QStringView(M::bold).size(), yenPos - 1);
    if (price.isNull())
        return ClosedListPage::NotRecognised;
    out.price = price.toString();

    seek = reader.seek(M::href, M::hrefLimit);
    if (seek != Seek::Found)
        return failureOf(seek);
    const QStringView winnerLine = reader.line();
    const qsizetype lastQuote = winnerLine.lastIndexOf(u'"');
    const qsizetype idEnd = lastQuote < 0 ? -1 : winnerLine.indexOf(u'<', lastQuote + 2);
    const QStringView bidId =
        idEnd < 0 ? QStringView() : PageText::slice(winnerLine, lastQuote + 2, idEnd);
    if (bidId.isNull())
        return ClosedListPage::NotRecognised;
    out.bidId = bidId.toString();
    out.allWinners = PageLineReader::contains(winnerLine, M::allWinners) ||
                     PageLineReader::contains(winnerLine, M::allWinnersCaption);
    return ClosedListPage::Read;
}

// The listing loop over one page's block: each listing starts after one line passed over.
void readListings(PageLineReader& reader, ClosedListPage& page)
{
    for (;;) {
        reader.readLine();
        int counted = 0;
        for (;;) {
            if (!reader.readLine())
                return; // the end of the block ends the page
            if (PageLineReader::contains(reader.line(), M::checkbox))
                break;
            if (++counted >= M::checkboxLimit) {
                page.result = ClosedListPage::LimitReached;
                return;
            }
            if (PageLineReader::contains(reader.line(), M::listing))
                return; // the page's closing marker
        }
        ClosedListing listing;
        const int result = readListing(reader, listing);
        if (result != ClosedListPage::Read) {
            page.result = result;
            return;
        }
        page.listings.append(listing);
        if (reader.ended())
            return;
    }
}

qsizetype blockEnd(const QString& page)
{
    const qsizetype last = page.lastIndexOf(QStringView(M::listing));
    return last < 0 ? -1 : last + M::listingTail;
}

} // namespace

int closedListPageCount(int total)
{
    return total <= 0 ? 0 : total / 50 + (total % 50 != 0 ? 1 : 0);
}

ClosedListPage scanFirstClosedListPage(const QString& text)
{
    ClosedListPage page;
    if (text.contains(QStringView(M::noListings))) {
        page.result = ClosedListPage::NothingToDownload;
        return page;
    }
    const qsizetype begin = text.indexOf(QStringView(M::delimiterStart));
    const qsizetype end = blockEnd(text);
    if (begin < 0 || end < 0 || end <= begin) {
        page.result = ClosedListPage::NotRecognised;
        return page;
    }
    PageLineReader reader(text, begin, end);
    if (reader.seek(M::totalLine) != Seek::Found) {
        page.result = ClosedListPage::NotRecognised;
        return page;
    }
    bool ok = false;
    const QStringView digits = PageText::firstDigitRun(reader.line());
    page.total = digits.isNull() ? 0 : digits.toInt(&ok);
    if (!ok) {
        page.total = 0;
        page.result = ClosedListPage::NotRecognised;
        return page;
    }
    page.pageCount = closedListPageCount(page.total);
    reader.seek(M::listing);
    if (page.pageCount < 1)
        return page;
    readListings(reader, page);
    return page;
}

ClosedListPage scanNextClosedListPage(const QString& text)
{
    ClosedListPage page;
    const qsizetype begin = text.indexOf(QStringView(M::listing));
    if (begin < 0) {
        page.result = ClosedListPage::NotRecognised;
        return page;
    }
    // The rest of the first "LISTING" line is the line the listing loop passes over first.
    PageLineReader reader(text, begin, blockEnd(text));
    readListings(reader, page);
    return page;
}
