#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

// A captioned group of radio buttons read and set by item index, laid out in columns.
class RadioButtonGroup : public QGroupBox
{
    Q_OBJECT

public:
    RadioButtonGroup(const QString& caption, const QStringList& items, int columns,
                     QWidget* parent = nullptr);

    // The checked item, or -1.
    int itemIndex() const;
    // Checks the item; an index outside the items checks none.
    void setItemIndex(int index);
    QRadioButton* item(int index) const;
    int count() const;

signals:
    void itemIndexChanged(int index);

private:
    QButtonGroup* m_buttons;
};
