#include "site/NaviBoardScanner.h"

#include "common/HtmlReferences.h"
#include "site/NaviDownloadTexts.h"

#include <QUrl>

namespace {

QList<QStringView> splitLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype from = 0;
    while (from <= text.size()) {
        qsizetype end = text.indexOf(u'\n', from);
        if (end < 0)
            end = text.size();
        QStringView line = text.sliced(from, end - from);
        if (line.endsWith(u'\r'))
            line.chop(1);
        lines.append(line);
        from = end + 1;
    }
    return lines;
}

// The text after the first '>' that follows `marker` in the line, up to the next '<'.
QString textAfterTag(QStringView line, QStringView marker)
{
    const qsizetype at = line.indexOf(marker);
    if (at < 0)
        return {};
    const qsizetype open = line.indexOf(u'>', at + marker.size());
    if (open < 0)
        return {};
    qsizetype close = line.indexOf(u'<', open + 1);
    if (close < 0)
        close = line.size();
    return line.sliced(open + 1, close - open - 1).toString();
}

// The text between the first `start` and the first `end` after it; empty when either is missing.
QString textBetween(QStringView line, QStringView start, QStringView end)
{
    const qsizetype from = line.indexOf(start);
    if (from < 0)
        return {};
    const qsizetype to = line.indexOf(end, from + start.size());
    if (to < 0)
        return {};
    return line.sliced(from + start.size(), to - from - start.size()).toString();
}

QString linkOf(QStringView line)
{
    const qsizetype from = line.indexOf(NaviMarkers::linkStart);
    if (from < 0)
        return {};
    qsizetype to = from;
    while (to < line.size() && line[to] != u'"' && line[to] != u' ')
        ++to;
    return line.sliced(from, to - from).toString();
}

QString numberOf(QStringView link)
{
    const qsizetype key = link.indexOf(NaviMarkers::numberKey);
    if (key < 0)
        return {};
    const qsizetype from = key + NaviMarkers::numberKey.size();
    qsizetype to = link.indexOf(u'&', from);
    if (to < 0)
        to = link.size();
    return link.sliced(from, to - from).toString();
}

qsizetype findLine(const QList<QStringView>& lines, qsizetype from, QStringView marker)
{
    for (qsizetype i = from; i < lines.size(); ++i)
        if (lines[i].contains(marker))
            return i;
    return -1;
}

} // namespace

QString naviProfileLinkMarker(const QString& profileBaseUrl)
{
    const QUrl url(profileBaseUrl);
    const QString host = url.host();
    if (url.scheme().isEmpty() || host.isEmpty())
        return {};
    return url.scheme() + QStringLiteral("://") + host.section(u'.', 0, 0);
}

bool parseNaviNumber(QStringView text, qint64* value)
{
    if (text.isEmpty() || text.size() > 18)
        return false;
    qint64 result = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
        result = result * 10 + (c.unicode() - u'0');
    }
    *value = result;
    return true;
}

NaviBoardScan scanNaviBoard(const QString& page, const QString& profileLinkMarker,
                            qint64 lastNumber)
{
    NaviBoardScan scan;
    const qsizetype start = page.indexOf(NaviMarkers::boardStart);
    qsizetype end = page.indexOf(NaviMarkers::bodyEnd);
    if (end < 0)
        end = page.indexOf(NaviMarkers::bodyEndUpper);
    if (start < 0 || end < 0)
        return scan;
    scan.found = true;
    if (end <= start || profileLinkMarker.isEmpty())
        return scan;

    const QList<QStringView> lines = splitLines(QStringView(page).sliced(start, end - start));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringView line = lines[i];
        if (!line.contains(NaviMarkers::messageLink))
            continue;
        NaviBoardEntry entry;
        entry.link = linkOf(line);
        entry.number = numberOf(entry.link);
        if (!parseNaviNumber(entry.number, &entry.numberValue)) {
            scan.numberError = true;
            scan.badNumber = entry.number;
            return scan;
        }
        if (entry.numberValue == lastNumber)
            return scan;
        entry.subject = decodeHtmlReferences(
            textBetween(line, NaviMarkers::subjectStart, NaviMarkers::subjectEnd));

        const qsizetype writerLine = findLine(lines, i, profileLinkMarker);
        if (writerLine < 0)
            return scan;
        entry.writeId = textAfterTag(lines[writerLine], NaviMarkers::writerAnchor);
        const qsizetype dateLine = findLine(lines, writerLine, NaviMarkers::dateLine);
        if (dateLine < 0)
            return scan;
        entry.date = textAfterTag(lines[dateLine], NaviMarkers::dateSmall);

        scan.entries.append(entry);
        // Each message owns its lines: the next one starts after this one's date line.
        i = dateLine;
    }
    return scan;
}
