#include "app/UnitMain.h"

#include "app/UnitNavi.h"
#include "compose/TemplateKeywords.h"
#include "platform/GuiThreadWait.h"
#include "platform/SingleInstance.h"
#include "platform/UnixSignals.h"
#include "views/BidListView.h"

#include <QTimer>

TFormMain* FormMain = nullptr;

TFormMain::TFormMain(QObject* parent) : QObject(parent)
{
    FormMain = this;
}

TFormMain::~TFormMain()
{
    setTemplateKeywordContext({});
    delete formNavi;
    formNavi = nullptr;
    if (FormMain == this)
        FormMain = nullptr;
}

void TFormMain::FormCreate()
{
    formNavi = new TFormNavi();
    setTemplateKeywordContext({&formNavi->session, formNavi->ListViewBid});
    formNavi->FormShow();
}

void TFormMain::closeOnStopSignals(UnixSignals& stopSignals)
{
    TFormNavi* navi = formNavi;
    // A request the window waits for has already ended; its operation unwinds first.
    const auto closeWindow = [navi] {
        GuiThreadWait::runOutsideWaits(navi, [navi] { navi->close(); });
    };
    connect(&stopSignals, &UnixSignals::terminateRequested, navi, closeWindow);
    if (stopSignals.isTerminateRequested())
        QTimer::singleShot(0, navi, closeWindow);
}

void TFormMain::answerSecondStarts(SingleInstance& instance)
{
    instance.listen();
    connect(&instance, &SingleInstance::raiseRequested, formNavi, &TFormNavi::raiseFromOutside);
}
