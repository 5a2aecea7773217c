#pragma once

class QMenu;
class QObject;
class QPlainTextEdit;
class QWidget;

// The composers' font sizes of a text: the menu of the sixteen sizes and the Ctrl+wheel step.
namespace ComposerFontMenus {

// Refills menu with one item per size; choosing one sets target's font size. Returns menu.
QMenu* fill(QMenu* menu, QPlainTextEdit* target);
// One Ctrl+wheel notch over control: 2 points larger towards the user, smaller away, within
// the composers' limits.
void stepFont(QWidget* control, bool towardsUser);

} // namespace ComposerFontMenus
