#include "app/StatusPanel.h"

#include "platform/PlainText.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

StatusPanel::StatusPanel(int designWidth, Fit fit, QWidget* parent)
    : QLabel(parent), m_designWidth(designWidth), m_fit(fit)
{
    // The panels show the site's login id and other stored texts.
    setTextFormat(Qt::PlainText);
}

int StatusPanel::neededWidth() const
{
    const QMargins margins = contentsMargins();
    return fontMetrics().horizontalAdvance(text()) + margins.left() + margins.right() +
           2 * margin();
}

int StatusPanel::leastWidth() const
{
    return m_fit == Fit::Whole ? neededWidth() : qMin(neededWidth(), floorWidth);
}

QSize StatusPanel::sizeHint() const
{
    return {qMax(m_designWidth, neededWidth()), QLabel::sizeHint().height()};
}

QSize StatusPanel::minimumSizeHint() const
{
    return {leastWidth(), QLabel::minimumSizeHint().height()};
}

QString StatusPanel::shownText() const
{
    const int room = contentsRect().width() - 2 * margin();
    if (fontMetrics().horizontalAdvance(text()) <= room)
        return text();
    return fontMetrics().elidedText(text(), Qt::ElideRight, room);
}

void StatusPanel::paintEvent(QPaintEvent* event)
{
    const QString shown = shownText();
    if (shown == text()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect().adjusted(margin(), 0, -margin(), 0),
                          int(alignment()), palette(), isEnabled(), shown, foregroundRole());
}

bool StatusPanel::event(QEvent* event)
{
    // The tool tip is decided when it is asked for, so it follows the text and the width.
    if (event->type() == QEvent::ToolTip)
        setToolTip(shownText() == text() ? QString() : PlainText::toolTip(text()));
    return QLabel::event(event);
}
