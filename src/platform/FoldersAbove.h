#pragma once

#include <QString>

// The folders on a path above a folder, checked as ssh checks the folders above its files: a
// folder that another account owns (root aside), or that its group or others may write in
// without the sticky bit, lets someone else put another folder in the path's place.
namespace FoldersAbove {

enum class Fault { None, OtherAccount, OthersMayWrite };

struct Finding
{
    Fault fault = Fault::None;
    QString folder; // the first folder, from the root down, that has the fault
};

// Checks every folder above the absolute path folder that exists, from the root down. The path
// should already have its links resolved: a link on it counts as a folder others may change.
Finding firstUnsafe(const QString& folder);

} // namespace FoldersAbove
