#pragma once

#include <QSize>

// Sizes in the windows' descriptions are in twips: 15 twips to a pixel at 96 dpi.
// Every conversion goes through here, rounded to the nearest pixel.
namespace Twips {

constexpr int kPerPixel = 15;

constexpr int toPixels(int twips)
{
    return (twips >= 0 ? twips + kPerPixel / 2 : twips - kPerPixel / 2) / kPerPixel;
}
constexpr int fromPixels(int pixels)
{
    return pixels * kPerPixel;
}
inline QSize toPixels(const QSize& twips)
{
    return {toPixels(twips.width()), toPixels(twips.height())};
}
inline QSize fromPixels(const QSize& pixels)
{
    return {fromPixels(pixels.width()), fromPixels(pixels.height())};
}

} // namespace Twips
