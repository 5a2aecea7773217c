#pragma once

#include <QDialog>
#include <QSqlQuery>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;
class QWebEngineView;
class NaviSession;
class WindowPlacement;

// The program's own small browser for a listing's page, on the shared web-engine profile (so the
// seller is logged in as in the program), with two menus that copy a message template expanded
// for the listing and its winner, or a feedback template as stored, to the clipboard.
class TFormBrowser : public QDialog
{
    Q_OBJECT
public:
    // Reads its templates through the main window's connection and options. Without an owner
    // the window is application-modal on its own.
    explicit TFormBrowser(const NaviSession& session, QWidget* owner = nullptr);
    ~TFormBrowser() override;

    // Applies the placement, loads url when it is a web page (another address is refused with a
    // warning, and the window opens empty) and shows the window modally.
    int showModal();

    QString url, aid, bidId, title;

    QMenuBar* MainMenu = nullptr;
    QMenu* MainMenuNaviTemplateCopy = nullptr;
    QMenu* MainMenuEvaluationTemplateCopy = nullptr;
    QToolBar* ToolBar = nullptr;
    QWebEngineView* CppWebBrowser = nullptr;
    QStatusBar* StatusBar = nullptr;
    QAction* ActionClose = nullptr;
    QAction* ActionUndo = nullptr;
    QAction* ActionCut = nullptr;
    QAction* ActionCopy = nullptr;
    QAction* ActionPaste = nullptr;
    QAction* ActionAllSelect = nullptr;
    QAction* ActionRedo = nullptr;
    QAction* ActionToolbarBack = nullptr;
    QAction* ActionToolbarNext = nullptr;

    QSqlQuery queryNaviTemplate, queryEvaluationTemplate;
    // Set once the template menus have been filled.
    bool templateMenusReady = false;

    void FormShow();
    void AppIdle();
    void buildNaviTemplateCopyMenu();
    void buildEvaluationTemplateCopyMenu();
    void executeCopyNaviTemplate(QAction* item);
    void executeCopyEvaluationTemplate(QAction* item);
    void FormClose();

    void done(int result) override;

private:
    void buildLayout();
    void buildActions();
    QAction* makeAction(const QString& objectName, const QString& caption,
                        const QKeySequence& shortcut);
    void fillTemplateMenu(QMenu* menu, const QString& sql, void (TFormBrowser::*execute)(QAction*));

    const NaviSession& m_session;
    WindowPlacement* m_placement = nullptr;
    bool m_closed = false;
};
