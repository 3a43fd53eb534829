#include "gui/desktop/Contrast.h"

#include "core/check/ColourContrast.h"

namespace stv
{

namespace
{

double luminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return relativeLuminance(rgb.red(), rgb.green(), rgb.blue());
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const QColor ca = a.toRgb();
    const QColor cb = b.toRgb();
    return stv::contrastRatio(ca.red(), ca.green(), ca.blue(), cb.red(), cb.green(), cb.blue());
}

QColor readableOn(const QColor &wanted, const QColor &background, double ratio)
{
    if (contrastRatio(wanted, background) >= ratio)
        return wanted;
    const QColor target = luminance(background) < 0.18 ? QColor(Qt::white) : QColor(Qt::black);
    // Blend towards white or black in small steps: the hue stays recognisable.
    for (int step = 1; step <= 20; ++step) {
        const double t = step / 20.0;
        const QColor mixed(qRound(wanted.red() + (target.red() - wanted.red()) * t),
            qRound(wanted.green() + (target.green() - wanted.green()) * t),
            qRound(wanted.blue() + (target.blue() - wanted.blue()) * t));
        if (contrastRatio(mixed, background) >= ratio)
            return mixed;
    }
    return target;
}

bool isDarkPalette(const QPalette &palette)
{
    return luminance(palette.color(QPalette::Window))
        < luminance(palette.color(QPalette::WindowText));
}

QColor softText(const QColor &text, const QColor &background)
{
    const QColor mixed(qRound(text.red() * 0.75 + background.red() * 0.25),
        qRound(text.green() * 0.75 + background.green() * 0.25),
        qRound(text.blue() * 0.75 + background.blue() * 0.25));
    return readableOn(mixed, background);
}

QPalette darkPalette()
{
    QPalette p;
    const QColor window(53, 53, 53);
    const QColor base(35, 35, 35);
    const QColor text(230, 230, 230);
    const QColor disabled(127, 127, 127);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, QColor(160, 160, 160));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Light, QColor(80, 80, 80));
    p.setColor(QPalette::Midlight, QColor(66, 66, 66));
    p.setColor(QPalette::Mid, QColor(45, 45, 45));
    p.setColor(QPalette::Dark, QColor(25, 25, 25));
    p.setColor(QPalette::Shadow, QColor(20, 20, 20));
    p.setColor(QPalette::Link, QColor(90, 160, 240));
    p.setColor(QPalette::Highlight, QColor(38, 98, 176));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Disabled, QPalette::WindowText, disabled);
    p.setColor(QPalette::Disabled, QPalette::Text, disabled);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, disabled);
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(80, 80, 80));
    p.setColor(QPalette::Disabled, QPalette::HighlightedText, disabled);
    return p;
}

} // namespace stv
