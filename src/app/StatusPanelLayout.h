#pragma once

#include <QLayout>
#include <QList>

// Lays the status bar's panels out in one row, in their order. Each panel gets the width it
// asks for while there is room, and the last one takes what is left. On a short row the spare
// room beyond the texts goes first, evenly; then the panels that give way shrink, evenly, down
// to their least widths; a panel whose text must stay whole keeps it.
class StatusPanelLayout : public QLayout
{
    Q_OBJECT
public:
    struct Need
    {
        int wanted; // the width asked for
        int needed; // the width that shows the whole content
        int least;  // the narrowest allowed
    };
    // The widths for the panels in a row of the given width (spacing already taken off).
    static QList<int> widths(int available, const QList<Need>& needs);

    explicit StatusPanelLayout(QWidget* parent = nullptr);
    ~StatusPanelLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override { return int(m_items.size()); }
    QLayoutItem* itemAt(int index) const override { return m_items.value(index); }
    QLayoutItem* takeAt(int index) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    QList<QLayoutItem*> shownItems() const;
    static Need needOf(QLayoutItem* item);
    QSize total(bool least) const;

    QList<QLayoutItem*> m_items;
};
