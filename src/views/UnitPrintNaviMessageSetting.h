#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The print settings dialog "印刷設定": margins and font size of a printed message, and the
// printer set-up.
class TFormPrintNaviMessageSetting : public QDialog
{
    Q_OBJECT
public:
    // Made without owner; it opens centred on centreOn when given.
    explicit TFormPrintNaviMessageSetting(QWidget* centreOn = nullptr);
    ~TFormPrintNaviMessageSetting() override;

    void FormShow();
    void ButtonOKClick();
    void ButtonPrintSettingClick();

    // ---- Components ----
    QGroupBox* GroupBoxMargin = nullptr;
    QLineEdit* LabeledEditMarginTop = nullptr;
    QLineEdit* LabeledEditMarginBottom = nullptr;
    QLineEdit* LabeledEditMarginLeft = nullptr;
    QLineEdit* LabeledEditMarginRight = nullptr;
    QLabel* LabelFontSize = nullptr;
    QLineEdit* EditFontSize = nullptr;
    QLabel* LabelFontSizeNote = nullptr;
    QPushButton* ButtonOK = nullptr;
    QPushButton* ButtonCancel = nullptr;
    QPushButton* ButtonPrintSetting = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void connectSignals();
    // The edits in the order left, right, top, bottom, font size.
    QList<QLineEdit*> edits() const;

    QWidget* m_centreOn = nullptr;
};
