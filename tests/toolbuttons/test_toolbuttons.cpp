// Every tool button of the windows that carry tool bars is on screen at the window's default
// size: inside the window and not put away behind a tool bar's overflow.
#include "MainWindowFixture.h"
#include "app/UnitNavi.h"
#include "compose/UnitEvaluation.h"
#include "compose/TemplateEditorBase.h"
#include "compose/UnitEvaluationTemplate.h"
#include "compose/UnitNaviTemplate.h"
#include "compose/UnitReply.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <memory>

namespace {

QString nameOf(const QToolButton* button)
{
    const QString text = button->text().isEmpty() ? button->toolTip() : button->text();
    return button->objectName() + '"' + text + '"';
}

// What keeps a tool button of the window from the seller: outside the window, or hidden in a
// tool bar's overflow. Empty when every button is reachable; counts the buttons seen.
QStringList unreachableButtons(QWidget* window, int* seen)
{
    QStringList faults;
    *seen = 0;
    const QRect inside = window->rect();
    for (QToolButton* button : window->findChildren<QToolButton*>()) {
        if (button->window() != window || !button->isVisible())
            continue;
        if (button->objectName() == QLatin1String("qt_toolbar_ext_button")) {
            faults << "overflow shown on " + button->parentWidget()->objectName();
            continue;
        }
        ++*seen;
        const QRect at(button->mapTo(window, QPoint(0, 0)), button->size());
        if (!inside.contains(at))
            faults << nameOf(button) + " outside the window";
    }
    for (QToolBar* bar : window->findChildren<QToolBar*>()) {
        if (bar->window() != window || !bar->isVisible())
            continue;
        for (QAction* item : bar->actions()) {
            if (item->isSeparator() || !item->isVisible())
                continue;
            const QWidget* widget = bar->widgetForAction(item);
            if (!widget || !widget->isVisible())
                faults << bar->objectName() + " hides \"" + item->iconText() + "\"";
        }
    }
    return faults;
}

} // namespace

class TestToolButtons : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;
    TFormNavi* navi = nullptr;
    std::unique_ptr<QWidget> editor;

    // Opens one of the windows at its default size.
    QWidget* open(const QString& which)
    {
        if (which == "main window")
            return navi;
        if (which == "message template editor" || which == "feedback template editor") {
            TemplateEditorBase* form = nullptr;
            if (which == "message template editor")
                form = new TFormNaviTemplate(nullptr, navi->connection, 12);
            else
                form = new TFormEvaluationTemplate(nullptr, navi->connection, 12);
            editor.reset(form);
            form->FormShow();
            form->show();
            return form;
        }
        if (which == "reply composer") {
            ReplyTarget target;
            target.title = QStringLiteral("時計");
            target.aid = QStringLiteral("a1");
            target.bidId = QStringLiteral("buyer");
            return navi->openReplyComposer(target);
        }
        FeedbackTarget target;
        target.title = QStringLiteral("時計");
        target.aid = QStringLiteral("a1");
        target.bidId = QStringLiteral("buyer");
        return navi->openFeedbackComposer(target);
    }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        navi = app->start();
    }
    void cleanup()
    {
        editor.reset();
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window != navi && window->isVisible())
                window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        app->closeWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        app.reset();
    }

    void everyToolButtonIsOnScreenAtTheDefaultSize_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("fewestButtons");
        QTest::newRow("main window") << "main window" << 33;
        QTest::newRow("message template editor") << "message template editor" << 6;
        QTest::newRow("feedback template editor") << "feedback template editor" << 6;
        QTest::newRow("reply composer") << "reply composer" << 8;
        QTest::newRow("feedback composer") << "feedback composer" << 4;
    }
    void everyToolButtonIsOnScreenAtTheDefaultSize()
    {
        QFETCH(QString, window);
        QFETCH(int, fewestButtons);
        QWidget* shown = open(window);
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        QCOMPARE(shown->size(), QSize(900, 600));
        int seen = 0;
        // The tool bars settle once the window's pending layout requests have run.
        QTRY_COMPARE(unreachableButtons(shown, &seen), QStringList());
        QVERIFY2(seen >= fewestButtons, qPrintable(QString::number(seen)));
    }
};

QTEST_MAIN(TestToolButtons)
#include "test_toolbuttons.moc"
