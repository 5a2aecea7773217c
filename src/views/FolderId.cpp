#include "views/FolderId.h"

namespace FolderId {

int depth(const QString& id)
{
    if (id.isEmpty())
        return 0;
    return (id.size() + 1) / (groupLength + 1);
}

bool isRoot(const QString& id)
{
    return id.size() == groupLength;
}

QString parentId(const QString& id)
{
    if (id.size() <= groupLength)
        return QString();
    return id.left(id.size() - groupLength - 1);
}

QString childId(const QString& parentId, int group)
{
    return parentId + '-' + QStringLiteral("%1").arg(group, groupLength, 10, QLatin1Char('0'));
}

QString siblingPrefix(const QString& id)
{
    return id.left(qMax(0, id.size() - groupLength));
}

} // namespace FolderId
