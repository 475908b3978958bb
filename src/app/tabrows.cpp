#include "tabrows.h"

namespace {
// The first tab of each row.
QList<int> rowStarts(const QList<int> &widths, int width)
{
    QList<int> starts;
    int x = 0;
    for (int i = 0; i < widths.size(); ++i) {
        if (starts.isEmpty() || (x > 0 && x + widths.at(i) > width)) {
            starts.append(i);
            x = 0;
        }
        x += widths.at(i);
    }
    return starts;
}
} // namespace

int TabRows::count(const QList<int> &widths, int width)
{
    return int(rowStarts(widths, width).size());
}

QList<QRect> TabRows::layOut(const QList<int> &widths, int width, int rowHeight, int selected)
{
    const QList<int> starts = rowStarts(widths, width);
    const int rows = int(starts.size());
    QList<QRect> rects;
    rects.reserve(widths.size());
    int selectedRow = 0;
    for (int row = 0; row < rows; ++row) {
        if (starts.at(row) <= selected)
            selectedRow = row;
    }
    for (int row = 0; row < rows; ++row) {
        const int first = starts.at(row);
        const int end = row + 1 < rows ? starts.at(row + 1) : int(widths.size());
        const int tabs = end - first;
        int used = 0;
        for (int i = first; i < end; ++i)
            used += widths.at(i);
        const int extra = rows > 1 ? qMax(0, width - used) : 0;
        const int fromBottom = (row - selectedRow + rows) % rows;
        const int y = (rows - 1 - fromBottom) * rowHeight;
        int x = 0;
        for (int i = first; i < end; ++i) {
            const int k = i - first;
            const int stretch = extra * (k + 1) / tabs - extra * k / tabs;
            rects.append(QRect(x, y, widths.at(i) + stretch, rowHeight));
            x += widths.at(i) + stretch;
        }
    }
    return rects;
}
