#pragma once

#include <QString>

class QComboBox;
class QLineEdit;

// Text kept on one line: what a one-line field holds and what setting.ini stores as one value.
// A line break in either would end up in setting.ini, where it starts a new line that may read
// as a key or a section of its own.
namespace SingleLineText {

// The text with every CR and LF dropped.
QString withoutLineBreaks(QString text);

// The field drops the line breaks of whatever reaches it: typed, pasted, dropped or set.
void keepOnOneLine(QLineEdit* edit);
// The same for the text of an editable combo box.
void keepOnOneLine(QComboBox* combo);

} // namespace SingleLineText
