// The main window's printing commands: print, print preview and print settings.
#include "app/UnitNavi.h"

#include "app/NaviWiring.h"
#include "platform/Dialogs.h"
#include "platform/WindowPlacement.h"
#include "views/BidderPanel.h"
#include "views/CurrentPrinter.h"
#include "views/MemoText.h"
#include "views/UnitPrintNaviMessage.h"
#include "views/UnitPrintNaviMessageSetting.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTabWidget>

namespace {

// A print that could not reach its printer or file is not passed over in silence.
void printOrReport(QWidget* owner, TFormPrintNaviMessage& form)
{
    if (!form.printReport(currentPrinter()))
        Dialogs::showError(owner, "エラー", "印刷できませんでした");
}

} // namespace

void NaviWiring::connectPrintCommands(TFormNavi& navi)
{
    const std::pair<const char*, void (TFormNavi::*)()> commands[] = {
        {"ActionPrintNaviMessage", &TFormNavi::ActionPrintNaviMessageExecute},
        {"ActionPrintPreviewNaviMessage", &TFormNavi::ActionPrintPreviewNaviMessageExecute},
        {"ActionPrintNaviMessageSetting", &TFormNavi::ActionPrintNaviMessageSettingExecute},
    };
    for (const auto& [name, execute] : commands) {
        QAction* command = navi.action(QString::fromLatin1(name));
        QObject::connect(command, &QAction::triggered, &navi, execute);
        navi.markWired(command);
        command->setEnabled(true);
    }
}

std::unique_ptr<TFormPrintNaviMessage> TFormNavi::preparePrint(bool preview)
{
    auto form = std::make_unique<TFormPrintNaviMessage>(this);
    formPrintNaviMessage = form.get();
    form->setMessageText(MemoText::get(bidderPanel().getActiveNaviMemo()));
    form->setDefaultFontSize(MemoNavi->font().pointSize());
    form->previewMode = preview;
    const bool normal =
        !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    form->ownerBounds = !preview || !normal ? placement->normalBounds() : geometry();
    return form;
}

void TFormNavi::ActionPrintNaviMessageExecute()
{
    std::unique_ptr<TFormPrintNaviMessage> form = preparePrint(false);
    if (Dialogs::print(this, &currentPrinter())) {
        // Laid out and printed at once: the layout is ready when it returns.
        form->layoutReport();
        if (form->pageReady)
            printOrReport(this, *form);
    }
}

void TFormNavi::ActionPrintPreviewNaviMessageExecute()
{
    std::unique_ptr<TFormPrintNaviMessage> form = preparePrint(true);
    form->exec();
    if (form->printRequested && Dialogs::print(this, &currentPrinter()))
        printOrReport(this, *form);
}

void TFormNavi::ActionPrintNaviMessageSettingExecute()
{
    auto form = std::make_unique<TFormPrintNaviMessageSetting>(this);
    formPrintNaviMessageSetting = form.get();
    form->exec();
}
