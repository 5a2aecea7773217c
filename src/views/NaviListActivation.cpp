#include "views/NaviListActivation.h"

#include <QEvent>
#include <QKeyEvent>
#include <QAbstractItemView>

NaviListActivation::NaviListActivation(QAbstractItemView* list, Setting doubleClickSetting,
                                       Setting enterSetting, Command markRead, Command open,
                                       QObject* parent)
    : QObject(parent), m_list(list), m_doubleClickSetting(std::move(doubleClickSetting)),
      m_enterSetting(std::move(enterSetting)), m_markRead(std::move(markRead)),
      m_open(std::move(open))
{
    list->installEventFilter(this);
    list->viewport()->installEventFilter(this);
}

void NaviListActivation::run(int operation) const
{
    if (operation == 0 && m_markRead)
        m_markRead();
    else if (operation == 1 && m_open)
        m_open();
}

bool NaviListActivation::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        run(m_doubleClickSetting ? m_doubleClickSetting() : 1);
        return true;
    }
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            run(m_enterSetting ? m_enterSetting() : 0);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
