#include "PeakMemoryGrowth.h"

#include <QFile>

#if defined(__SANITIZE_ADDRESS__)
#define PEAK_MEMORY_OF_LIVE_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PEAK_MEMORY_OF_LIVE_HEAP 1
#endif
#endif

#ifdef PEAK_MEMORY_OF_LIVE_HEAP

#include <atomic>
#include <cstddef>

// AddressSanitizer's allocator interface (sanitizer/allocator_interface.h, which GCC does not
// ship).
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*, size_t),
                                              void (*freeHook)(const volatile void*));
size_t __sanitizer_get_allocated_size(const volatile void* pointer);
size_t __sanitizer_get_current_allocated_bytes();
}

namespace {

std::atomic<qint64> liveBytes{0};
std::atomic<qint64> peakBytes{0};

// The hooks run inside every allocation of every thread: they only count.
void allocated(const volatile void*, size_t size)
{
    const qint64 live = liveBytes.fetch_add(qint64(size), std::memory_order_relaxed) + qint64(size);
    qint64 peak = peakBytes.load(std::memory_order_relaxed);
    while (live > peak && !peakBytes.compare_exchange_weak(peak, live, std::memory_order_relaxed)) {
    }
}

// Runs while the block is still allocated, so its size can be asked.
void freed(const volatile void* pointer)
{
    liveBytes.fetch_sub(qint64(__sanitizer_get_allocated_size(pointer)),
                        std::memory_order_relaxed);
}

bool countLiveHeap()
{
    static const bool counting = [] {
        liveBytes.store(qint64(__sanitizer_get_current_allocated_bytes()));
        return __sanitizer_install_malloc_and_free_hooks(&allocated, &freed) != 0;
    }();
    return counting;
}

} // namespace

PeakMemoryGrowth::PeakMemoryGrowth()
{
    if (!countLiveHeap())
        return;
    m_reset = true;
    m_before = liveBytes.load() / 1024;
    peakBytes.store(m_before * 1024);
}

qint64 PeakMemoryGrowth::kibibytes() const
{
    return peakBytes.load() / 1024 - m_before;
}

QString PeakMemoryGrowth::describe(qint64 grownKiB, qint64 sentBytes) const
{
    return QStringLiteral("the live heap grew by %1 MiB at its peak while %2 MiB were sent")
        .arg(grownKiB / 1024)
        .arg(sentBytes / (1024 * 1024));
}

#else

namespace {

// The process's peak resident memory in KiB as /proc/self/status tells it (VmHWM).
qint64 peakMemoryKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    // A file of /proc has no size: read it whole rather than to its end.
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Starts a new peak-memory count at the present size; false where the kernel does not offer it
// (the peak then still holds what came before).
bool resetPeakMemory()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

} // namespace

PeakMemoryGrowth::PeakMemoryGrowth() : m_reset(resetPeakMemory()), m_before(peakMemoryKiB()) {}

qint64 PeakMemoryGrowth::kibibytes() const
{
    return peakMemoryKiB() - m_before;
}

QString PeakMemoryGrowth::describe(qint64 grownKiB, qint64 sentBytes) const
{
    return QStringLiteral("peak memory grew by %1 MiB while %2 MiB were sent%3")
        .arg(grownKiB / 1024)
        .arg(sentBytes / (1024 * 1024))
        .arg(m_reset ? QString() : QStringLiteral(" (peak not reset)"));
}

#endif
