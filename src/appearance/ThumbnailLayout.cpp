#include "ThumbnailLayout.h"

#include <algorithm>

namespace ThumbnailLayout {

QPoint thumbnailPos(int index)
{
    return {kLeft + (index % kPerRow) * kStep, kTop + (index / kPerRow) * kRowHeight};
}

int rowsBottom(int count)
{
    const int rows = (std::max(count, 0) + kPerRow - 1) / kPerRow;
    return kTop + rows * kRowHeight;
}

int scrollMax(int count, int panelHeight)
{
    return std::max(0, rowsBottom(count) + kMargin - panelHeight);
}

QList<int> stackTops(const QList<int>& heights)
{
    QList<int> tops;
    int top = kStackGap;
    for (int h : heights) {
        tops << top;
        top += h + kStackGap;
    }
    return tops;
}

int stackScrollMax(const QList<int>& heights, int panelHeight)
{
    if (heights.isEmpty())
        return 0;
    const int bottom = stackTops(heights).last() + heights.last();
    return std::max(0, bottom + kStackGap - panelHeight);
}

} // namespace ThumbnailLayout
