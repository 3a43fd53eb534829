#pragma once
// Colour contrast as readers of text perceive it (relative luminance), and colours nudged until
// text in them stays readable on a given background; lets painting code follow the desktop's
// palette, dark ones included.

#include <QColor>
#include <QPalette>

namespace stv
{

// The contrast ratio of two colours, from 1 (same luminance) to 21 (black on white).
double contrastRatio(const QColor &a, const QColor &b);
// `wanted` when it reads on `background` at `ratio` or better; otherwise the same hue made
// lighter (on a dark background) or darker (on a light one) until it does.
QColor readableOn(const QColor &wanted, const QColor &background, double ratio = 4.5);
// True when the palette's window colour is darker than its window text.
bool isDarkPalette(const QPalette &palette);
// `text` softened a quarter of the way towards `background`: for notes and hints that are
// meant to read quieter than the main text but stay above the contrast figure.
QColor softText(const QColor &text, const QColor &background);
// A dark palette for the Fusion style, for trying the windows with dark desktops.
QPalette darkPalette();

} // namespace stv
