#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: the program's name and version, its maker and web address, and the version of
// the database recorded in setting.ini.
class TFormVersion : public QDialog
{
    Q_OBJECT
public:
    explicit TFormVersion(QWidget* owner);
    ~TFormVersion() override;

    inline static const QString makerText = QStringLiteral("Tessaly Project");
    inline static const QString webAddress = QStringLiteral("https://tessaly.example/");

    QLabel* ImageIcon = nullptr;
    QLabel* LabelProductName = nullptr;
    QLabel* LabelVersion = nullptr;
    QLabel* LabelMaker = nullptr;
    QLabel* LabelUrl = nullptr;
    QLabel* LabelDb = nullptr;
    QLabel* LabelDbVer = nullptr;
    QPushButton* ButtonOK = nullptr;

    void FormShow();
    // Opens the address in the user's web browser.
    void LabelUrlClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
};
