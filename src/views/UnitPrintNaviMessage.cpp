#include "views/UnitPrintNaviMessage.h"

#include "platform/ChildTeardown.h"
#include "common/CommonDefine.h"
#include "platform/IniFile.h"
#include "platform/WheelRouter.h"
#include "views/CurrentPrinter.h"
#include "views/MessagePrintLayout.h"
#include "views/PrintZoom.h"

#include <QAction>
#include <QComboBox>
#include <QGraphicsView>
#include <QLabel>
#include <QMouseEvent>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TFormPrintNaviMessage::TFormPrintNaviMessage(QWidget* owner) : QDialog(owner)
{
    setObjectName("FormPrintNaviMessage");
    setWindowTitle("印刷プレビュー");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    resize(842, 572);
    buildLayout();
    connectSignals();
}

TFormPrintNaviMessage::~TFormPrintNaviMessage()
{
    detachChildren(this);
}

void TFormPrintNaviMessage::buildLayout()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ToolBar = new QToolBar(this);
    ToolBar->setObjectName("ToolBar");
    ToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto addButton = [this](const QString& name, const QString& caption, QAction* command) {
        auto* button = new QToolButton(ToolBar);
        button->setObjectName(name);
        if (command)
            button->setDefaultAction(command);
        else
            button->setText(caption);
        ToolBar->addWidget(button);
        return button;
    };
    auto makeCommand = [this](const QString& name, const QString& caption) {
        auto* command = new QAction(caption, this);
        command->setObjectName(name);
        addAction(command);
        return command;
    };
    ActionListToolbarPrint = makeCommand("ActionListToolbarPrint", "印刷(&P)");
    ActionListToolbarPrevPage = makeCommand("ActionListToolbarPrevPage", "前ページ(&V)");
    ActionListToolbarNextPage = makeCommand("ActionListToolbarNextPage", "次ページ(&N)");
    ActionListToolbarClose = makeCommand("ActionListToolbarClose", "閉じる(&C)");
    ActionListToolbarClose->setShortcut(Qt::Key_Escape);
    ActionListToolbarPrint->setEnabled(false);
    ActionListToolbarPrevPage->setEnabled(false);
    ActionListToolbarNextPage->setEnabled(false);

    ToolButtonPrint = addButton("ToolButtonPrint", {}, ActionListToolbarPrint);
    ToolButtonPrev = addButton("ToolButtonPrev", {}, ActionListToolbarPrevPage);
    ToolButtonNext = addButton("ToolButtonNext", {}, ActionListToolbarNextPage);
    ToolButtonExpansion = addButton("ToolButtonExpansion", "拡大(&I)", nullptr);
    ToolButtonReduction = addButton("ToolButtonReduction", "縮小(&O)", nullptr);
    ComboBoxZoom = new QComboBox(ToolBar);
    ComboBoxZoom->setObjectName("ComboBoxZoom");
    ComboBoxZoom->setToolTip("倍率");
    ComboBoxZoom->addItems(PrintZoom::items());
    ComboBoxZoom->setCurrentIndex(-1);
    ToolBar->addWidget(ComboBoxZoom);
    ToolButtonClose = addButton("ToolButtonClose", {}, ActionListToolbarClose);
    layout->addWidget(ToolBar);

    QRPreview = new QPrintPreviewWidget(&currentPrinter(), this);
    QRPreview->setObjectName("QRPreview");
    QRPreview->setZoomFactor(zoom / 100.0);
    layout->addWidget(QRPreview, 1);

    auto* statusBar = new QStatusBar(this);
    statusBar->setObjectName("StatusBar");
    statusBar->setSizeGripEnabled(false);
    const int widths[] = {100, 600, 50};
    for (int i = 0; i < 3; ++i) {
        statusPanels[i] = new QLabel(statusBar);
        statusPanels[i]->setFixedWidth(widths[i]);
        statusBar->addWidget(statusPanels[i]);
    }
    layout->addWidget(statusBar);

    // The preview's page view is the scrolling control the wheel and a click act on.
    wheelRouter = new WheelRouter(this);
    if (auto* view = QRPreview->findChild<QGraphicsView*>()) {
        wheelRouter->track(view);
        view->viewport()->installEventFilter(this);
    }
}

void TFormPrintNaviMessage::connectSignals()
{
    connect(ActionListToolbarPrint, &QAction::triggered, this,
            &TFormPrintNaviMessage::ActionListToolbarPrintExecute);
    connect(ActionListToolbarPrevPage, &QAction::triggered, this,
            &TFormPrintNaviMessage::ActionListToolbarPrevPageExecute);
    connect(ActionListToolbarNextPage, &QAction::triggered, this,
            &TFormPrintNaviMessage::ActionListToolbarNextPageExecute);
    connect(ActionListToolbarClose, &QAction::triggered, this, &QDialog::close);
    connect(ToolButtonExpansion, &QToolButton::clicked, this,
            &TFormPrintNaviMessage::ToolButtonExpansionClick);
    connect(ToolButtonReduction, &QToolButton::clicked, this,
            &TFormPrintNaviMessage::ToolButtonReductionClick);
    connect(ComboBoxZoom, &QComboBox::activated, this, &TFormPrintNaviMessage::ComboBoxZoomChange);
    connect(QRPreview, &QPrintPreviewWidget::paintRequested, this,
            &TFormPrintNaviMessage::QRPreviewPaintRequested);
    connect(QRPreview, &QPrintPreviewWidget::previewChanged, this,
            &TFormPrintNaviMessage::QRPreviewPageAvailable);
}

void TFormPrintNaviMessage::setMessageText(const QString& text)
{
    messageText = text;
}

void TFormPrintNaviMessage::setDefaultFontSize(int points)
{
    defaultFontSize = points;
}

void TFormPrintNaviMessage::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    printRequested = false;
    pageReady = false;
    if (previewMode)
        layoutReport();
    else
        showMinimized();
}

void TFormPrintNaviMessage::layoutReport()
{
    if (previewMode) {
        setGeometry(ownerBounds);
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    settings = PrintSettings::read(IniFile(CommonDefine::settingIniPath()));
    reportFontSize = settings.fontSize != 0 ? settings.fontSize : defaultFontSize;
    paginate();
}

void TFormPrintNaviMessage::paginate()
{
    report = std::make_unique<MessagePrintLayout>();
    report->layout(currentPrinter(), messageText, reportFontSize, settings);
    pageCount = report->pageCount();
    currentPage = 1;
    showPageStatus();
    ActionListToolbarPrevPage->setEnabled(false);
    ActionListToolbarNextPage->setEnabled(pageCount > 1);
    if (previewMode) {
        awaitingFirstPage = true;
        QRPreview->updatePreview();
        QRPreview->setCurrentPage(1);
    } else {
        // Without the preview the layout is the page to print.
        pageReady = true;
    }
}

MessagePrintLayout& TFormPrintNaviMessage::reportFor(QPrinter& printer)
{
    if (!report->fitsPrinter(printer))
        report->layout(printer, messageText, reportFontSize, settings);
    return *report;
}

bool TFormPrintNaviMessage::printReport(QPrinter& printer)
{
    if (!report)
        layoutReport();
    return reportFor(printer).print(printer);
}

void TFormPrintNaviMessage::QRPreviewPaintRequested(QPrinter* printer)
{
    // The preview asks for its pages as soon as it is first shown; they are drawn once the
    // report has been laid out.
    if (report)
        reportFor(*printer).print(*printer);
}

void TFormPrintNaviMessage::QRPreviewPageAvailable()
{
    if (!awaitingFirstPage || QRPreview->pageCount() == 0)
        return;
    awaitingFirstPage = false;
    pageReady = true;
    if (previewMode) {
        setZoom(75);
        ActionListToolbarPrint->setEnabled(true);
    }
}

void TFormPrintNaviMessage::showPageStatus()
{
    statusPanels[0]->setText(QStringLiteral("%1/%2").arg(currentPage).arg(pageCount));
}

void TFormPrintNaviMessage::ActionListToolbarPrintExecute()
{
    printRequested = true;
    close();
}

void TFormPrintNaviMessage::ActionListToolbarPrevPageExecute()
{
    if (currentPage <= 1)
        return;
    --currentPage;
    QRPreview->setCurrentPage(currentPage);
    ActionListToolbarNextPage->setEnabled(true);
    ActionListToolbarPrevPage->setEnabled(currentPage > 1);
    showPageStatus();
}

void TFormPrintNaviMessage::ActionListToolbarNextPageExecute()
{
    if (currentPage >= pageCount)
        return;
    ++currentPage;
    QRPreview->setCurrentPage(currentPage);
    ActionListToolbarPrevPage->setEnabled(true);
    ActionListToolbarNextPage->setEnabled(currentPage < pageCount);
    showPageStatus();
}

void TFormPrintNaviMessage::setZoom(int percent)
{
    zoom = percent;
    if (percent == 0) {
        QRPreview->fitInView();
    } else {
        QRPreview->setZoomMode(QPrintPreviewWidget::CustomZoom);
        QRPreview->setZoomFactor(percent / 100.0);
    }
    ComboBoxZoom->setCurrentIndex(PrintZoom::itemOfZoom(percent));
}

void TFormPrintNaviMessage::ToolButtonExpansionClick()
{
    const int next = PrintZoom::stepUp(zoom);
    if (next == zoom)
        return;
    setZoom(next);
    ToolButtonExpansion->setEnabled(PrintZoom::canStepUp(zoom));
    ToolButtonReduction->setEnabled(PrintZoom::canStepDown(zoom));
}

void TFormPrintNaviMessage::ToolButtonReductionClick()
{
    const int next = PrintZoom::stepDown(zoom);
    if (next == zoom)
        return;
    setZoom(next);
    ToolButtonExpansion->setEnabled(PrintZoom::canStepUp(zoom));
    ToolButtonReduction->setEnabled(PrintZoom::canStepDown(zoom));
}

void TFormPrintNaviMessage::ComboBoxZoomChange(int index)
{
    const int chosen = PrintZoom::zoomOfItem(index);
    if (chosen < 0)
        return;
    setZoom(chosen);
    ToolButtonExpansion->setEnabled(PrintZoom::canStepUp(zoom));
    ToolButtonReduction->setEnabled(PrintZoom::canStepDown(zoom));
}

bool TFormPrintNaviMessage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress)
        QRPreview->setFocus();
    return QDialog::eventFilter(watched, event);
}
