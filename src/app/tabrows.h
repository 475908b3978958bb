#pragma once

#include <QList>
#include <QRect>

// Tabs in rows, as a multi-line tab control lays them out: in tab order from left to right, a
// new row when the next tab does not fit in the width; a tab wider than the width has a row
// of its own. With more than one row each row is stretched to the full width. The row of the
// selected tab is the bottom row, next to the page; the rows turn round so that the row after
// it comes above it and the rows before it at the top, their order kept.
struct TabRows
{
    // How many rows tabs of these widths take in the width (0 without tabs).
    static int count(const QList<int> &widths, int width);
    // Each tab's rectangle, rows of rowHeight from y 0; selected -1 keeps the first row at the
    // bottom.
    static QList<QRect> layOut(const QList<int> &widths, int width, int rowHeight, int selected);
};
