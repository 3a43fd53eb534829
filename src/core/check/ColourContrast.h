#pragma once
// Contrast between two colours as readers of text perceive it (relative luminance): the one
// formula for the page check and for the windows' own painting.

namespace stv
{

// The contrast ratio of two colours given as red, green and blue from 0 to 255, from 1 (the
// same luminance) to 21 (black on white).
double contrastRatio(int red1, int green1, int blue1, int red2, int green2, int blue2);
// The same for two colour values laid out 0x00BBGGRR, as projects store them.
double storedColourContrast(int colour1, int colour2);
// Relative luminance of a colour, from 0 (black) to 1 (white).
double relativeLuminance(int red, int green, int blue);

// The ratio below which text is hard to read.
inline constexpr double ReadableContrast = 4.5;

} // namespace stv
