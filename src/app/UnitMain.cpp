#include "app/UnitMain.h"

#include "app/UnitNavi.h"
#include "compose/TemplateKeywords.h"
#include "views/BidListView.h"

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
