#pragma once

#include <QString>
#include <QtGlobal>

// How far the memory of the process grows at its peak from the construction of this object on:
// the peak resident memory that the kernel counts (VmHWM).
//
// Under AddressSanitizer the resident memory also holds the blocks freed lately, which it keeps
// back to catch a use after free (its quarantine, up to 256 MiB), and its shadow of the heap: a
// bound on it says little about what the program holds. There the growth is that of the bytes
// held in live heap blocks at their peak, counted through the allocator's hooks.
class PeakMemoryGrowth
{
public:
    PeakMemoryGrowth();

    bool isValid() const { return m_before > 0; }
    qint64 kibibytes() const;
    // The growth against the margin, and what explains a failure.
    QString describe(qint64 grownKiB, qint64 sentBytes) const;

private:
    bool m_reset = false;
    qint64 m_before = -1;
};
