#include "compose/ComposerFontMenus.h"

#include "compose/ReplyFontSizes.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>

namespace ComposerFontMenus {

QMenu* fill(QMenu* menu, QPlainTextEdit* target)
{
    menu->clear();
    for (int i = 0; i < ReplyFontSizes::count; ++i) {
        const int points = ReplyFontSizes::sizes[i];
        QAction* item = menu->addAction(ReplyFontSizes::caption(i));
        item->setToolTip(QString::number(points));
        QObject::connect(item, &QAction::triggered, target, [target, points] {
            QFont font = target->font();
            font.setPointSize(points);
            target->setFont(font);
        });
    }
    return menu;
}

void stepFont(QWidget* control, bool towardsUser)
{
    QFont font = control->font();
    const int next = ReplyFontSizes::wheelStep(font.pointSize(), towardsUser);
    if (next == font.pointSize())
        return;
    font.setPointSize(next);
    control->setFont(font);
}

} // namespace ComposerFontMenus
