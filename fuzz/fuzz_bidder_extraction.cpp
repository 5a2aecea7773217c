// Feeds arbitrary message text and label lists to the bidder-data extraction.
#include "views/BidderInfoExtraction.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    // The first line holds the labels, split at '|' (empty ones included); the rest is the text.
    const qsizetype end = input.indexOf(QLatin1Char('\n'));
    const QString labelLine = end < 0 ? input : input.left(end);
    const QString text = end < 0 ? QString() : input.mid(end + 1);
    const QStringList labels = labelLine.split(QLatin1Char('|'));
    BidInfoKeywords keywords{labels, labels.mid(1), labels.mid(0, 2), {}, labels};
    const ExtractedBidInfo found = extractBidderInfo(text, keywords);
    for (const std::optional<QString>* field :
         {&found.name, &found.post, &found.address, &found.tel, &found.mail}) {
        if (!*field)
            continue;
        // A result lies within one line of the text.
        if ((*field)->contains(QLatin1Char('\r')) || (*field)->contains(QLatin1Char('\n')) ||
            (*field)->size() > text.size())
            __builtin_trap();
    }
    return 0;
}
