#pragma once

#include <QString>

// Message-folder ids: groups of three digits joined by "-" ("000", "000-001", "001-000-002").
// A child's id is its parent's id, "-" and three digits, so sorting ids as text puts every parent
// directly before its children.
namespace FolderId {

inline constexpr int groupLength = 3;
inline constexpr int maxChildren = 999; // child groups "000" to "998"

inline const QString receivedRoot = QStringLiteral("000");
inline const QString sentRoot = QStringLiteral("001");

// 1 for a root, 2 for its children, and so on; 0 for an empty id.
int depth(const QString& id);
bool isRoot(const QString& id);
// The parent's id, empty for a root.
QString parentId(const QString& id);
// The id of the child with the given group number (0 to 998) of a parent.
QString childId(const QString& parentId, int group);
// What names the folders sharing this folder's parent start with: "000-" for "000-001",
// empty for a root.
QString siblingPrefix(const QString& id);

} // namespace FolderId
