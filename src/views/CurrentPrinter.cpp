#include "views/CurrentPrinter.h"

#include <QCoreApplication>
#include <QPrinter>

namespace {

QPrinter* instance = nullptr;

void freePrinter()
{
    delete instance;
    instance = nullptr;
}

} // namespace

QPrinter& currentPrinter()
{
    if (!instance) {
        instance = new QPrinter(QPrinter::HighResolution);
        instance->setFullPage(true);
        qAddPostRoutine(freePrinter);
    }
    return *instance;
}
