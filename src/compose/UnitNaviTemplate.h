#pragma once

#include "compose/TemplateEditorBase.h"

#include <QList>

class QButtonGroup;
class QRadioButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
struct TemplateKeywordEntry;

// The message template editor ("ナビテンプレート作成"): the shared editor with the subject
// choice and the keyword menu and tree that insert placeholders into the text.
class TFormNaviTemplate : public TemplateEditorBase
{
    Q_OBJECT
public:
    TFormNaviTemplate(QWidget* owner, const QSqlDatabase& connection, int messageFontSize);

    // The image of a keyword tree node: 0 a group, 2 an entry (1 is the selected group).
    static constexpr int keywordImageRole = Qt::UserRole + 1;

    void ActionKeywordShowExecute();
    void ButtonKeywordCloseClick();
    void TreeViewKeywordDblClick(QTreeWidgetItem* node);
    void insertKeyword(const TemplateKeywordEntry& entry);

    QRadioButton* RadioButtonSubjectFirst = nullptr;
    QRadioButton* RadioButtonSubjectPayment = nullptr;
    QRadioButton* RadioButtonSubjectReceipt = nullptr;
    QRadioButton* RadioButtonSubjectOthers = nullptr;
    QMenu* MainMenuView = nullptr;
    QMenu* MainMenuKeyword = nullptr;
    QAction* ActionKeywordShow = nullptr;
    QList<QAction*> keywordActions; // one per keyword table entry, in table order
    QWidget* PanelKeyword = nullptr;
    QToolButton* ButtonKeywordClose = nullptr;
    QTreeWidget* TreeViewKeyword = nullptr;

protected:
    bool hasChoice() const override;
    int choice() const override;
    void showChoice(int value) override;
    void clearChoice() override;
    QString missingChoiceText() const override;
    bool newClearsStatus() const override { return true; }
    void readLayout(const IniFile& ini) override;
    void writeLayout(IniFile& ini) override;
    void afterShow() override;
    QList<int> splitterSizes(int listWidth) const override;

private:
    void buildSubjectRow();
    void buildKeywords();
    void setKeywordPanelShown(bool shown);

    QButtonGroup* m_subjects = nullptr;
    int m_keywordWidth = 185;
};
