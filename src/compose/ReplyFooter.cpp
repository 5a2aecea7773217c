#include "compose/ReplyFooter.h"

#include "app/CommonDefine.h"
#include "app/CommonRoutines.h"

namespace ReplyFooter {

bool applies(const QString& expanded, bool prInsert)
{
    return prInsert && countChars(expanded) <= footerLimit;
}

QString withFooter(const QString& expanded, bool prInsert)
{
    return applies(expanded, prInsert) ? expanded + CommonDefine::prFooterText() : expanded;
}

} // namespace ReplyFooter
