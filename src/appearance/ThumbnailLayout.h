#pragma once

#include <QList>
#include <QPoint>

// Where the choosers put their pictures, in twips, before scrolling.
namespace ThumbnailLayout {

// Template thumbnails: rows of three, 2500 twips apart, rows 1680 twips high,
// each row starting 250 twips from the left.
constexpr int kStep = 2500;
constexpr int kRowHeight = 1680;
constexpr int kLeft = 250;
constexpr int kTop = 100;
constexpr int kPerRow = 3;
constexpr int kMargin = 2000; // empty space below the last row
// A thumbnail fits inside its cell with room to spare on every side.
constexpr int kWidth = 2400;
constexpr int kHeight = 1600;

QPoint thumbnailPos(int index);
// The bottom of the last row (the top of the first row when there are none).
int rowsBottom(int count);
// The largest scroll value of a panel panelHeight high: what lies below it, margin included.
int scrollMax(int count, int panelHeight);

// Name styles: pictures stacked 100 twips apart, the first 100 twips from the top.
constexpr int kStackGap = 100;
QList<int> stackTops(const QList<int>& heights);
int stackScrollMax(const QList<int>& heights, int panelHeight);

} // namespace ThumbnailLayout
