#include "views/RadioButtonGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

RadioButtonGroup::RadioButtonGroup(const QString& caption, const QStringList& items, int columns,
                                   QWidget* parent)
    : QGroupBox(caption, parent), m_buttons(new QButtonGroup(this))
{
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setHorizontalSpacing(0);
    layout->setVerticalSpacing(2);
    const int perRow = qMax(1, columns);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items.at(i), this);
        m_buttons->addButton(button, i);
        layout->addWidget(button, i / perRow, i % perRow);
    }
    connect(m_buttons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit itemIndexChanged(id);
    });
}

int RadioButtonGroup::itemIndex() const
{
    return m_buttons->checkedId();
}

void RadioButtonGroup::setItemIndex(int index)
{
    if (QAbstractButton* button = m_buttons->button(index)) {
        button->setChecked(true);
        return;
    }
    // Exclusive groups cannot uncheck their checked button directly.
    m_buttons->setExclusive(false);
    for (QAbstractButton* button : m_buttons->buttons())
        button->setChecked(false);
    m_buttons->setExclusive(true);
}

QRadioButton* RadioButtonGroup::item(int index) const
{
    return qobject_cast<QRadioButton*>(m_buttons->button(index));
}

int RadioButtonGroup::count() const
{
    return int(m_buttons->buttons().size());
}
