#include "platform/SingleLineText.h"

#include <QComboBox>
#include <QLineEdit>
#include <QValidator>

namespace {

// A line edit hands every change (a paste, a drop, setText) to its validator, which may change
// the text; Qt's own line edit keeps a pasted line break in its text.
class LineBreakDropper : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override
    {
        if (input.contains(u'\r') || input.contains(u'\n')) {
            position = int(SingleLineText::withoutLineBreaks(input.left(position)).size());
            input = SingleLineText::withoutLineBreaks(input);
        }
        return Acceptable;
    }
};

} // namespace

QString SingleLineText::withoutLineBreaks(QString text)
{
    text.remove(u'\r');
    text.remove(u'\n');
    return text;
}

void SingleLineText::keepOnOneLine(QLineEdit* edit)
{
    edit->setValidator(new LineBreakDropper(edit));
}

void SingleLineText::keepOnOneLine(QComboBox* combo)
{
    if (QLineEdit* edit = combo->lineEdit())
        keepOnOneLine(edit);
}
