#include "app/MessageFontSize.h"

#include <iterator>

namespace MessageFontSize {

bool isMenuSize(int points)
{
    for (int size : sizes)
        if (size == points)
            return true;
    return false;
}

int step(int checkedSize, bool towardsUser)
{
    const int count = int(std::size(sizes));
    for (int i = 0; i < count; ++i) {
        if (sizes[i] != checkedSize)
            continue;
        const int next = towardsUser ? i + 1 : i - 1;
        return next >= 0 && next < count ? sizes[next] : checkedSize;
    }
    return checkedSize;
}

} // namespace MessageFontSize
