#pragma once

#include <QObject>

#include <functional>

class QAbstractItemView;

// Double click and Enter in a message list run the operation chosen in the settings
// (operationNaviListDblClick, operationNaviListEnter): 0 mark read (with its confirmation),
// 1 open the message; any other value does nothing.
class NaviListActivation : public QObject
{
    Q_OBJECT
public:
    using Setting = std::function<int()>;
    using Command = std::function<void()>;

    NaviListActivation(QAbstractItemView* list, Setting doubleClickSetting, Setting enterSetting,
                       Command markRead, Command open, QObject* parent = nullptr);

    void run(int operation) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractItemView* m_list;
    Setting m_doubleClickSetting;
    Setting m_enterSetting;
    Command m_markRead;
    Command m_open;
};
