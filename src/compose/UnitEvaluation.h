#pragma once

#include "compose/ComposerWindowBase.h"

#include <QPointer>
#include <QString>

class QAction;
class QComboBox;
class QMenu;
class QToolButton;
class QTreeWidgetItem;
class TFormEvaluationWrite;

// The composer of one feedback to one winner of one listing: a rating, a comment (optionally
// from a feedback template, taken as stored) and the flags to set afterwards. A top-level window
// of its own; closing hides it, and a post under way goes on in the hidden window (while the
// program is ending, the close gives it up).
class TFormEvaluation : public ComposerWindowBase
{
    Q_OBJECT
public:
    TFormEvaluation(NaviSession& session, const FeedbackTarget& target, ComposerHooks hooks = {});
    ~TFormEvaluation() override;

    // The listing's page, where the feedback is posted.
    QString url;

    // ---- The window's own state ----
    // The feedback poster of the post under way, if any.
    QPointer<TFormEvaluationWrite> writer;

    void ActionMainTransmissionExecute();
    void ActionMainTransmissionStopExecute();
    // Fills rating, comment and flags from the feedback template, the comment exactly as stored.
    void applyTemplate(const QString& name);
    void TreeViewTemplateActivate(QTreeWidgetItem* node = nullptr) override;

    // ---- Components ----
    QToolButton* ToolButtonMainFontSize = nullptr;
    QComboBox* ComboBoxEvaluation = nullptr;

    QMenu* MainMenuFontSize = nullptr;
    QMenu* PopupMenuFontSize = nullptr;
    QAction* ActionMainTransmission = nullptr;
    QAction* ActionMainTransmissionStop = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildLayout();
    void connectSignals();
    void FormShow() override;
    void sessionEnded() override;
    void buildTemplateMenuAndTree();
    void setInputEnabled(bool enabled);
    // Runs the poster's steps; true when the feedback was sent. Sets notSent when the site
    // answered but did not report it sent.
    bool post(int rating, const QString& comment, bool& notSent);
    void endPost(bool notSent);
    void writeSection();
};
