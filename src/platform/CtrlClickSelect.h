#pragma once

#include <QObject>

class QLineEdit;
class QWidget;

// A left click with Ctrl held in an edit selects the edit's whole text (on the button's
// release, so the click has placed the caret and given the focus first).
class CtrlClickSelect : public QObject
{
    Q_OBJECT
public:
    // The filter lives as long as the edit.
    static void install(QLineEdit* edit);
    // install() on every edit below root as it is now.
    static void installBelow(QWidget* root);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
