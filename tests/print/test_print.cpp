// Printing a message: the pages printed to PDF and read back, the preview window's states, the
// print settings dialog, and the main window's three printing commands on both tabs.
#include "FixtureDb.h"
#include "MainWindowFixture.h"
#include "SelectionChecks.h"
#include "SitePages.h"
#include "common/CommonDefine.h"
#include "app/UnitNavi.h"
#include "platform/Database.h"
#include "platform/IniFile.h"
#include "views/NaviFolderList.h"
#include "views/BidListView.h"
#include "views/FolderTree.h"
#include "views/CurrentPrinter.h"
#include "views/MessagePrintLayout.h"
#include "views/UnitPrintNaviMessage.h"
#include "views/UnitPrintNaviMessageSetting.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QGraphicsView>
#include <QScrollBar>
#include <QWheelEvent>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace {

double millimetresToPoints(double millimetres)
{
    return millimetres * 72.0 / 25.4;
}

// The text of each page of a PDF file.
QStringList pdfPages(const QString& path, QSizeF* firstPageSize = nullptr)
{
    QPdfDocument document;
    if (document.load(path) != QPdfDocument::Error::None)
        return {};
    QStringList pages;
    for (int page = 0; page < document.pageCount(); ++page)
        pages << document.getAllText(page).text();
    if (firstPageSize)
        *firstPageSize = document.pagePointSize(0);
    return pages;
}

QRectF pdfTextBounds(const QString& path, int page = 0)
{
    QPdfDocument document;
    if (document.load(path) != QPdfDocument::Error::None)
        return {};
    return document.getAllText(page).boundingRectangle();
}

// The lines read back from a page, without the blank ones.
QStringList linesOf(const QString& pageText)
{
    QStringList lines;
    for (const QString& line : pageText.split(QRegularExpression("[\r\n\u2029]+")))
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    return lines;
}

// The numbered lines read back from the pages in their order. The reader may join the lines
// of a page with blanks, so they are picked out by their form.
QStringList numberedLinesIn(const QStringList& pages)
{
    QStringList lines;
    static const QRegularExpression line("line\\d{3} 行");
    for (const QString& page : pages)
        for (const QRegularExpressionMatch& match : line.globalMatch(page))
            lines << match.captured();
    return lines;
}

QString numberedLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QString("line%1 行").arg(i, 3, 10, QChar('0'));
    return lines.join("\r\n");
}

void writeSettings(const QList<int>& values)
{
    IniFile ini(CommonDefine::settingIniPath());
    const char* keys[] = {"MarginLeft", "MarginRight", "MarginTop", "MarginBottom", "FontSize"};
    for (int i = 0; i < values.size(); ++i)
        ini.writeInteger("NaviPrintSetting", keys[i], values[i]);
}

// The current printer as a machine without printers has it, printing into a file.
void resetPrinter(const QString& file = QString())
{
    QPrinter& printer = currentPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageSize(QPageSize(QPageSize::A4));
}

} // namespace

class TestPrint : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> app;

    QString pdfPath(const QString& name = "out.pdf") const { return app->folder().filePath(name); }

    // Lays the text out as the print command does and prints it into a PDF file.
    int printWithoutPreview(const QString& text, int defaultSize, const QString& file)
    {
        TFormPrintNaviMessage form(nullptr);
        form.setMessageText(text);
        form.setDefaultFontSize(defaultSize);
        form.previewMode = false;
        form.layoutReport();
        if (!form.pageReady)
            return -1;
        resetPrinter(file);
        currentPrinter().setPageOrientation(orientation);
        if (!form.printReport(currentPrinter()))
            return -1;
        return form.pageCount;
    }
    QPageLayout::Orientation orientation = QPageLayout::Portrait;

    std::unique_ptr<TFormPrintNaviMessage> shownPreview(const QString& text)
    {
        auto form = std::make_unique<TFormPrintNaviMessage>(nullptr);
        form->setMessageText(text);
        form->setDefaultFontSize(10);
        form->previewMode = true;
        form->ownerBounds = QRect(50, 60, 700, 500);
        form->show();
        return form;
    }

private slots:
    void init()
    {
        app = std::make_unique<MainWindowFixture>();
        orientation = QPageLayout::Portrait;
        resetPrinter();
    }
    void cleanup() { app.reset(); }

    void currentPrinterIsA4PortraitHighResolution()
    {
        QPrinter& printer = currentPrinter();
        QCOMPARE(&printer, &currentPrinter());
        QCOMPARE(printer.resolution(), 1200);
        QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::A4);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
    }

    void pagePlacesTheTextInsideTheMargins_data()
    {
        QTest::addColumn<QList<int>>("settings"); // left, right, top, bottom; empty: none stored
        QTest::addColumn<QList<int>>("expected"); // the margins the page shows
        QTest::newRow("none stored") << QList<int>() << QList<int>{15, 15, 15, 15};
        QTest::newRow("stored") << QList<int>{30, 10, 40, 20} << QList<int>{30, 10, 40, 20};
        QTest::newRow("no margins") << QList<int>{0, 0, 0, 0} << QList<int>{0, 0, 0, 0};
        QTest::newRow("wider than the paper")
            << QList<int>{200, 200, 20, 20} << QList<int>{15, 15, 15, 15};
        QTest::newRow("taller than the paper")
            << QList<int>{20, 20, 150, 150} << QList<int>{15, 15, 15, 15};
    }
    void pagePlacesTheTextInsideTheMargins()
    {
        QFETCH(QList<int>, settings);
        QFETCH(QList<int>, expected);
        if (!settings.isEmpty())
            writeSettings(settings + QList<int>{12});
        QCOMPARE(printWithoutPreview("行頭の文字 line012", 12, pdfPath()), 1);

        QSizeF size;
        const QStringList pages = pdfPages(pdfPath(), &size);
        QCOMPARE(pages.size(), 1);
        QCOMPARE(linesOf(pages[0]), QStringList{"行頭の文字 line012"});
        QVERIFY2(qAbs(size.width() - 595.3) < 1 && qAbs(size.height() - 841.9) < 1,
                 qPrintable(QString("%1 x %2").arg(size.width()).arg(size.height())));
        const QRectF text = pdfTextBounds(pdfPath());
        const double left = millimetresToPoints(expected[0]);
        const double top = millimetresToPoints(expected[2]);
        QVERIFY2(qAbs(text.left() - left) < 3, qPrintable(QString::number(text.left())));
        QVERIFY2(text.top() >= top - 1 && text.top() < top + 12,
                 qPrintable(QString::number(text.top())));
    }

    void fontSizeZeroTakesTheMessagePaneSize_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("paneSize");
        QTest::addColumn<int>("printed");
        QTest::newRow("0: the pane's size") << 0 << 20 << 20;
        QTest::newRow("0: another pane size") << 0 << 8 << 8;
        QTest::newRow("set size") << 9 << 20 << 9;
    }
    void fontSizeZeroTakesTheMessagePaneSize()
    {
        QFETCH(int, stored);
        QFETCH(int, paneSize);
        QFETCH(int, printed);
        writeSettings({15, 15, 15, 15, stored});
        // Ten full-width characters are ten ems wide.
        QCOMPARE(printWithoutPreview("行行行行行行行行行行", paneSize, pdfPath()), 1);
        const double width = pdfTextBounds(pdfPath()).width();
        QVERIFY2(qAbs(width - 10 * printed) < printed, qPrintable(QString::number(width)));
    }

    void longMessageRunsOverSeveralPagesLosingNoLine()
    {
        const int count = 300;
        const int pages = printWithoutPreview(numberedLines(count), 12, pdfPath());
        QVERIFY(pages > 1);
        const QStringList read = pdfPages(pdfPath());
        QCOMPARE(read.size(), pages);
        QVERIFY(read.first().contains("line000 行"));
        QVERIFY(read.last().contains(QString("line%1 行").arg(count - 1)));
        QCOMPARE(numberedLinesIn(read), MemoTextLines(numberedLines(count)));
    }

    void landscapePrinterAndEmptyMessage_data()
    {
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<QString>("text");
        QTest::newRow("landscape") << true << "横向きの紙";
        QTest::newRow("empty") << false << "";
        QTest::newRow("empty, landscape") << true << "";
    }
    void landscapePrinterAndEmptyMessage()
    {
        QFETCH(bool, landscape);
        QFETCH(QString, text);
        orientation = landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
        QCOMPARE(printWithoutPreview(text, 10, pdfPath()), 1);
        QSizeF size;
        const QStringList pages = pdfPages(pdfPath(), &size);
        QCOMPARE(pages.size(), 1);
        QCOMPARE(linesOf(pages[0]), text.isEmpty() ? QStringList() : QStringList{text});
        QCOMPARE(size.width() > size.height(), landscape);
    }

    void previewShowsTheFirstPageThenPages()
    {
        // "印刷(&P)" is still disabled while the first page is being drawn.
        bool printEnabledWhileDrawing = true;
        auto form = std::make_unique<TFormPrintNaviMessage>(nullptr);
        connect(form->QRPreview, &QPrintPreviewWidget::paintRequested, form.get(),
                [&] { printEnabledWhileDrawing = form->ToolButtonPrint->isEnabled(); });
        QVERIFY(!form->ToolButtonPrint->isEnabled());
        QVERIFY(!form->ToolButtonPrev->isEnabled());
        QVERIFY(!form->ToolButtonNext->isEnabled());
        QVERIFY(form->ToolButtonExpansion->isEnabled());
        QVERIFY(form->ToolButtonReduction->isEnabled());
        QCOMPARE(form->ComboBoxZoom->currentIndex(), -1);
        QCOMPARE(form->ComboBoxZoom->toolTip(), QString("倍率"));
        QCOMPARE(form->windowTitle(), QString("印刷プレビュー"));

        form->setMessageText(numberedLines(300));
        form->setDefaultFontSize(10);
        form->previewMode = true;
        form->ownerBounds = QRect(50, 60, 700, 500);
        form->show();
        QTRY_VERIFY(form->pageReady);
        QVERIFY(!printEnabledWhileDrawing);
        QVERIFY(form->isMaximized());
        QVERIFY(form->ToolButtonPrint->isEnabled());
        QCOMPARE(form->zoom, 75);
        QCOMPARE(form->ComboBoxZoom->currentText(), QString("75%"));
        QCOMPARE(form->QRPreview->zoomFactor(), 0.75);
        const int count = form->pageCount;
        QVERIFY(count > 2);
        QCOMPARE(form->QRPreview->pageCount(), count);
        QCOMPARE(form->statusPanels[0]->text(), QString("1/%1").arg(count));
        QVERIFY(!form->ToolButtonPrev->isEnabled());
        QVERIFY(form->ToolButtonNext->isEnabled());

        for (int page = 2; page <= count; ++page) {
            form->ToolButtonNext->click();
            QCOMPARE(form->currentPage, page);
            QCOMPARE(form->QRPreview->currentPage(), page);
            QCOMPARE(form->statusPanels[0]->text(), QString("%1/%2").arg(page).arg(count));
            QVERIFY(form->ToolButtonPrev->isEnabled());
        }
        QVERIFY(!form->ToolButtonNext->isEnabled());
        form->ToolButtonPrev->click();
        QCOMPARE(form->currentPage, count - 1);
        QVERIFY(form->ToolButtonNext->isEnabled());
        while (form->currentPage > 1)
            form->ToolButtonPrev->click();
        QVERIFY(!form->ToolButtonPrev->isEnabled());
        QCOMPARE(form->QRPreview->currentPage(), 1);
        QCOMPARE(form->statusPanels[0]->text(), QString("1/%1").arg(count));

        // Esc closes the window without a print.
        QTest::keyClick(form.get(), Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        QVERIFY(!form->printRequested);
    }

    void oneShortPageHasNoNextPage()
    {
        auto form = shownPreview("一行だけ");
        QTRY_VERIFY(form->pageReady);
        QCOMPARE(form->pageCount, 1);
        QCOMPARE(form->statusPanels[0]->text(), QString("1/1"));
        QVERIFY(!form->ToolButtonNext->isEnabled());
        QVERIFY(!form->ToolButtonPrev->isEnabled());
        form->ToolButtonPrint->click();
        QVERIFY(form->printRequested);
        QVERIFY(!form->isVisible());
    }

    void zoomStepsAndChoices_data()
    {
        QTest::addColumn<QString>("start");  // the item chosen first
        QTest::addColumn<QString>("button"); // "in", "out" or "" (the choice alone)
        QTest::addColumn<int>("zoom");
        QTest::addColumn<bool>("inEnabled");
        QTest::addColumn<bool>("outEnabled");
        QTest::newRow("whole page, in") << "ページ全体"
                                        << "in" << 75 << true << true;
        QTest::newRow("whole page, out") << "ページ全体"
                                         << "out" << 50 << true << true;
        QTest::newRow("25, in") << "25%"
                                << "in" << 50 << true << true;
        QTest::newRow("25, out") << "25%"
                                 << "out" << 25 << true << false;
        QTest::newRow("50, in") << "50%"
                                << "in" << 75 << true << true;
        QTest::newRow("50, out") << "50%"
                                 << "out" << 25 << true << false;
        QTest::newRow("75, in") << "75%"
                                << "in" << 100 << true << true;
        QTest::newRow("75, out") << "75%"
                                 << "out" << 50 << true << true;
        QTest::newRow("100, in") << "100%"
                                 << "in" << 150 << true << true;
        QTest::newRow("100, out") << "100%"
                                  << "out" << 75 << true << true;
        QTest::newRow("150, in") << "150%"
                                 << "in" << 200 << false << true;
        QTest::newRow("150, out") << "150%"
                                  << "out" << 100 << true << true;
        QTest::newRow("200, in") << "200%"
                                 << "in" << 200 << false << true;
        QTest::newRow("200, out") << "200%"
                                  << "out" << 150 << true << true;
        QTest::newRow("choose 200") << "200%"
                                    << "" << 200 << false << true;
        QTest::newRow("choose 150") << "150%"
                                    << "" << 150 << true << true;
        QTest::newRow("choose 25") << "25%"
                                   << "" << 25 << true << false;
        QTest::newRow("choose whole page") << "ページ全体"
                                           << "" << 0 << true << true;
    }
    void zoomStepsAndChoices()
    {
        QFETCH(QString, start);
        QFETCH(QString, button);
        QFETCH(int, zoom);
        QFETCH(bool, inEnabled);
        QFETCH(bool, outEnabled);
        auto form = shownPreview("拡大と縮小");
        QTRY_VERIFY(form->pageReady);
        const int item = form->ComboBoxZoom->findText(start);
        QVERIFY(item >= 0);
        form->ComboBoxZoom->setCurrentIndex(item);
        emit form->ComboBoxZoom->activated(item);
        if (button == "in")
            form->ToolButtonExpansion->click();
        else if (button == "out")
            form->ToolButtonReduction->click();
        QCOMPARE(form->zoom, zoom);
        QCOMPARE(form->ComboBoxZoom->currentText(),
                 zoom == 0 ? QString("ページ全体") : QString("%1%").arg(zoom));
        if (zoom == 0) {
            QCOMPARE(form->QRPreview->zoomMode(), QPrintPreviewWidget::FitInView);
        } else {
            QCOMPARE(form->QRPreview->zoomMode(), QPrintPreviewWidget::CustomZoom);
            QCOMPARE(form->QRPreview->zoomFactor(), zoom / 100.0);
        }
        QCOMPARE(form->ToolButtonExpansion->isEnabled(), inEnabled);
        QCOMPARE(form->ToolButtonReduction->isEnabled(), outEnabled);
    }

    void wheelOverThePreviewScrollsThreeLines_data()
    {
        QTest::addColumn<int>("distance");
        QTest::addColumn<int>("steps");
        QTest::newRow("towards the user") << -120 << 3;
        QTest::newRow("away from the user") << 120 << -3;
    }
    void wheelOverThePreviewScrollsThreeLines()
    {
        QFETCH(int, distance);
        QFETCH(int, steps);
        auto form = shownPreview(numberedLines(100));
        QTRY_VERIFY(form->pageReady);
        auto* view = form->QRPreview->findChild<QGraphicsView*>();
        QVERIFY(view);
        QScrollBar* bar = view->verticalScrollBar();
        QVERIFY(bar->maximum() > 10 * bar->singleStep());
        bar->setValue(bar->maximum() / 2);
        const int before = bar->value();
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(view->viewport(), &enter);
        const QPointF at(20, 20);
        QWheelEvent wheel(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, distance),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &wheel);
        QVERIFY(wheel.isAccepted());
        QCOMPARE(bar->value(), before + steps * bar->singleStep());
        QCOMPARE(form->zoom, 75);
    }

    void settingsDialogShowsTheStoredValues_data()
    {
        QTest::addColumn<QList<int>>("stored");
        QTest::addColumn<QStringList>("shown"); // top, bottom, left, right, font size
        QTest::newRow("defaults") << QList<int>() << QStringList{"15", "15", "15", "15", "0"};
        QTest::newRow("stored") << QList<int>{1, 2, 3, 4, 11}
                                << QStringList{"3", "4", "1", "2", "11"};
    }
    void settingsDialogShowsTheStoredValues()
    {
        QFETCH(QList<int>, stored);
        QFETCH(QStringList, shown);
        if (!stored.isEmpty())
            writeSettings(stored);
        TFormPrintNaviMessageSetting dialog;
        dialog.show();
        const QStringList texts = {
            dialog.LabeledEditMarginTop->text(), dialog.LabeledEditMarginBottom->text(),
            dialog.LabeledEditMarginLeft->text(), dialog.LabeledEditMarginRight->text(),
            dialog.EditFontSize->text()};
        QCOMPARE(texts, shown);
        QCOMPARE(dialog.windowTitle(), QString("印刷設定"));
        QVERIFY(dialog.ButtonOK->isDefault());
        QVERIFY(!dialog.parentWidget());
    }

    void settingsDialogRefusesAnEditWithoutANumber_data()
    {
        QTest::addColumn<QStringList>("emptied"); // object names, emptied or given bad text
        QTest::addColumn<QString>("badText");
        QTest::addColumn<QString>("focused");
        QTest::newRow("top and font size empty")
            << QStringList{"LabeledEditMarginTop", "EditFontSize"} << ""
            << "EditFontSize";
        QTest::newRow("left and bottom empty")
            << QStringList{"LabeledEditMarginLeft", "LabeledEditMarginBottom"} << ""
            << "LabeledEditMarginBottom";
        QTest::newRow("right and top empty")
            << QStringList{"LabeledEditMarginTop", "LabeledEditMarginRight"} << ""
            << "LabeledEditMarginTop";
        QTest::newRow("pasted text") << QStringList{"LabeledEditMarginLeft"} << "1０ｍｍ"
                                     << "LabeledEditMarginLeft";
        QTest::newRow("too many digits") << QStringList{"LabeledEditMarginRight"} << "99999999999"
                                         << "LabeledEditMarginRight";
    }
    void settingsDialogRefusesAnEditWithoutANumber()
    {
        QFETCH(QStringList, emptied);
        QFETCH(QString, badText);
        QFETCH(QString, focused);
        TFormPrintNaviMessageSetting dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.ButtonOK->setFocus();
        for (const QString& name : emptied)
            dialog.findChild<QLineEdit*>(name)->setText(badText);
        dialog.ButtonOK->click();
        QCOMPARE(app->dialogs().requests().size(), 1);
        QCOMPARE(app->dialogs().requests()[0].kind, Dialogs::Kind::Error);
        QCOMPARE(app->dialogs().requests()[0].caption, QString("エラー"));
        QCOMPARE(app->dialogs().requests()[0].text, QString("数値を入力してください"));
        QCOMPARE(QApplication::focusWidget()->objectName(), focused);
        QVERIFY(dialog.isVisible());
        QVERIFY(!IniFile(CommonDefine::settingIniPath()).sectionExists("NaviPrintSetting"));
    }

    void settingsDialogWritesTheFiveKeys()
    {
        TFormPrintNaviMessageSetting dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        const std::pair<QLineEdit*, const char*> typed[] = {
            {dialog.LabeledEditMarginLeft, "2x1"}, {dialog.LabeledEditMarginRight, "-22"},
            {dialog.LabeledEditMarginTop, "2 3"},  {dialog.LabeledEditMarginBottom, "24."},
            {dialog.EditFontSize, "1+1"},
        };
        for (const auto& [edit, keys] : typed) {
            edit->clear();
            QTest::keyClicks(edit, QString::fromUtf8(keys));
        }
        // A full-width digit typed is refused too.
        dialog.EditFontSize->setCursorPosition(1);
        QTest::sendKeyEvent(QTest::Click, dialog.EditFontSize, Qt::Key_unknown, QString("５"),
                            Qt::NoModifier);
        QCOMPARE(dialog.LabeledEditMarginLeft->text(), QString("21"));
        QCOMPARE(dialog.EditFontSize->text(), QString("11"));
        QTest::keyClick(dialog.EditFontSize, Qt::Key_Backspace);
        QCOMPARE(dialog.EditFontSize->text(), QString("1"));
        dialog.ButtonOK->click();
        QVERIFY(app->dialogs().requests().isEmpty());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const IniFile ini(CommonDefine::settingIniPath());
        QCOMPARE(
            ini.readSection("NaviPrintSetting"),
            QStringList({"MarginLeft", "MarginRight", "MarginTop", "MarginBottom", "FontSize"}));
        const QList<int> expected = {21, 22, 23, 24, 1};
        const char* keys[] = {"MarginLeft", "MarginRight", "MarginTop", "MarginBottom", "FontSize"};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(ini.readString("NaviPrintSetting", keys[i], "?"),
                     QString::number(expected[i]));
    }

    void settingsDialogCancelWritesNothingAndCtrlClickSelectsAll()
    {
        TFormPrintNaviMessageSetting dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.LabeledEditMarginTop->setText("123");
        dialog.LabeledEditMarginTop->setCursorPosition(1);
        QTest::mouseClick(dialog.LabeledEditMarginTop, Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(dialog.LabeledEditMarginTop->selectedText(), QString("123"));
        dialog.ButtonCancel->click();
        QVERIFY(!dialog.isVisible());
        QVERIFY(!IniFile(CommonDefine::settingIniPath()).sectionExists("NaviPrintSetting"));
    }

    void ctrlClickSelectsTheWholeTextOfEachMarginAndSizeEdit()
    {
        TFormPrintNaviMessageSetting dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        const QList<QLineEdit*> edits = dialog.findChildren<QLineEdit*>();
        QCOMPARE(edits.size(), 5);
        SelectionChecks::ctrlClickSelectsEach(edits);
    }

    void printerSetupChangesTheNextLayout()
    {
        TFormPrintNaviMessageSetting dialog;
        bool sameprinter = false;
        app->dialogs().whileAsking([&](const Dialogs::Request& request) {
            sameprinter =
                request.kind == Dialogs::Kind::PrinterSetup && request.printer == &currentPrinter();
            request.printer->setPageOrientation(QPageLayout::Landscape);
        });
        dialog.ButtonPrintSetting->click();
        QVERIFY(sameprinter);
        app->dialogs().whileAsking(nullptr);
        QVERIFY(!IniFile(CommonDefine::settingIniPath()).sectionExists("NaviPrintSetting"));

        TFormPrintNaviMessage form(nullptr);
        form.setMessageText("設定後");
        form.layoutReport();
        currentPrinter().setOutputFileName(pdfPath());
        QVERIFY(form.printReport(currentPrinter()));
        QSizeF size;
        QCOMPARE(pdfPages(pdfPath(), &size).size(), 1);
        QVERIFY(size.width() > size.height());
    }

    void mainWindowCommandsPrintTheActiveMemo_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("preview");
        QTest::addColumn<QString>("printed");
        QTest::newRow("print, message tab") << 1 << false << "メッセージタブの本文";
        QTest::newRow("print, listing tab") << 0 << false << "出品タブの本文";
        QTest::newRow("preview, message tab") << 1 << true << "メッセージタブの本文";
        QTest::newRow("preview, listing tab") << 0 << true << "出品タブの本文";
    }
    void mainWindowCommandsPrintTheActiveMemo()
    {
        QFETCH(int, tab);
        QFETCH(bool, preview);
        QFETCH(QString, printed);
        SitePages::serveAccount(app->site(), "seller");
        {
            Database::ScopedConnection db;
            FixtureDb::addListing(db.db(), {.aid = "a1", .bidId = "b1"});
            FixtureDb::addMessage(db.db(), {.aid = "a1", .bidId = "b1", .number = 1});
        }
        TFormNavi& navi = *app->start();
        QCOMPARE(navi.loginId, QString("seller"));
        navi.setMessageFontSize(16);
        // The print commands are offered once a message is chosen on the tab.
        QPlainTextEdit* memo = tab == 1 ? navi.MemoNavi : navi.MemoBidNavi;
        if (tab == 1) {
            navi.PageControlMain->setCurrentIndex(1);
            navi.TreeViewNavi->setCurrentItem(FolderTree::findFolder(navi.TreeViewNavi, "000"));
            QCOMPARE(navi.ListViewNavi->rowCount(), 1);
            navi.ListViewNavi->selectRow(0);
        } else {
            navi.PanelBidNavi->show();
            navi.ListViewBid->setCurrentItem(navi.ListViewBid->topLevelItem(0));
            QTRY_COMPARE(navi.ListViewBidNavi->topLevelItemCount(), 1);
            navi.ListViewBidNavi->setCurrentItem(navi.ListViewBidNavi->topLevelItem(0));
        }
        QTRY_VERIFY(!memo->toPlainText().isEmpty());
        navi.MemoNavi->setPlainText("メッセージタブの本文\n二行目");
        navi.MemoBidNavi->setPlainText("出品タブの本文\n二行目");
        app->dialogs().queue(Dialogs::Answer::Ok, pdfPath());

        QAction* command =
            navi.action(preview ? "ActionPrintPreviewNaviMessage" : "ActionPrintNaviMessage");
        QCOMPARE(command->text(), QString(preview ? "印刷プレビュー(&V)..." : "印刷(&P)..."));
        QCOMPARE(command->shortcut(), QKeySequence(preview ? "Ctrl+Shift+P" : "Ctrl+P"));
        QVERIFY(command->isEnabled());

        bool shownModally = false;
        bool ownedByMain = false;
        bool ready = false;
        if (preview) {
            QTimer::singleShot(0, &navi, [&] {
                auto* form = qobject_cast<TFormPrintNaviMessage*>(navi.formPrintNaviMessage);
                if (!form)
                    return;
                shownModally = QApplication::activeModalWidget() == form;
                ownedByMain = form->parentWidget() == &navi;
                ready = QTest::qWaitFor([form] { return form->pageReady; }, 5000);
                form->ToolButtonPrint->click();
            });
        }
        command->trigger();
        if (preview) {
            QVERIFY(shownModally);
            QVERIFY(ownedByMain);
            QVERIFY(ready);
        }
        QVERIFY(navi.formPrintNaviMessage.isNull());
        QCOMPARE(app->dialogs().requests().size(), 1);
        QCOMPARE(app->dialogs().requests()[0].kind, Dialogs::Kind::Print);

        const QStringList pages = pdfPages(pdfPath());
        QCOMPARE(pages.size(), 1);
        QCOMPARE(linesOf(pages[0]), QStringList({printed, "二行目"}));
        // The message pane's font size, as no size is set.
        const QRectF bounds = pdfTextBounds(pdfPath());
        QVERIFY2(bounds.height() > 1.5 * 16 && bounds.height() < 3 * 16,
                 qPrintable(QString::number(bounds.height())));
        app->closeWindow();
    }

    void cancelledPrintDialogPrintsNothing_data()
    {
        QTest::addColumn<bool>("preview");
        QTest::newRow("print") << false;
        QTest::newRow("preview") << true;
    }
    void cancelledPrintDialogPrintsNothing()
    {
        QFETCH(bool, preview);
        TFormNavi& navi = *app->start();
        navi.PageControlMain->setCurrentIndex(1);
        navi.MemoNavi->setPlainText("印刷しない");
        currentPrinter().setOutputFileName(pdfPath());
        app->dialogs().queue(Dialogs::Answer::Cancel);
        if (preview) {
            QTimer::singleShot(0, &navi, [&] {
                if (auto* form = qobject_cast<TFormPrintNaviMessage*>(navi.formPrintNaviMessage)) {
                    (void)QTest::qWaitFor([form] { return form->pageReady; }, 5000);
                    form->ToolButtonPrint->click();
                }
            });
            navi.ActionPrintPreviewNaviMessageExecute();
        } else {
            navi.ActionPrintNaviMessageExecute();
        }
        QCOMPARE(app->dialogs().requests().size(), 1);
        QCOMPARE(app->dialogs().requests()[0].kind, Dialogs::Kind::Print);
        QVERIFY(!QFile::exists(pdfPath()));
        QVERIFY(navi.formPrintNaviMessage.isNull());
        app->closeWindow();
    }

    void previewClosedWithoutPrintAsksNothing()
    {
        TFormNavi& navi = *app->start();
        currentPrinter().setOutputFileName(pdfPath());
        QTimer::singleShot(0, &navi, [&] {
            if (auto* form = qobject_cast<TFormPrintNaviMessage*>(navi.formPrintNaviMessage))
                form->ToolButtonClose->click();
        });
        navi.ActionPrintPreviewNaviMessageExecute();
        QVERIFY(app->dialogs().requests().isEmpty());
        QVERIFY(!QFile::exists(pdfPath()));
    }

    void printAfterPreviewFollowsThePaperChosenInThePrintDialog()
    {
        TFormNavi& navi = *app->start();
        navi.PageControlMain->setCurrentIndex(1);
        // 12 points: 40 lines fill one portrait page, not one landscape page.
        writeSettings({15, 15, 15, 15, 12});
        navi.MemoNavi->setPlainText(numberedLines(40).replace("\r\n", "\n"));
        int previewPages = 0;
        QTimer::singleShot(0, &navi, [&] {
            if (auto* form = qobject_cast<TFormPrintNaviMessage*>(navi.formPrintNaviMessage)) {
                (void)QTest::qWaitFor([form] { return form->pageReady; }, 5000);
                previewPages = form->pageCount;
                form->ToolButtonPrint->click();
            }
        });
        Dialogs::setAnswerer([&](const Dialogs::Request& request) {
            request.printer->setPageOrientation(QPageLayout::Landscape);
            request.printer->setOutputFileName(pdfPath());
            return Dialogs::Reply{Dialogs::Answer::Ok, {}};
        });
        navi.ActionPrintPreviewNaviMessageExecute();
        QSizeF size;
        const QStringList pages = pdfPages(pdfPath(), &size);
        QVERIFY(size.width() > size.height());
        QCOMPARE(previewPages, 1);
        QCOMPARE(pages.size(), 2);
        QCOMPARE(numberedLinesIn(pages), MemoTextLines(numberedLines(40)));
        app->closeWindow();
    }

    void printFormLiesWhereTheMainWindowLies_data()
    {
        QTest::addColumn<bool>("preview");
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<bool>("currentBounds");
        QTest::newRow("preview, normal window") << true << false << true;
        QTest::newRow("preview, maximised window") << true << true << false;
        QTest::newRow("print, normal window") << false << false << false;
    }
    void printFormLiesWhereTheMainWindowLies()
    {
        QFETCH(bool, preview);
        QFETCH(bool, maximised);
        QFETCH(bool, currentBounds);
        TFormNavi& navi = *app->start();
        const QRect normal = navi.normalGeometry();
        if (maximised) {
            navi.showMaximized();
            QTRY_VERIFY(navi.geometry() != normal);
        } else {
            navi.setGeometry(normal.translated(7, 9));
            QTRY_COMPARE(navi.geometry(), normal.translated(7, 9));
        }
        const std::unique_ptr<TFormPrintNaviMessage> form = navi.preparePrint(preview);
        QCOMPARE(navi.formPrintNaviMessage.data(), form.get());
        QCOMPARE(form->previewMode, preview);
        QCOMPARE(form->ownerBounds, currentBounds ? navi.geometry() : navi.normalGeometry());
        if (!currentBounds)
            QVERIFY(!maximised || form->ownerBounds != navi.geometry());
        // Only closed: the form, a child of the window, is deleted first as this scope ends.
        navi.close();
    }

    void settingsCommandShowsTheDialogWithoutOwner()
    {
        TFormNavi& navi = *app->start();
        QAction* command = navi.action("ActionPrintNaviMessageSetting");
        QCOMPARE(command->text(), QString("印刷設定(&U)..."));
        QVERIFY(command->isEnabled());
        bool shownModally = false;
        bool withoutOwner = false;
        QTimer::singleShot(0, &navi, [&] {
            auto* dialog =
                qobject_cast<TFormPrintNaviMessageSetting*>(navi.formPrintNaviMessageSetting);
            if (!dialog)
                return;
            shownModally = QApplication::activeModalWidget() == dialog;
            withoutOwner = dialog->parentWidget() == nullptr;
            dialog->EditFontSize->setText("14");
            dialog->ButtonOK->click();
        });
        command->trigger();
        QVERIFY(shownModally);
        QVERIFY(withoutOwner);
        QVERIFY(navi.formPrintNaviMessageSetting.isNull());
        QCOMPARE(
            IniFile(CommonDefine::settingIniPath()).readInteger("NaviPrintSetting", "FontSize", 0),
            14);
        app->closeWindow();
    }

private:
    static QStringList MemoTextLines(const QString& text) { return text.split("\r\n"); }
};

QTEST_MAIN(TestPrint)
#include "test_print.moc"
