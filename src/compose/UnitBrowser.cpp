#include "compose/UnitBrowser.h"

#include "common/CommonDefine.h"
#include "common/NaviSession.h"
#include "compose/BrowserAddress.h"
#include "compose/SilentWebPage.h"
#include "compose/TemplateKeywords.h"
#include "compose/WebEngineProfile.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/Sql.h"
#include "platform/WindowPlacement.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace {

const QString section = QStringLiteral("BrowserWindow");

// The Message of the template the statement finds, empty when there is none.
QString templateMessage(QSqlQuery& query, const QString& saveName)
{
    Sql::exec(query, {{QStringLiteral(":DATA_SAVENAME"), saveName}});
    const QString message =
        query.next() ? query.value(QStringLiteral("Message")).toString() : QString();
    query.finish();
    return message;
}

} // namespace

TFormBrowser::TFormBrowser(const NaviSession& session, QWidget* owner)
    : QDialog(owner, Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                         Qt::WindowCloseButtonHint),
      m_session(session)
{
    setObjectName(QStringLiteral("FormBrowser"));
    setWindowTitle(QStringLiteral("ブラウザ"));
    setSizeGripEnabled(false);
    buildActions();
    buildLayout();
    m_placement = new WindowPlacement(this, section, WindowPlacement::MinimisedAs::Normal,
                                      QRect(100, 100, 400, 400));
}

TFormBrowser::~TFormBrowser()
{
    // The page goes before the view and the profile it uses.
    if (CppWebBrowser)
        delete CppWebBrowser->page();
}

QAction* TFormBrowser::makeAction(const QString& objectName, const QString& caption,
                                  const QKeySequence& shortcut)
{
    auto* created = new QAction(caption, this);
    created->setObjectName(objectName);
    created->setShortcut(shortcut);
    // The window's own: the shortcuts work wherever the focus is inside it.
    addAction(created);
    return created;
}

void TFormBrowser::buildActions()
{
    ActionClose = makeAction(QStringLiteral("ActionClose"), QStringLiteral("閉じる(&C)"),
                             QKeySequence(Qt::Key_Escape));
    ActionUndo = makeAction(QStringLiteral("ActionUndo"), QStringLiteral("元に戻す(&U)"),
                            QKeySequence(QStringLiteral("Ctrl+Z")));
    ActionCut = makeAction(QStringLiteral("ActionCut"), QStringLiteral("切り取り(&X)"),
                           QKeySequence(QStringLiteral("Ctrl+X")));
    ActionCopy = makeAction(QStringLiteral("ActionCopy"), QStringLiteral("コピー(&C)"),
                            QKeySequence(QStringLiteral("Ctrl+C")));
    ActionPaste = makeAction(QStringLiteral("ActionPaste"), QStringLiteral("貼り付け(&P)"),
                             QKeySequence(QStringLiteral("Ctrl+V")));
    ActionAllSelect =
        makeAction(QStringLiteral("ActionAllSelect"), QStringLiteral("すべて選択(&A)"),
                   QKeySequence(QStringLiteral("Ctrl+A")));
    ActionRedo = makeAction(QStringLiteral("ActionRedo"), QStringLiteral("やり直し(&R)"),
                            QKeySequence(QStringLiteral("Ctrl+Y")));
    ActionToolbarBack =
        makeAction(QStringLiteral("ActionToolbarBack"), QStringLiteral("戻る"), QKeySequence());
    ActionToolbarNext =
        makeAction(QStringLiteral("ActionToolbarNext"), QStringLiteral("進む"), QKeySequence());
}

void TFormBrowser::buildLayout()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    MainMenu = new QMenuBar(this);
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    QMenu* file = MainMenu->addMenu(QStringLiteral("ファイル(&F)"));
    file->setObjectName(QStringLiteral("MainMenuFile"));
    file->addAction(ActionClose);
    QMenu* edit = MainMenu->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("MainMenuEdit"));
    edit->addAction(ActionUndo);
    edit->addSeparator();
    edit->addAction(ActionCut);
    edit->addAction(ActionCopy);
    edit->addAction(ActionPaste);
    edit->addAction(ActionAllSelect);
    MainMenuNaviTemplateCopy = MainMenu->addMenu(QStringLiteral("ナビテンプレートコピー(&N)"));
    MainMenuNaviTemplateCopy->setObjectName(QStringLiteral("MainMenuNaviTemplateCopy"));
    MainMenuEvaluationTemplateCopy =
        MainMenu->addMenu(QStringLiteral("評価テンプレートコピー(&M)"));
    MainMenuEvaluationTemplateCopy->setObjectName(QStringLiteral("MainMenuEvaluationTemplateCopy"));
    layout->setMenuBar(MainMenu);

    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->addAction(ActionToolbarBack);
    ToolBar->addAction(ActionToolbarNext);
    layout->addWidget(ToolBar);

    // The engine starts here, with the first window that needs it.
    CppWebBrowser = new QWebEngineView(this);
    CppWebBrowser->setObjectName(QStringLiteral("CppWebBrowser"));
    CppWebBrowser->setPage(new SilentWebPage(WebEngineProfile::shared(), CppWebBrowser));
    layout->addWidget(CppWebBrowser, 1);

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    layout->addWidget(StatusBar);

    QWebEnginePage* page = CppWebBrowser->page();
    connect(ActionClose, &QAction::triggered, this, &QDialog::close);
    const std::pair<QAction*, QWebEnginePage::WebAction> pageCommands[] = {
        {ActionUndo, QWebEnginePage::Undo},           {ActionCut, QWebEnginePage::Cut},
        {ActionCopy, QWebEnginePage::Copy},           {ActionPaste, QWebEnginePage::Paste},
        {ActionAllSelect, QWebEnginePage::SelectAll}, {ActionRedo, QWebEnginePage::Redo},
    };
    for (const auto& [command, webAction] : pageCommands)
        connect(command, &QAction::triggered, page,
                [page, webAction = webAction] { page->triggerAction(webAction); });
    connect(ActionToolbarBack, &QAction::triggered, CppWebBrowser, &QWebEngineView::back);
    connect(ActionToolbarNext, &QAction::triggered, CppWebBrowser, &QWebEngineView::forward);
}

int TFormBrowser::showModal()
{
    FormShow();
    return exec();
}

void TFormBrowser::FormShow()
{
    const int state = m_placement->restore(IniFile(CommonDefine::settingIniPath()));
    if (state == 2)
        setWindowState(Qt::WindowMaximized);
    if (BrowserAddress::isWebPage(url))
        CppWebBrowser->load(QUrl(url));
    else if (!url.isEmpty())
        Dialogs::showWarning(this, BrowserAddress::refusalCaption,
                             BrowserAddress::refusalText(url));
    setWindowTitle(QStringLiteral("ブラウザ：") + title);
    QTimer::singleShot(0, this, &TFormBrowser::AppIdle);
}

void TFormBrowser::AppIdle()
{
    if (templateMenusReady)
        return;
    const QSqlDatabase& db = m_session.connection;
    queryNaviTemplate = Sql::prepare(
        db, QStringLiteral("SELECT * FROM T_NaviTemplate WHERE SaveName=:DATA_SAVENAME"));
    queryEvaluationTemplate = Sql::prepare(
        db, QStringLiteral("SELECT * FROM T_EvaluationTemplate WHERE SaveName=:DATA_SAVENAME"));
    templateMenusReady = true;
    buildNaviTemplateCopyMenu();
    buildEvaluationTemplateCopyMenu();
}

void TFormBrowser::fillTemplateMenu(QMenu* menu, const QString& sql,
                                    void (TFormBrowser::*execute)(QAction*))
{
    QSqlQuery names = Sql::exec(m_session.connection, sql);
    while (names.next()) {
        const QString name = names.value(0).toString();
        QAction* item = menu->addAction(name);
        item->setToolTip(name);
        item->setStatusTip(name);
        connect(item, &QAction::triggered, this, [this, item, execute] { (this->*execute)(item); });
    }
}

void TFormBrowser::buildNaviTemplateCopyMenu()
{
    fillTemplateMenu(MainMenuNaviTemplateCopy,
                     QStringLiteral("SELECT SaveName FROM T_NaviTemplate ORDER BY SortNumber"),
                     &TFormBrowser::executeCopyNaviTemplate);
}

void TFormBrowser::buildEvaluationTemplateCopyMenu()
{
    fillTemplateMenu(
        MainMenuEvaluationTemplateCopy,
        QStringLiteral("SELECT SaveName FROM T_EvaluationTemplate ORDER BY SortNumber"),
        &TFormBrowser::executeCopyEvaluationTemplate);
}

void TFormBrowser::executeCopyNaviTemplate(QAction* item)
{
    const QString message = templateMessage(queryNaviTemplate, item->toolTip());
    QString expanded;
    bool errorFlag = false;
    QString errorText;
    convertTemplateKeywords(expanded, message, aid, bidId, errorFlag, errorText);
    if (errorFlag && m_session.options.naviKeywordErrorMsg)
        Dialogs::showError(this, QStringLiteral("キーワード変換エラー"), errorText);
    QGuiApplication::clipboard()->setText(expanded);
}

void TFormBrowser::executeCopyEvaluationTemplate(QAction* item)
{
    QGuiApplication::clipboard()->setText(
        templateMessage(queryEvaluationTemplate, item->toolTip()));
}

void TFormBrowser::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TFormBrowser::FormClose()
{
    if (m_closed)
        return;
    m_closed = true;
    IniFile ini(CommonDefine::settingIniPath());
    m_placement->save(ini);
}
