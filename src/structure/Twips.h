#pragma once

// Sizes of this subsystem's windows are given in twips: 15 twips to a pixel at 96 dpi.
constexpr int twips(int t)
{
    return (t >= 0 ? t + 7 : t - 7) / 15;
}
