#pragma once

#include <QLabel>

// One panel of the main window's status bar. It asks for its design width, or its text's width
// when that is wider. A panel that gives way may be made narrower than its text, down to its
// text or a floor, whichever is narrower; what no longer fits is elided and its tool tip then
// holds the whole text. A panel that shows its text whole is never narrower than the text.
class StatusPanel : public QLabel
{
    Q_OBJECT
public:
    enum class Fit { GivesWay, Whole };

    StatusPanel(int designWidth, Fit fit, QWidget* parent = nullptr);

    int designWidth() const { return m_designWidth; }
    // The width that shows the whole text, frame included.
    int neededWidth() const;
    // The narrowest the panel may become.
    int leastWidth() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The text as the panel draws it at its present width.
    QString shownText() const;

    // The narrowest a panel that gives way becomes, unless its text is narrower still.
    static constexpr int floorWidth = 80;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    int m_designWidth;
    Fit m_fit;
};
