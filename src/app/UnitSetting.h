#pragma once

#include <QColor>
#include <QDialog>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class NaviSession;
struct SettingValues;

// The settings dialog: the options of setting.ini, the drop-down and label lists, the saved
// logins and the seller's own data. OK writes them, puts the options and bidder keywords in
// force on the session and tells what the main window shows through the signals below; Cancel
// writes nothing.
class TFormSetting : public QDialog
{
    Q_OBJECT
public:
    TFormSetting(NaviSession& session, QWidget* parent);
    ~TFormSetting() override;

    // ---- Working copy ----
    QMap<QString, QString> accounts; // login id to password, ordered by id
    QString mainLoginId;             // empty when no account is marked
    int mainLoginIndex = -1;
    bool loginsChanged = false;
    bool bidInfoListsChanged = false;
    bool otherItemListsChanged = false;
    int loadedBidInfoCounts[5] = {};
    int loadedOtherItemCounts[2] = {};

    // ---- Components ----
    QTreeWidget* TreeView = nullptr;
    QStackedWidget* PageControl = nullptr;
    QLabel* PanelTitle = nullptr;
    QPushButton* ButtonOk = nullptr;
    QPushButton* ButtonCancel = nullptr;
    QAction* ActionAllSelect = nullptr;
    QHash<QString, QCheckBox*> checkBoxes; // by object name
    QHash<QString, QComboBox*> comboBoxes; // by object name
    QComboBox* ComboBoxBidFlg = nullptr;
    QLineEdit* EditBidFlgStr = nullptr;
    QCheckBox* CheckBoxWholeTemplatePr = nullptr;
    QFrame* ShapeBidBackColor = nullptr;
    QLabel* LabelBidBackColor = nullptr;
    QPushButton* ButtonBidBackColorChenge = nullptr;
    QPushButton* ButtonBidBackColorDefault = nullptr;
    QColor ColorDialogBidBackColor; // the colour the colour dialog opens with
    QLineEdit* EditLoginId = nullptr;
    QLineEdit* EditLoginPass = nullptr;
    QPushButton* ButtonLoginRegist = nullptr;
    QPushButton* ButtonLoginDelete = nullptr;
    QListWidget* CheckListBoxLogin = nullptr;
    QCheckBox* CheckBoxLoginTaskTrayShowBalloon = nullptr;
    QSpinBox* CSpinEditLoginTaskTrayShowMessageTime = nullptr;
    QLineEdit* EditPersonalName = nullptr;
    QLineEdit* EditPersonalNamePhonetic = nullptr;
    QLineEdit* EditPersonalPost = nullptr;
    QLineEdit* EditPersonalAddress1 = nullptr;
    QLineEdit* EditPersonalTel = nullptr;
    QLineEdit* EditPersonalMail = nullptr;

    // One of the seven lists with its edit and buttons, in SettingPages::lists() order.
    struct ListGroup
    {
        QLineEdit* edit;
        QPushButton* add;
        QToolButton* up;
        QToolButton* down;
        QListWidget* list;
        bool bidInfo; // which change flag its edits set
    };
    QList<ListGroup> listGroups;

    // ---- Handlers ----
    void FormShow();
    void TreeViewChange(QTreeWidgetItem* node);
    void ComboBoxBidFlgChange();
    void CheckBoxWholeTemplatePrClick();
    void addListLine(int group);
    void moveListLine(int group, int step);
    void deleteListLine(int group);
    void ButtonLoginRegistClick();
    void ButtonLoginDeleteClick();
    void CheckListBoxLoginClickCheck(QListWidgetItem* line);
    void ButtonBidBackColorChengeClick();
    void ButtonBidBackColorDefaultClick();
    void ActionAllSelectExecute();
    void ButtonOkClick();

signals:
    // OK wrote the saved logins: id to password, ordered by id.
    void loginsSaved(const QMap<QString, QString>& accounts);
    // OK wrote the carriage and forwarding lists of the listing tab.
    void itemListsSaved(const QStringList& carriage, const QStringList& forwarding);
    // OK put the options in force on the session.
    void optionsSaved();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    QWidget* buildPage(const QString& caption);
    void buildBidPage(QWidget* page);
    void buildLoginPage(QWidget* page);
    void buildPersonalPage(QWidget* page);
    void addListGroup(QWidget* parent, int index);
    void connectSignals();
    void setSwatch(const QString& decimal);
    void listChanged(const ListGroup& group);
    QStringList listLines(int group) const;
    SettingValues shownValues() const;
    // Puts what OK wrote in force.
    void applyLists();

    NaviSession& session;
    QHash<QString, QWidget*> pages; // by caption
    bool opened = false;
};
