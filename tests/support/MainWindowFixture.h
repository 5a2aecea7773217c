#pragma once

#include "FakeSite.h"
#include "NaviBoardSite.h"
#include "TestDataFolder.h"
#include "TestDialogs.h"
#include "UpdateSite.h"

#include <QApplication>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

class TFormMain;
class TFormNavi;

// The main window of one test and what it stands on. The data folder and the dialog answerer
// exist from the start; the fake site, its message boards and the window are made when the test
// first asks for them, so a test builds only what it uses. Destroying the fixture closes the
// window and takes everything down in the reverse order.
class MainWindowFixture
{
public:
    // subfolder: the data folder is a folder of that name inside the temporary one.
    explicit MainWindowFixture(const QString& subfolder = QString());
    ~MainWindowFixture();
    MainWindowFixture(const MainWindowFixture&) = delete;
    MainWindowFixture& operator=(const MainWindowFixture&) = delete;

    TestDataFolder& folder() { return m_folder; }
    TestDialogs& dialogs() { return m_dialogs; }
    // The fake site, started on first use and written into setting.ini as every site host.
    FakeSite& site();
    // The message boards of the account loginId, served from the fake site from now on.
    NaviBoardSite& serveBoards(const QString& loginId = QStringLiteral("seller01"));
    // The boards served so far (those of the default account when none are).
    NaviBoardSite& boards() { return m_boards ? *m_boards : serveBoards(); }
    // The update server, started on first use and written into setting.ini as the update host.
    UpdateSite& updateServer();

    // Makes the main window without showing it. A window started before is closed and deleted
    // first.
    TFormNavi* make();
    // Shows the window make() made (making one when there is none) and returns at once, without
    // waiting for its shared queries (for a start that fails or hands over and closes).
    TFormNavi* show();
    // Shows the main window and waits until its shared queries are ready (a failure of the test
    // when they are not). A window started before is closed and deleted first.
    TFormNavi* start();
    // The same through the start-up object, as the program starts (FormMain is set meanwhile).
    TFormNavi* startProgram();
    // Closes the window as the user would, then deletes it.
    void closeWindow();
    TFormNavi* navi() const { return m_navi; }
    // The window's database connection.
    QSqlDatabase db() const;
    // The lines of the window's log, first to last.
    QStringList log() const;

    // Every top-level window of type T (named objectName, when one is given), shown or not, in
    // the order the application lists them.
    template <typename T> static QList<T*> sideWindows(const QString& objectName = QString())
    {
        QList<T*> found;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<T*>(widget))
                if (objectName.isEmpty() || window->objectName() == objectName)
                    found << window;
        return found;
    }
    // The last of them, or nullptr.
    template <typename T> static T* sideWindow(const QString& objectName = QString())
    {
        const QList<T*> found = sideWindows<T>(objectName);
        return found.isEmpty() ? nullptr : found.last();
    }

private:
    TFormNavi* waitUntilReady(TFormNavi* navi);

    TestDataFolder m_folder;
    TestDialogs m_dialogs;
    std::unique_ptr<FakeSite> m_site;
    std::unique_ptr<NaviBoardSite> m_boards;
    std::unique_ptr<UpdateSite> m_updateServer;
    std::unique_ptr<TFormMain> m_main;
    std::unique_ptr<TFormNavi> m_ownNavi;
    TFormNavi* m_navi = nullptr;
};
