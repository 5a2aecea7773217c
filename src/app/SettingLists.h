#pragma once

#include <QString>
#include <QStringList>

// The rules of the settings dialog's editable lists.
namespace SettingLists {

inline const QString refusalCaption = QStringLiteral("エラー");
inline const QString blankRefusal = QStringLiteral("空白文字は取得キーワードに出来ません");
inline const QString duplicateRefusal = QStringLiteral("同一キーワードは追加出来ません");

enum class AddCheck { Nothing, Blank, Duplicate, Accept };

// Whether the text may become a new line: an empty text does nothing, one made only of
// half-width and full-width blanks is refused, and so is one equal to a line of the list.
AddCheck checkNewLine(const QStringList& lines, const QString& text);
// Lines are equal without regard to the case of the ASCII letters (full-width ones differ).
bool sameLine(const QString& a, const QString& b);

} // namespace SettingLists
