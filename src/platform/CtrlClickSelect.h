#pragma once

#include <QObject>

class QLineEdit;

// A left click with Ctrl held in an edit selects the edit's whole text.
class CtrlClickSelect : public QObject
{
    Q_OBJECT
public:
    // The filter lives as long as the edit.
    static void install(QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
