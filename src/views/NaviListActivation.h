#pragma once

#include <QObject>

#include <functional>

class QTreeWidget;

// Double click and Enter in a message list run the operation chosen in the settings
// (operationNaviListDblClick, operationNaviListEnter): 0 mark read (with its confirmation),
// 1 open the message; any other value does nothing.
class NaviListActivation : public QObject
{
    Q_OBJECT
public:
    using Setting = std::function<int()>;
    using Command = std::function<void()>;

    NaviListActivation(QTreeWidget* list, Setting doubleClickSetting, Setting enterSetting,
                       Command markRead, Command open, QObject* parent = nullptr);

    void run(int operation) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidget* m_list;
    Setting m_doubleClickSetting;
    Setting m_enterSetting;
    Command m_markRead;
    Command m_open;
};
