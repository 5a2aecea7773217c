#pragma once

#include "views/PrintSettings.h"

#include <QDialog>
#include <QRect>
#include <QString>

#include <memory>

class MessagePrintLayout;
class QAction;
class QComboBox;
class QLabel;
class QPrinter;
class QPrintPreviewWidget;
class QToolBar;
class QToolButton;
class WheelRouter;

// The message printing form: lays a message out for the current printer with the print
// settings, and either shows it in the preview window "印刷プレビュー" (zoom, paging, print)
// or is only used to print it.
class TFormPrintNaviMessage : public QDialog
{
    Q_OBJECT
public:
    explicit TFormPrintNaviMessage(QWidget* owner);
    ~TFormPrintNaviMessage() override;

    void setMessageText(const QString& text);
    void setDefaultFontSize(int points);
    // Places the preview window (preview mode), applies the print settings and paginates.
    void layoutReport();
    void paginate();
    // Lays the message out again for the printer (its paper as chosen now) and prints it.
    // False when the printer could not be opened.
    bool printReport(QPrinter& printer);

    bool previewMode = false;
    QRect ownerBounds; // where the preview window is to lie
    QString messageText;
    int defaultFontSize = 0;
    int pageCount = 0;
    int currentPage = 0;
    int zoom = 75; // percent; 0 = the whole page
    bool printRequested = false;
    bool pageReady = false;

    // ---- Components ----
    QToolBar* ToolBar = nullptr;
    QAction* ActionListToolbarPrint = nullptr;
    QAction* ActionListToolbarPrevPage = nullptr;
    QAction* ActionListToolbarNextPage = nullptr;
    QAction* ActionListToolbarClose = nullptr;
    QToolButton* ToolButtonPrint = nullptr;
    QToolButton* ToolButtonPrev = nullptr;
    QToolButton* ToolButtonNext = nullptr;
    QToolButton* ToolButtonExpansion = nullptr;
    QToolButton* ToolButtonReduction = nullptr;
    QComboBox* ComboBoxZoom = nullptr;
    QToolButton* ToolButtonClose = nullptr;
    QPrintPreviewWidget* QRPreview = nullptr;
    QLabel* statusPanels[3] = {};

    void ActionListToolbarPrintExecute();
    void ActionListToolbarPrevPageExecute();
    void ActionListToolbarNextPageExecute();
    void ToolButtonExpansionClick();
    void ToolButtonReductionClick();
    void ComboBoxZoomChange(int index);
    void QRPreviewPaintRequested(QPrinter* printer);
    void QRPreviewPageAvailable();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void connectSignals();
    void setZoom(int percent);
    void showPageStatus();

    // Lays the report out again unless it already fits the printer's paper as it is now.
    MessagePrintLayout& reportFor(QPrinter& printer);

    PrintSettings settings;
    int reportFontSize = 0;
    std::unique_ptr<MessagePrintLayout> report; // the laid-out report, once paginated
    bool awaitingFirstPage = false;
    WheelRouter* wheelRouter = nullptr;
};
