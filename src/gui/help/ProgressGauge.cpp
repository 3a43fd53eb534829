#include "gui/help/ProgressGauge.h"

#include <QPainter>

namespace stv
{

ProgressGauge::ProgressGauge(QWidget *parent)
    : QWidget(parent)
{
}

void ProgressGauge::setMinValue(int value)
{
    m_min = value;
    update();
}

void ProgressGauge::setMaxValue(int value)
{
    m_max = value;
    update();
}

void ProgressGauge::setProgress(int value)
{
    m_progress = value;
    update();
}

int ProgressGauge::percentDone() const
{
    if (m_max == m_min)
        return 0;
    const long long done = 100LL * (m_progress - m_min) / (m_max - m_min);
    return static_cast<int>(done);
}

QString ProgressGauge::text() const
{
    return QString::asprintf("%d%%", percentDone());
}

void ProgressGauge::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect all = rect();
    const QPalette &pal = palette();
    p.fillRect(all, pal.base());
    const int done = std::clamp(percentDone(), 0, 100);
    const QRect bar(all.left(), all.top(), all.width() * done / 100, all.height());
    p.fillRect(bar, pal.highlight());

    // The figure reads in the text colour on the page and in the highlighted one on the bar.
    const QString figure = text();
    p.setPen(pal.color(QPalette::Text));
    p.drawText(all, Qt::AlignCenter, figure);
    p.setClipRect(bar);
    p.setPen(pal.color(QPalette::HighlightedText));
    p.drawText(all, Qt::AlignCenter, figure);
}

} // namespace stv
