// Feeds arbitrary text as a template to the keyword expansion over three fixed listings.
#include "compose/KeywordError.h"
#include "compose/KeywordExpander.h"

#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

KeywordSource fixedSource()
{
    KeywordSource source;
    source.auctions = {makeAuctionInfo("a1", "カメラ %title%", "3000", ""),
                       makeAuctionInfo("a2", "Lens\r\n%aid%", "1200", "2"),
                       makeAuctionInfo("a3", "", "500", "1")};
    source.winnerId = "bidder1";
    source.winnerName = "山田 %name%";
    source.carriage = "500";
    source.forwarding = "";
    source.seller = {"佐藤", "さとう", "100-0001", "", "03-0000-0000", "shop@example.jp"};
    source.loginId = "seller";
    return source;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static KeywordSource source = fixedSource();
    source.templateText = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const KeywordResult result = expandTemplateKeywords(source);
        // The flag and the error lines go together; a text without placeholders stays as it is.
        if (result.error == result.errorText.isEmpty())
            __builtin_trap();
        if (!source.templateText.contains(u'%') && result.text != source.templateText)
            __builtin_trap();
    } catch (const KeywordError&) {
        // A span that cannot be evaluated ends the expansion: an expected outcome.
    }
    return 0;
}
