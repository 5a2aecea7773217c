#include "site/ItemPageScanner.h"

#include "site/PageLineReader.h"

namespace M = ItemPageMarkers;
using Seek = PageLineReader::Seek;

namespace {

int failureOf(Seek seek)
{
    return seek == Seek::LimitReached ? ItemPage::LimitReached : ItemPage::NotRecognised;
}

// The text after the first ">" of line up to, not including, the character in front of
// position end (the "<" of a closing tag in front of "/", or the blank in front of "円").
QStringView cellText(QStringView line, qsizetype end)
{
    const qsizetype gt = line.indexOf(u'>');
    if (gt < 0 || end < 1)
        return {};
    return PageText::slice(line, gt + 1, end - 1);
}

enum class RowEnd { Row, TargetEnds, Failed };

// Reads one winner row; the row counter spans the whole row.
RowEnd readWinner(PageLineReader& reader, ItemWinner& out, int& failure)
{
    int counted = 0;
    for (;;) {
        if (!reader.readLine())
            return RowEnd::TargetEnds;
        const QStringView line = reader.line();
        if (PageLineReader::contains(line, M::otherTable3) ||
            PageLineReader::contains(line, M::otherTable2))
            return RowEnd::TargetEnds;
        if (PageLineReader::contains(line, M::cell))
            break;
        if (++counted >= M::rowLimit) {
            failure = ItemPage::LimitReached;
            return RowEnd::Failed;
        }
    }
    const QStringView idLine = reader.line();
    if (PageLineReader::contains(idLine, M::listing))
        return RowEnd::TargetEnds;
    const QStringView bidId = cellText(idLine, idLine.indexOf(u'/'));

    Seek seek = reader.seek(M::contact, M::rowLimit, counted);
    if (seek != Seek::Found) {
        failure = failureOf(seek);
        return RowEnd::Failed;
    }
    seek = reader.seek(M::cell, M::rowLimit, counted);
    if (seek != Seek::Found) {
        failure = failureOf(seek);
        return RowEnd::Failed;
    }
    const QStringView quantityLine = reader.line();
    const QStringView quantity = cellText(quantityLine, quantityLine.lastIndexOf(u'/'));

    seek = reader.seek(M::cell, M::rowLimit, counted);
    if (seek != Seek::Found) {
        failure = failureOf(seek);
        return RowEnd::Failed;
    }
    const QStringView priceLine = reader.line();
    const QStringView price = cellText(priceLine, priceLine.indexOf(QStringView(M::yen)));

    if (bidId.isNull() || quantity.isNull() || price.isNull()) {
        failure = ItemPage::NotRecognised;
        return RowEnd::Failed;
    }
    out.bidId = bidId.toString();
    out.quantity = quantity.toString();
    out.price = price.toString();
    return RowEnd::Row;
}

void readWinners(PageLineReader& reader, ItemPage& page)
{
    for (;;) {
        reader.readLine();
        ItemWinner winner;
        int failure = ItemPage::Read;
        const RowEnd end = readWinner(reader, winner, failure);
        if (end == RowEnd::Failed)
            page.result = failure;
        if (end != RowEnd::Row)
            return;
        page.winners.append(winner);
        for (;;) {
            if (!reader.readLine())
                return;
            const QStringView line = reader.line();
            if (PageLineReader::contains(line, M::nextRow) ||
                PageLineReader::contains(line, M::nextRowDeleted))
                break;
            if (PageLineReader::contains(line, M::listTableEnd))
                return;
        }
    }
}

} // namespace

ItemPage scanItemPage(const QString& text, bool instantBuy)
{
    ItemPage page;
    const qsizetype lastEnd = text.lastIndexOf(QStringView(M::listTableEnd));
    if (!instantBuy) {
        const qsizetype begin = text.indexOf(QStringView(M::listTable));
        if (begin < 0 || lastEnd < 0) {
            page.result = ItemPage::NotRecognised;
            return page;
        }
        PageLineReader reader(text, begin, lastEnd + M::listTableTail);
        readWinners(reader, page);
        return page;
    }

    const qsizetype begin = text.indexOf(QStringView(M::titleBar));
    if (begin < 0 || lastEnd < 0 || lastEnd + M::titleBarTail <= begin) {
        page.noWinnersTable = true;
        return page;
    }
    PageLineReader reader(text, begin, lastEnd + M::titleBarTail);
    const Seek seek = reader.seek(M::titleLine, M::titleLimit);
    if (seek != Seek::Found) {
        page.result = failureOf(seek);
        return page;
    }
    const QStringView titleLine = reader.line();
    const QStringView title = cellText(titleLine, titleLine.lastIndexOf(u'/'));
    if (title.isNull()) {
        page.result = ItemPage::NotRecognised;
        return page;
    }
    page.title = title.toString();
    // The block ending before the winners table leaves the winner rows to find nothing.
    if (reader.seek(M::listTable, M::listTableLimit) == Seek::LimitReached) {
        page.result = ItemPage::LimitReached;
        return page;
    }
    readWinners(reader, page);
    return page;
}
