// Draws the program's artwork into resources/icons: the strip of 17 section icons (20 x 20),
// the picture-button icons and the application icon. Run once after changing a drawing:
//   cmake --build build --target make_icons && build/make_icons resources/icons
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace
{

const QColor Navy(0x1b, 0x3a, 0x6b);
const QColor Blue(0x2f, 0x6f, 0xa8);
const QColor Sky(0x9c, 0xc8, 0xef);
const QColor Orange(0xe8, 0x89, 0x2b);
const QColor Green(0x3c, 0x9a, 0x4a);
const QColor Red(0xc0, 0x39, 0x2b);
const QColor Paper(0xfd, 0xfd, 0xf8);
const QColor Ink(0x40, 0x48, 0x55);
const QColor Gold(0xf2, 0xc1, 0x2e);

using Drawing = std::function<void(QPainter &)>;

QPen pen(const QColor &c, qreal w = 1.0)
{
    QPen p(c, w);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

// A sheet of paper with a folded corner, the base of the page-like icons.
void sheet(QPainter &p, QRectF r = QRectF(3.5, 1.5, 13, 17))
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 4, r.top());
    path.lineTo(r.right(), r.top() + 4);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(pen(Ink));
    p.setBrush(Paper);
    p.drawPath(path);
    p.setBrush(QColor(0xd8, 0xdc, 0xe4));
    QPainterPath fold;
    fold.moveTo(r.right() - 4, r.top());
    fold.lineTo(r.right() - 4, r.top() + 4);
    fold.lineTo(r.right(), r.top() + 4);
    fold.closeSubpath();
    p.drawPath(fold);
}

void textLines(QPainter &p, qreal x, qreal y, qreal w, int n, qreal gap = 3)
{
    p.setPen(pen(QColor(0x7a, 0x86, 0x99), 1.2));
    for (int i = 0; i < n; ++i)
        p.drawLine(QPointF(x, y + i * gap), QPointF(x + (i == n - 1 ? w * 0.6 : w), y + i * gap));
}

void html(QPainter &p)
{
    sheet(p);
    p.setPen(pen(Orange, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({ QPointF(8, 7.5), QPointF(5.8, 10), QPointF(8, 12.5) }));
    p.drawPolyline(QPolygonF({ QPointF(12, 7.5), QPointF(14.2, 10), QPointF(12, 12.5) }));
    p.setPen(pen(Blue, 1.4));
    p.drawLine(QPointF(10.9, 6.5), QPointF(9.1, 13.5));
    textLines(p, 6, 15.5, 8, 1);
}

void paragraph(QPainter &p)
{
    sheet(p);
    textLines(p, 6, 6, 8, 4);
}

void anchor(QPainter &p)
{
    p.setPen(pen(Navy, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(10, 3.8), 1.8, 1.8);
    p.drawLine(QPointF(10, 5.6), QPointF(10, 17.5));
    p.drawLine(QPointF(6.5, 8), QPointF(13.5, 8));
    QPainterPath arms;
    arms.moveTo(3.5, 12);
    arms.quadTo(4.5, 17.5, 10, 17.5);
    arms.quadTo(15.5, 17.5, 16.5, 12);
    p.drawPath(arms);
    p.drawPolyline(QPolygonF({ QPointF(2.5, 13.5), QPointF(3.5, 12), QPointF(5.3, 12.8) }));
    p.drawPolyline(QPolygonF({ QPointF(17.5, 13.5), QPointF(16.5, 12), QPointF(14.7, 12.8) }));
}

void titleBar(QPainter &p)
{
    p.setPen(pen(Ink));
    p.setBrush(Paper);
    p.drawRoundedRect(QRectF(1.5, 3.5, 17, 13), 1.5, 1.5);
    p.setBrush(Blue);
    p.drawRoundedRect(QRectF(1.5, 3.5, 17, 4), 1.5, 1.5);
    p.setPen(pen(Qt::white, 1.2));
    p.drawLine(QPointF(3.5, 5.5), QPointF(10, 5.5));
    p.setPen(Qt::NoPen);
    p.setBrush(Orange);
    p.drawEllipse(QPointF(16, 5.5), 1, 1);
    textLines(p, 4, 10.5, 12, 2);
}

void image(QPainter &p)
{
    p.setPen(pen(Ink));
    p.setBrush(Sky);
    p.drawRoundedRect(QRectF(1.5, 3.5, 17, 13), 1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(Gold);
    p.drawEllipse(QPointF(14, 7.3), 1.8, 1.8);
    p.setBrush(Green);
    p.drawPolygon(QPolygonF({ QPointF(2, 16), QPointF(7.5, 8.5), QPointF(11.5, 13.5),
        QPointF(13.5, 11.5), QPointF(18, 16) }));
    p.setPen(pen(Ink));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1.5, 3.5, 17, 13), 1, 1);
}

void heading(QPainter &p)
{
    p.setPen(pen(Navy, 2.6));
    p.drawLine(QPointF(4.5, 3.5), QPointF(4.5, 16.5));
    p.drawLine(QPointF(13, 3.5), QPointF(13, 16.5));
    p.drawLine(QPointF(4.5, 10), QPointF(13, 10));
    p.setPen(pen(Orange, 1.6));
    p.drawLine(QPointF(15.8, 13), QPointF(17.5, 11.8));
    p.drawLine(QPointF(17.5, 11.8), QPointF(17.5, 16.8));
}

void background(QPainter &p)
{
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            p.setPen(Qt::NoPen);
            p.setBrush((x + y) % 2 ? Sky : QColor(0xd9, 0xea, 0xf8));
            p.drawRect(QRectF(2 + x * 4, 2 + y * 4, 4, 4));
        }
    p.setPen(pen(Ink));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2, 2, 16, 16));
    // A paint roller across the tiles.
    p.setPen(pen(Navy, 1.2));
    p.setBrush(Orange);
    p.drawRoundedRect(QRectF(8, 9, 9, 3.5), 1, 1);
    p.drawPolyline(QPolygonF(
        { QPointF(12.5, 12.5), QPointF(12.5, 14.5), QPointF(9.5, 14.5), QPointF(9.5, 18) }));
}

void list(QPainter &p)
{
    for (int i = 0; i < 3; ++i) {
        const qreal y = 4.5 + i * 5.5;
        p.setPen(Qt::NoPen);
        p.setBrush(i == 1 ? Orange : Blue);
        p.drawEllipse(QPointF(4, y), 1.8, 1.8);
        p.setPen(pen(Ink, 1.4));
        p.drawLine(QPointF(8, y), QPointF(17.5, y));
    }
}

void divider(QPainter &p)
{
    textLines(p, 3, 3.5, 14, 2);
    // A raised rule: dark top edge, coloured body, light lower edge.
    p.setPen(Qt::NoPen);
    p.setBrush(Navy);
    p.drawRect(QRectF(1, 9, 18, 1.2));
    p.setBrush(Blue);
    p.drawRect(QRectF(1, 10.2, 18, 1.6));
    p.setBrush(Sky);
    p.drawRect(QRectF(1, 11.8, 18, 1));
    textLines(p, 3, 15, 14, 2);
}

void introduction(QPainter &p)
{
    p.setPen(pen(Navy, 1.2));
    p.setBrush(Orange);
    p.drawPolygon(QPolygonF({ QPointF(10, 2.5), QPointF(18, 9.5), QPointF(2, 9.5) }));
    p.setBrush(Paper);
    p.drawRect(QRectF(4, 9.5, 12, 8));
    p.setBrush(Blue);
    p.drawRect(QRectF(8.5, 12.5, 3, 5));
}

void lineIndex(QPainter &p)
{
    for (int i = 0; i < 3; ++i) {
        const qreal y = 4.5 + i * 5.5;
        p.setPen(pen(Blue, 1.4));
        p.drawLine(QPointF(2.5, y), QPointF(11, y));
        p.setPen(pen(Orange, 1.4));
        p.drawLine(QPointF(13.5, y), QPointF(17.5, y));
        p.drawPolyline(
            QPolygonF({ QPointF(15.8, y - 1.8), QPointF(17.5, y), QPointF(15.8, y + 1.8) }));
    }
}

void whatsNext(QPainter &p)
{
    p.setPen(pen(QColor(0x2a, 0x70, 0x36)));
    p.setBrush(Green);
    p.drawEllipse(QPointF(10, 10), 8, 8);
    p.setPen(pen(Qt::white, 2.4));
    p.drawLine(QPointF(10, 5.5), QPointF(10, 14.5));
    p.drawLine(QPointF(5.5, 10), QPointF(14.5, 10));
}

void noteIcon(QPainter &p)
{
    QPainterPath path;
    path.moveTo(2.5, 2.5);
    path.lineTo(17.5, 2.5);
    path.lineTo(17.5, 13);
    path.lineTo(12.5, 17.5);
    path.lineTo(2.5, 17.5);
    path.closeSubpath();
    p.setPen(pen(QColor(0xa6, 0x84, 0x10)));
    p.setBrush(QColor(0xfc, 0xe6, 0x7a));
    p.drawPath(path);
    p.setBrush(Gold);
    p.drawPolygon(QPolygonF({ QPointF(12.5, 17.5), QPointF(12.5, 13), QPointF(17.5, 13) }));
    p.setPen(pen(QColor(0x8a, 0x6d, 0x0a), 1.2));
    p.drawLine(QPointF(5, 6.5), QPointF(15, 6.5));
    p.drawLine(QPointF(5, 9.5), QPointF(15, 9.5));
    p.drawLine(QPointF(5, 12.5), QPointF(10, 12.5));
}

void tip(QPainter &p)
{
    p.setPen(pen(QColor(0xa6, 0x84, 0x10), 1.2));
    p.setBrush(Gold);
    QPainterPath bulb;
    bulb.addEllipse(QPointF(10, 8), 5.5, 5.5);
    p.drawPath(bulb);
    p.setBrush(QColor(0xb0, 0xb6, 0xc0));
    p.setPen(pen(Ink));
    p.drawRoundedRect(QRectF(7.5, 13.5, 5, 4), 1, 1);
    p.drawLine(QPointF(7.5, 15.5), QPointF(12.5, 15.5));
    p.setPen(pen(Qt::white, 1.3));
    p.drawArc(QRectF(6.5, 4.5, 5, 5), 100 * 16, 80 * 16);
}

void sound(QPainter &p)
{
    p.setPen(pen(Navy, 1.2));
    p.setBrush(Blue);
    p.drawPolygon(QPolygonF({ QPointF(2.5, 7.5), QPointF(6, 7.5), QPointF(10.5, 3.5),
        QPointF(10.5, 16.5), QPointF(6, 12.5), QPointF(2.5, 12.5) }));
    p.setPen(pen(Orange, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(9, 6.5, 6, 7), -50 * 16, 100 * 16);
    p.drawArc(QRectF(9, 3.5, 9.5, 13), -50 * 16, 100 * 16);
}

void email(QPainter &p)
{
    p.setPen(pen(Navy, 1.2));
    p.setBrush(Paper);
    p.drawRect(QRectF(1.5, 4.5, 17, 11));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({ QPointF(1.5, 4.5), QPointF(10, 11), QPointF(18.5, 4.5) }));
    p.setPen(pen(Orange, 1.2));
    p.drawLine(QPointF(1.5, 15.5), QPointF(7.5, 10));
    p.drawLine(QPointF(18.5, 15.5), QPointF(12.5, 10));
}

void web(QPainter &p)
{
    p.setPen(pen(Navy, 1.2));
    p.setBrush(Sky);
    p.drawEllipse(QPointF(10, 10), 8, 8);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(10, 10), 3.6, 8);
    p.drawLine(QPointF(2, 10), QPointF(18, 10));
    p.drawLine(QPointF(10, 2), QPointF(10, 18));
    p.drawArc(QRectF(3.5, -2, 13, 9), 200 * 16, 140 * 16);
    p.drawArc(QRectF(3.5, 13, 13, 9), 20 * 16, 140 * 16);
}

// ---- picture buttons

void folder(QPainter &p)
{
    p.setPen(pen(QColor(0x9a, 0x6a, 0x12), 1.2));
    p.setBrush(QColor(0xf2, 0xb8, 0x4b));
    p.drawPolygon(QPolygonF({ QPointF(1.5, 4.5), QPointF(7, 4.5), QPointF(8.5, 6.5),
        QPointF(17.5, 6.5), QPointF(17.5, 16.5), QPointF(1.5, 16.5) }));
    p.setBrush(Gold);
    p.drawPolygon(
        QPolygonF({ QPointF(1.5, 16.5), QPointF(4, 9), QPointF(19, 9), QPointF(17.5, 16.5) }));
}

void colour(QPainter &p)
{
    QPainterPath palette;
    palette.addEllipse(QRectF(1.5, 2.5, 17, 15));
    QPainterPath hole;
    hole.addEllipse(QPointF(12.5, 13), 1.8, 1.8);
    p.setPen(pen(QColor(0x8a, 0x6a, 0x40), 1.2));
    p.setBrush(QColor(0xf1, 0xdc, 0xb5));
    p.drawPath(palette.subtracted(hole));
    const QColor dots[] = { Red, Gold, Green, Blue };
    const QPointF at[]
        = { QPointF(6, 7), QPointF(10, 5.5), QPointF(14.2, 7.2), QPointF(5.5, 11.8) };
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(dots[i]);
        p.drawEllipse(at[i], 1.7, 1.7);
    }
}

void options(QPainter &p)
{
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(15);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Navy);
    p.drawText(QRectF(0, 0, 13, 18), Qt::AlignCenter, QStringLiteral("A"));
    f.setPixelSize(10);
    f.setItalic(true);
    p.setFont(f);
    p.setPen(Orange);
    p.drawText(QRectF(10, 6, 10, 13), Qt::AlignCenter, QStringLiteral("a"));
    p.setPen(pen(Blue, 1.4));
    p.drawLine(QPointF(2, 18), QPointF(18, 18));
}

void zoom(QPainter &p)
{
    p.setPen(pen(Navy, 1.6));
    p.setBrush(QColor(0xe6, 0xf1, 0xfb));
    p.drawEllipse(QPointF(8, 8), 5.5, 5.5);
    p.setPen(pen(Navy, 3));
    p.drawLine(QPointF(12.3, 12.3), QPointF(17.5, 17.5));
    p.setPen(pen(Orange, 1.5));
    p.drawLine(QPointF(8, 5.5), QPointF(8, 10.5));
    p.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
}

void view(QPainter &p)
{
    p.setPen(pen(Navy, 1.2));
    p.setBrush(Paper);
    QPainterPath eye;
    eye.moveTo(1.5, 10);
    eye.quadTo(10, 1.5, 18.5, 10);
    eye.quadTo(10, 18.5, 1.5, 10);
    p.drawPath(eye);
    p.setBrush(Blue);
    p.drawEllipse(QPointF(10, 10), 3.6, 3.6);
    p.setPen(Qt::NoPen);
    p.setBrush(Navy);
    p.drawEllipse(QPointF(10, 10), 1.6, 1.6);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(11.2, 8.8), 0.8, 0.8);
}

void save(QPainter &p)
{
    p.setPen(pen(Navy, 1.2));
    p.setBrush(Blue);
    p.drawPolygon(QPolygonF({ QPointF(2.5, 2.5), QPointF(15, 2.5), QPointF(17.5, 5),
        QPointF(17.5, 17.5), QPointF(2.5, 17.5) }));
    p.setBrush(Paper);
    p.drawRect(QRectF(5, 10.5, 10, 7));
    p.setBrush(QColor(0xd8, 0xdc, 0xe4));
    p.drawRect(QRectF(6, 2.5, 7.5, 5));
    p.setPen(Qt::NoPen);
    p.setBrush(Navy);
    p.drawRect(QRectF(10.5, 3.5, 2, 3));
}

void saveAs(QPainter &p)
{
    save(p);
    p.setPen(pen(QColor(0x8a, 0x4d, 0x10), 1));
    p.setBrush(Orange);
    p.drawPolygon(QPolygonF(
        { QPointF(9, 16), QPointF(17, 8), QPointF(19, 10), QPointF(11, 18), QPointF(8.5, 18.5) }));
}

void load(QPainter &p)
{
    folder(p);
    p.setPen(pen(Green, 2));
    p.drawLine(QPointF(12, 13.5), QPointF(12, 2.5));
    p.drawPolyline(QPolygonF({ QPointF(9, 5.5), QPointF(12, 2.5), QPointF(15, 5.5) }));
}

void create(QPainter &p)
{
    sheet(p, QRectF(2.5, 1.5, 12, 17));
    textLines(p, 5, 6, 6, 3);
    p.setPen(pen(QColor(0xa6, 0x84, 0x10), 0.8));
    p.setBrush(Gold);
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal r = i % 2 ? 2.2 : 5;
        const qreal a = -M_PI / 2 + i * M_PI / 5;
        star << QPointF(14.5 + r * std::cos(a), 14 + r * std::sin(a));
    }
    p.drawPolygon(star);
}

void manager(QPainter &p)
{
    p.setPen(pen(Ink));
    p.setBrush(Paper);
    p.drawRect(QRectF(2.5, 1.5, 15, 17));
    const QColor tiles[] = { Orange, Blue, Green, Blue };
    for (int i = 0; i < 4; ++i) {
        const qreal y = 3.5 + i * 3.8;
        p.setPen(Qt::NoPen);
        p.setBrush(tiles[i]);
        p.drawRect(QRectF(4.5, y, 2.6, 2.6));
        p.setPen(pen(Ink, 1.1));
        p.drawLine(QPointF(9, y + 1.3), QPointF(15.5, y + 1.3));
    }
}

void upload(QPainter &p)
{
    p.setPen(pen(Navy, 1.2));
    p.setBrush(QColor(0xe6, 0xf1, 0xfb));
    QPainterPath cloud;
    cloud.addEllipse(QRectF(2, 7, 8, 7));
    cloud.addEllipse(QRectF(6, 3.5, 9, 9));
    cloud.addEllipse(QRectF(11, 7, 7, 7));
    cloud.addRect(QRectF(5, 10, 10, 4));
    p.drawPath(cloud.simplified());
    p.setPen(pen(Green, 2));
    p.drawLine(QPointF(10, 18), QPointF(10, 9));
    p.drawPolyline(QPolygonF({ QPointF(7, 12), QPointF(10, 9), QPointF(13, 12) }));
}

void appIcon(QPainter &p)
{
    QLinearGradient g(0, 0, 0, 20);
    g.setColorAt(0, Blue);
    g.setColorAt(1, Navy);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, 19, 19), 4, 4);
    sheet(p, QRectF(4.5, 3, 11, 14));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Orange);
    p.drawText(QRectF(4.5, 4.5, 11, 12), Qt::AlignCenter, QStringLiteral("S"));
}

bool render(const Drawing &draw, int size, const QString &path)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 20.0, size / 20.0);
    draw(p);
    p.end();
    if (!img.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString out
        = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources/icons");
    QDir().mkpath(out + QStringLiteral("/strip"));
    QDir().mkpath(out + QStringLiteral("/buttons"));

    const Drawing strip[] = { html, paragraph, anchor, titleBar, image, heading, background, list,
        divider, introduction, lineIndex, whatsNext, noteIcon, tip, sound, email, web };
    bool ok = true;
    int n = 0;
    for (const Drawing &d : strip)
        ok &= render(
            d, 20, out + QStringLiteral("/strip/%1.png").arg(n++, 2, 10, QLatin1Char('0')));

    struct Button {
        const char *name;
        Drawing draw;
        int size;
    };
    const Button buttons[] = { { "view", view, 32 }, { "save", save, 32 }, { "saveas", saveAs, 32 },
        { "load", load, 32 }, { "create", create, 32 }, { "manager", manager, 32 },
        { "upload", upload, 32 }, { "folder", folder, 20 }, { "colour", colour, 20 },
        { "options", options, 20 }, { "zoom", zoom, 20 } };
    for (const Button &b : buttons)
        ok &= render(
            b.draw, b.size, out + QStringLiteral("/buttons/%1.png").arg(QLatin1String(b.name)));
    ok &= render(appIcon, 64, out + QStringLiteral("/sitorva.png"));
    return ok ? 0 : 1;
}
