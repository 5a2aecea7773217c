#include "app/UnitMain.h"

#include "app/UnitNavi.h"

TFormMain* FormMain = nullptr;

TFormMain::TFormMain(QObject* parent) : QObject(parent)
{
    FormMain = this;
}

TFormMain::~TFormMain()
{
    delete formNavi;
    formNavi = nullptr;
    if (FormMain == this)
        FormMain = nullptr;
}

void TFormMain::FormCreate()
{
    formNavi = new TFormNavi();
    formNavi->FormShow();
}
