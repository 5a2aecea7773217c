#include "site/NaviMessageReader.h"

#include "common/HtmlReferences.h"
#include "site/NaviDownloadTexts.h"

#include <QStringView>

NaviMessageRead readNaviMessage(const QString& page)
{
    NaviMessageRead read;
    if (page.contains(NaviMarkers::accessNotice)) {
        read.errorText = NaviTexts::accessErrorText;
        return read;
    }
    read.errorText = NaviTexts::unexpectedErrorText;
    const qsizetype spanStart = page.indexOf(NaviMarkers::spanStart);
    const qsizetype spanEnd = page.indexOf(NaviMarkers::spanEnd);
    if (spanStart < 0 || spanEnd < 0 || spanEnd < spanStart)
        return read;
    const QStringView span = QStringView(page).sliced(spanStart, spanEnd - spanStart);
    const qsizetype from = span.indexOf(NaviMarkers::textStart);
    const qsizetype to = span.indexOf(NaviMarkers::textEnd);
    if (from < 0 || to < 0 || to < from + NaviMarkers::textStart.size())
        return read;
    const qsizetype textFrom = from + NaviMarkers::textStart.size();
    read.text = span.sliced(textFrom, to - textFrom).toString();
    read.text.replace(NaviMarkers::lineBreakTag, QStringLiteral("\r\n"));
    // After the tags: a written "&lt;br&gt;" stays the text "<br>".
    read.text = decodeHtmlReferences(read.text);
    read.ok = true;
    read.errorText.clear();
    return read;
}
