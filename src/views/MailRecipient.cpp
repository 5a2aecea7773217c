#include "views/MailRecipient.h"

namespace MailRecipient {

bool isSingle(const QString& address)
{
    for (const QChar c : address)
        if (c == u',' || c == u';' || c == u'\r' || c == u'\n')
            return false;
    return true;
}

} // namespace MailRecipient
