#pragma once

#include <QDialog>

#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class RadioButtonGroup;

// The find dialog of the message tab ("ナビ検索"): the search text and target that the main
// window keeps, and the direction of the search it runs on OK.
class TFormNaviFind : public QDialog
{
    Q_OBJECT

public:
    // Targets of the message search (RadioGroupSearchObject items).
    enum Target : int {
        TargetAid = 0,
        TargetTitle = 1,
        TargetWriter = 2,
        TargetName = 3,
        TargetBody = 4
    };

    // findText and findTarget are the main window's own, read on show and written on OK; findNext
    // and findPrevious run the search on the main window while the dialog is still shown.
    TFormNaviFind(QWidget* owner, QString& findText, int& findTarget,
                  std::function<void()> findNext, std::function<void()> findPrevious);
    ~TFormNaviFind() override;

    QLabel* LabelFind = nullptr;
    QLineEdit* EditFind = nullptr;
    QPushButton* ButtonOK = nullptr;
    QPushButton* ButtonCancel = nullptr;
    RadioButtonGroup* RadioGroup = nullptr; // "検索方向": 0 "上方向", 1 "下方向"
    RadioButtonGroup* RadioGroupSearchObject = nullptr; // "検索対象": targets 0 to 4
    QAction* ActionAllSelect = nullptr;

    void ButtonOKClick();

private:
    void buildLayout();
    void updateInputMethod();

    QString& m_findText;
    int& m_findTarget;
    std::function<void()> m_findNext;
    std::function<void()> m_findPrevious;
};
