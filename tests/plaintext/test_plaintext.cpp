// Text from the site, a buyer or the database shown as its characters: the status bar with a
// login id read from the site's status page, the tray notice, the message boxes and the tool
// tips that quote such text.
#include "DrawnColours.h"
#include "FakeSite.h"
#include "MainWindowFixture.h"
#include "SitePages.h"
#include "app/StatusPanel.h"
#include "app/UnitNavi.h"
#include "app/UnitTaskTrayLoginMessage.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/PlainText.h"
#include "site/html.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <memory>

namespace {

constexpr int pictureHeight = 1200;

// A picture that markup could pull in from the disk: tall and bright red.
QString writeRedPicture(const TestDataFolder& folder)
{
    QImage picture(40, pictureHeight, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString path = folder.filePath("red.png");
    if (!picture.save(path))
        qFatal("cannot write the picture");
    return path;
}

// Markup that would draw big, red or a local file when taken as rich text. The site's status
// page ends a login id at its first blank, so the markup holds tabs where HTML has blanks.
void addMarkupRows()
{
    QTest::addColumn<QString>("markup");
    QTest::newRow("heading") << "<h1>seller</h1>";
    QTest::newRow("local picture") << "<img\tsrc=\"file://%1\">seller";
    QTest::newRow("colour") << "<font\tcolor=#ff0000>MMMMMMMM</font>";
}

QString markupFor(const QString& markup, const TestDataFolder& folder)
{
    return markup.contains("%1") ? markup.arg(writeRedPicture(folder)) : markup;
}

// The text of a tool tip as Qt shows it: rich text when it looks like HTML, otherwise plain.
QString shownToolTip(const QString& tip)
{
    QTextDocument document;
    if (Qt::mightBeRichText(tip))
        document.setHtml(tip);
    else
        document.setPlainText(tip);
    return document.toPlainText();
}

} // namespace

class TestPlainText : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;

private slots:
    void init() { html::setDefaultTimeout(5000); }
    void cleanup() { app.reset(); }

    void siteLoginIdShowsAsTextInTheStatusBar_data() { addMarkupRows(); }
    void siteLoginIdShowsAsTextInTheStatusBar()
    {
        QFETCH(QString, markup);
        app = std::make_unique<MainWindowFixture>();
        const QString loginId = markupFor(markup, app->folder());
        SitePages::serveAccount(app->site(), loginId);
        TFormNavi* navi = app->start();
        QVERIFY(QTest::qWaitForWindowExposed(navi));
        auto* account = qobject_cast<StatusPanel*>(navi->statusPanels[5]);
        auto* count = qobject_cast<StatusPanel*>(navi->statusPanels[1]);
        QVERIFY(account && count);
        QTRY_COMPARE(account->text(), "ログインID：" + loginId);
        QCOMPARE(navi->loginId, loginId);
        // The bar gives the panel its width once the text's layout request is handled.
        QTRY_COMPARE(account->shownText(), account->text());

        // One line of text, as high as its neighbour, drawn in the panel's own colour; neither
        // the bar nor the window asks for more height than it has.
        QCOMPARE(account->sizeHint().height(), count->sizeHint().height());
        QVERIFY(!DrawnColours::drawsBrightRed(navi->statusBar()));
        QVERIFY(navi->statusBar()->minimumSizeHint().height() <= navi->statusBar()->height());
        QVERIFY(navi->minimumSizeHint().height() <= navi->height());

        // The window keeps its height, and so does the file.
        const int height = navi->height();
        QCOMPARE(height, 600);
        app->closeWindow();
        QCOMPARE(IniFile(app->folder().filePath("setting.ini")).readInteger("Main", "Height", -1),
                 height);
    }

    void statusToolTipShowsTheWholeTextAsText()
    {
        app = std::make_unique<MainWindowFixture>();
        TFormNavi* navi = app->start();
        QVERIFY(QTest::qWaitForWindowExposed(navi));
        auto* result = qobject_cast<StatusPanel*>(navi->statusPanels[0]);
        QVERIFY(result);
        const QString text =
            QStringLiteral("<b>seller</b>でログインしました　&lt;i&gt; ").repeated(6);
        result->setText(text);
        QTRY_VERIFY(result->shownText() != text);
        QHelpEvent ask(QEvent::ToolTip, QPoint(2, 2), result->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(result, &ask);
        QCOMPARE(shownToolTip(result->toolTip()), text);
    }

    void toolTipKeepsTheCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << "seller01 さん";
        QTest::newRow("heading") << "<h1>seller</h1>";
        QTest::newRow("picture") << "<img src=\"file:///tmp/x.png\">";
        QTest::newRow("entity") << "a &lt;b&gt; c";
        QTest::newRow("breaks and blanks") << "<b>one</b>\n  two\tthree  \nfour";
    }
    void toolTipKeepsTheCharacters()
    {
        QFETCH(QString, text);
        const QString tip = PlainText::toolTip(text);
        QCOMPARE(shownToolTip(tip), text);
        // Text that Qt shows as it stands is left as it is.
        if (!Qt::mightBeRichText(text))
            QCOMPARE(tip, text);
    }

    void trayNoticeShowsTheLoginIdAsText_data() { addMarkupRows(); }
    void trayNoticeShowsTheLoginIdAsText()
    {
        QFETCH(QString, markup);
        TestDataFolder folder;
        // Shown for a minute, longer than the test runs; it is deleted with the test.
        const auto notice = std::make_unique<TFormTaskTrayLoginMessage>();
        notice->loginSucceeded = true;
        notice->loginId = markupFor(markup, folder);
        notice->showTime = 60000;
        notice->show();
        QVERIFY(QTest::qWaitForWindowExposed(notice.get()));
        QCOMPARE(notice->LabelLoginMessage->text(), notice->loginId + "：ログインしました");
        QVERIFY(!DrawnColours::drawsBrightRed(notice->LabelLoginMessage));
        QVERIFY(notice->LabelLoginMessage->sizeHint().height() <
                2 * notice->LabelLoginMessage->fontMetrics().lineSpacing());
    }

    void messageBoxShowsItsTextAsText_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("button"); // the button clicked
        QTest::addColumn<bool>("answer");
        using Kind = Dialogs::Kind;
        QTest::newRow("information") << int(Kind::Information) << int(QMessageBox::Ok) << true;
        QTest::newRow("warning") << int(Kind::Warning) << int(QMessageBox::Ok) << true;
        QTest::newRow("error") << int(Kind::Error) << int(QMessageBox::Ok) << true;
        QTest::newRow("OK") << int(Kind::OkCancel) << int(QMessageBox::Ok) << true;
        QTest::newRow("cancel") << int(Kind::OkCancel) << int(QMessageBox::Cancel) << false;
        QTest::newRow("yes") << int(Kind::YesNo) << int(QMessageBox::Yes) << true;
        QTest::newRow("no") << int(Kind::YesNo) << int(QMessageBox::No) << false;
    }
    void messageBoxShowsItsTextAsText()
    {
        QFETCH(int, kind);
        QFETCH(int, button);
        QFETCH(bool, answer);
        TestDataFolder folder;
        const QString text = "<img src=\"file://" + writeRedPicture(folder) +
                             "\"><font color=#ff0000>MMMMMMMM</font> を削除しますか？";

        // The box is looked at and answered from the event loop it runs.
        QString shown;
        bool red = true;
        int height = -1;
        QTimer look;
        look.setInterval(10);
        connect(&look, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            look.stop();
            if (auto* label = box->findChild<QLabel*>("qt_msgbox_label")) {
                shown = label->text();
                red = DrawnColours::drawsBrightRed(label);
                height = label->sizeHint().height();
            }
            box->button(QMessageBox::StandardButton(button))->click();
        });
        look.start();

        bool answered = true;
        switch (Dialogs::Kind(kind)) {
        case Dialogs::Kind::Information:
            Dialogs::showInfo(nullptr, "確認", text);
            break;
        case Dialogs::Kind::Warning:
            Dialogs::showWarning(nullptr, "確認", text);
            break;
        case Dialogs::Kind::Error:
            Dialogs::showError(nullptr, "確認", text);
            break;
        case Dialogs::Kind::OkCancel:
            answered = Dialogs::askOkCancel(nullptr, "確認", text);
            break;
        default:
            answered = Dialogs::askYesNo(nullptr, "確認", text);
            break;
        }
        QCOMPARE(answered, answer);
        QCOMPARE(shown, text);
        QVERIFY(!red);
        // A few lines of text, far lower than the picture the markup names.
        QVERIFY(height > 0);
        QVERIFY2(height < pictureHeight / 4, qPrintable(QString::number(height)));
    }
};

QTEST_MAIN(TestPlainText)
#include "test_plaintext.moc"
