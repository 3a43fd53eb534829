#include "core/check/ColourContrast.h"

#include <algorithm>
#include <cmath>

namespace stv
{

namespace
{

double channel(int value)
{
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

} // namespace

double relativeLuminance(int red, int green, int blue)
{
    return 0.2126 * channel(red) + 0.7152 * channel(green) + 0.0722 * channel(blue);
}

double contrastRatio(int red1, int green1, int blue1, int red2, int green2, int blue2)
{
    const double a = relativeLuminance(red1, green1, blue1);
    const double b = relativeLuminance(red2, green2, blue2);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

double storedColourContrast(int colour1, int colour2)
{
    return contrastRatio(colour1 & 0xFF, (colour1 >> 8) & 0xFF, (colour1 >> 16) & 0xFF,
        colour2 & 0xFF, (colour2 >> 8) & 0xFF, (colour2 >> 16) & 0xFF);
}

} // namespace stv
