#include "compose/TemplateDropRule.h"

int dropTemplateEntry(QStringList& names, int dragIndex, int dropIndex)
{
    if (dragIndex < 0 || dragIndex >= names.size())
        return -1;
    const int target = dropIndex < 0 || dropIndex >= names.size() ? names.size() - 1 : dropIndex;
    names.move(dragIndex, target);
    return target;
}
