#include "views/CarriageKeys.h"

#include "common/CommonRoutines.h"

namespace CarriageKeys {

Typed carriageTyped(QChar typed)
{
    if (typed.unicode() == 13)
        return Typed::Write;
    if (typed.unicode() == 8 || isDigitChar(typed))
        return Typed::Keep;
    return Typed::Discard;
}

QString carriageCommitted(const QString& committed)
{
    QString kept;
    for (QChar c : committed)
        if (isDigitChar(c))
            kept.append(c);
    return kept;
}

} // namespace CarriageKeys
