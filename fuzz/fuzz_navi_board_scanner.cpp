// Feeds arbitrary text to the message board scanner, and through the download run as a board
// page whose message pages are the same text.
#include "site/NaviBoardScanner.h"
#include "site/NaviDownloadRun.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the stored highest number, the rest is the page.
    const qint64 lastNumber = data[0] % 8;
    const QString page =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    const NaviBoardScan scan = scanNaviBoard(page, QStringLiteral("http://profiles"), lastNumber);
    for (const NaviBoardEntry& entry : scan.entries) {
        if (entry.number.isEmpty() || entry.numberValue < 0)
            __builtin_trap();
    }

    int boards = 0;
    NaviDownloadRun::Callbacks callbacks;
    callbacks.storeBoard = [&](const NaviBoard& board) {
        boards += int(board.messages.size() > 0);
        return true;
    };
    callbacks.log = [](const QString&) {};
    NaviDownloadRun run(
        {QStringLiteral("http://item.test"), QStringLiteral("http://profiles.test")},
        [&](const QString&) { return page; }, {}, callbacks);
    run.run({NaviWorkItem{QStringLiteral("x1"), {}, lastNumber, QStringLiteral("buyer")}});
    return 0;
}
