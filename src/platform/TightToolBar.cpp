#include "platform/TightToolBar.h"

#include <QActionEvent>
#include <QApplication>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionToolButton>
#include <QToolButton>

namespace {

class TightButtonStyle : public QProxyStyle
{
public:
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override
    {
        QSize size = QProxyStyle::sizeFromContents(type, option, contents, widget);
        const auto* button = qstyleoption_cast<const QStyleOptionToolButton*>(option);
        if (type == CT_ToolButton && button && widget && !button->text.isEmpty() &&
            button->toolButtonStyle != Qt::ToolButtonIconOnly)
            size.rwidth() -= 2 * widget->fontMetrics().horizontalAdvance(QLatin1Char(' '));
        return size;
    }
};

QStyle* tightButtonStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new TightButtonStyle;
        style->setParent(qApp);
    }
    return style;
}

} // namespace

void TightToolBar::actionEvent(QActionEvent* event)
{
    QToolBar::actionEvent(event);
    if (event->type() != QEvent::ActionAdded)
        return;
    if (auto* button = qobject_cast<QToolButton*>(widgetForAction(event->action())))
        button->setStyle(tightButtonStyle());
}
