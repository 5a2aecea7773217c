#include "compose/ReplyFooter.h"

#include "common/CommonDefine.h"
#include "common/CommonRoutines.h"

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
