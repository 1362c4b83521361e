#include "characterpainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace chemodesk::assistant {

namespace {

// The figure is drawn on a 100 x 130 sheet and scaled to the widget, with
// room either side for a raised arm and the wand.
constexpr double SheetWidth = 128.0;
constexpr double SheetHeight = 130.0;

struct Palette {
    QColor robe, robeShade, trim, skin, beard, hat, star, wand, outline;
};

Palette paletteOf(const CharacterDefinition &c)
{
    return {c.colour(QStringLiteral("robe"), QColor(0x2f, 0x3e, 0x8f)),
            c.colour(QStringLiteral("robeShade"), QColor(0x1f, 0x29, 0x63)),
            c.colour(QStringLiteral("trim"), QColor(0xd9, 0xb4, 0x4a)),
            c.colour(QStringLiteral("skin"), QColor(0xf2, 0xcf, 0xae)),
            c.colour(QStringLiteral("beard"), QColor(0xf4, 0xf4, 0xf4)),
            c.colour(QStringLiteral("hat"), QColor(0x27, 0x35, 0x7a)),
            c.colour(QStringLiteral("star"), QColor(0xff, 0xd8, 0x4a)),
            c.colour(QStringLiteral("wand"), QColor(0x6b, 0x4a, 0x2b)),
            c.colour(QStringLiteral("outline"), QColor(0x1b, 0x1b, 0x2a))};
}

QPainterPath star(QPointF centre, double outer, double inner)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double angle = -M_PI / 2 + i * M_PI / 5;
        const double r = i % 2 == 0 ? outer : inner;
        const QPointF p(centre.x() + r * std::cos(angle), centre.y() + r * std::sin(angle));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

void drawRobe(QPainter &p, const Palette &c)
{
    QPainterPath robe;
    robe.moveTo(36, 56);
    robe.lineTo(64, 56);
    robe.cubicTo(72, 80, 80, 104, 84, 121);
    robe.quadTo(50, 127, 16, 121);
    robe.cubicTo(20, 104, 28, 80, 36, 56);
    QLinearGradient shade(20, 0, 84, 0);
    shade.setColorAt(0, c.robe.lighter(115));
    shade.setColorAt(0.6, c.robe);
    shade.setColorAt(1, c.robeShade);
    p.setPen(QPen(c.outline, 1.2));
    p.setBrush(shade);
    p.drawPath(robe);

    // Hem and the front seam.
    p.setPen(QPen(c.trim, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath hem;
    hem.moveTo(17.5, 118.5);
    hem.quadTo(50, 124.5, 82.5, 118.5);
    p.drawPath(hem);
    p.setPen(QPen(c.trim, 1.4));
    p.drawLine(QPointF(50, 80), QPointF(50, 122));

    p.setPen(Qt::NoPen);
    p.setBrush(c.trim);
    p.drawPath(star(QPointF(34, 100), 3.2, 1.3));
    p.drawPath(star(QPointF(66, 92), 2.6, 1.1));
    p.drawPath(star(QPointF(60, 112), 2.2, 0.9));
    // A crescent: a disc with a robe-coloured disc over it.
    p.drawEllipse(QPointF(40, 84), 3.2, 3.2);
    p.setBrush(c.robe);
    p.drawEllipse(QPointF(41.4, 83.2), 2.8, 2.8);
}

void drawHead(QPainter &p, const Palette &c, const Pose &pose)
{
    p.setPen(QPen(c.outline, 1.0));
    p.setBrush(c.skin);
    p.drawEllipse(QPointF(50, 43), 12, 12.5);

    // Beard, flowing over the chest.
    QPainterPath beard;
    beard.moveTo(38, 44);
    beard.cubicTo(38, 60, 44, 74, 50, 84);
    beard.cubicTo(56, 74, 62, 60, 62, 44);
    beard.quadTo(56, 52, 50, 51);
    beard.quadTo(44, 52, 38, 44);
    p.setBrush(c.beard);
    p.setPen(QPen(c.beard.darker(125), 0.8));
    p.drawPath(beard);
    p.setPen(QPen(c.beard.darker(115), 0.6));
    p.drawLine(QPointF(46, 60), QPointF(48, 74));
    p.drawLine(QPointF(54, 60), QPointF(52, 74));

    // Eyes: where they look, or shut.
    const double look = pose.eyes == QLatin1String("left")    ? -1.3
                        : pose.eyes == QLatin1String("right") ? 1.3
                                                              : 0;
    for (const double x : {45.0, 55.0}) {
        if (pose.eyes == QLatin1String("closed")) {
            p.setPen(QPen(c.outline, 1.1, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(x - 2, 42), QPointF(x + 2, 42));
            continue;
        }
        const bool wide = pose.eyes == QLatin1String("wide");
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(x, 41.5), wide ? 2.9 : 2.3, wide ? 3.2 : 2.4);
        p.setBrush(c.outline);
        p.drawEllipse(QPointF(x + look, 41.8), 1.2, 1.4);
    }
    // Bushy brows, raised with wide eyes.
    const double brow = pose.eyes == QLatin1String("wide") ? 36.5 : 37.8;
    p.setPen(QPen(c.beard, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(42, brow + 0.6), QPointF(47.5, brow));
    p.drawLine(QPointF(52.5, brow), QPointF(58, brow + 0.6));

    p.setPen(Qt::NoPen);
    p.setBrush(c.skin.darker(112));
    p.drawEllipse(QPointF(50, 46), 2.2, 2.6);

    // Moustache over the mouth.
    p.setBrush(c.beard);
    p.setPen(QPen(c.beard.darker(125), 0.6));
    p.drawEllipse(QPointF(46.5, 49.5), 4, 1.9);
    p.drawEllipse(QPointF(53.5, 49.5), 4, 1.9);

    p.setPen(QPen(c.outline, 1.0, Qt::SolidLine, Qt::RoundCap));
    if (pose.mouth == QLatin1String("open")) {
        p.setBrush(QColor(0x6a, 0x22, 0x22));
        p.drawEllipse(QPointF(50, 53.5), 2.4, 2.0);
    } else if (pose.mouth == QLatin1String("smile")) {
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(46.5, 50, 7, 4.5), 200 * 16, 140 * 16);
    } else {
        p.drawLine(QPointF(48.2, 53), QPointF(51.8, 53));
    }
}

void drawHat(QPainter &p, const Palette &c)
{
    QPainterPath cone;
    cone.moveTo(35, 34);
    cone.cubicTo(40, 22, 48, 10, 60, 2);
    cone.cubicTo(58, 12, 62, 24, 65, 34);
    cone.closeSubpath();
    p.setPen(QPen(c.outline, 1.1));
    p.setBrush(c.hat);
    p.drawPath(cone);
    p.setPen(Qt::NoPen);
    p.setBrush(c.trim);
    p.drawRect(QRectF(36.5, 29.5, 27, 3.6));
    p.setPen(QPen(c.outline, 1.0));
    p.setBrush(c.hat.lighter(110));
    p.drawEllipse(QPointF(50, 34.5), 21, 4.2);
    p.setPen(Qt::NoPen);
    p.setBrush(c.star);
    p.drawPath(star(QPointF(52, 19), 3.6, 1.5));
    p.drawEllipse(QPointF(45, 26), 1.1, 1.1);
    p.drawEllipse(QPointF(57, 9), 0.9, 0.9);
}

// One arm from its shoulder; `angle` is degrees away from hanging down,
// `side` -1 for the figure's right (viewer's left), +1 for the other.
QPointF drawArm(QPainter &p, const Palette &c, QPointF shoulder, int angle, int side)
{
    p.save();
    p.translate(shoulder);
    p.rotate(side < 0 ? angle : -angle);
    QPainterPath sleeve;
    sleeve.moveTo(-5, 0);
    sleeve.lineTo(5, 0);
    sleeve.lineTo(7.5, 24);
    sleeve.quadTo(0, 27, -7.5, 24);
    sleeve.closeSubpath();
    p.setPen(QPen(c.outline, 1.0));
    p.setBrush(c.robe);
    p.drawPath(sleeve);
    p.setPen(QPen(c.trim, 1.6));
    p.drawLine(QPointF(-7, 23.5), QPointF(7, 23.5));
    p.setPen(QPen(c.outline, 0.8));
    p.setBrush(c.skin);
    p.drawEllipse(QPointF(0, 28.5), 3.6, 3.6);
    const QPointF hand = p.transform().map(QPointF(0, 28.5));
    p.restore();
    return hand;
}

void drawWand(QPainter &p, const Palette &c, QPointF hand, QPointF shoulder, int glow)
{
    const QPointF along = hand - shoulder;
    const double length = std::hypot(along.x(), along.y());
    const QPointF unit = length > 0 ? along / length : QPointF(0, 1);
    const QPointF tip = hand + unit * 16;
    p.setPen(QPen(c.wand, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(hand - unit * 3, tip);
    if (glow > 0) {
        QRadialGradient halo(tip, 6 + glow * 4);
        QColor inner = c.star;
        inner.setAlpha(170);
        QColor outer = c.star;
        outer.setAlpha(0);
        halo.setColorAt(0, inner);
        halo.setColorAt(1, outer);
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(tip, 6 + glow * 4, 6 + glow * 4);
    }
    p.setPen(QPen(c.star.darker(130), 0.6));
    p.setBrush(c.star);
    p.drawPath(star(tip, 3.5 + glow, 1.5 + glow * 0.4));
}

} // namespace

void paintCharacter(QPainter &painter, const CharacterDefinition &character, const Pose &pose,
                    const QRectF &bounds)
{
    const Palette c = paletteOf(character);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double scale = std::min(bounds.width() / SheetWidth, bounds.height() / SheetHeight);
    painter.translate(bounds.center().x() - 50 * scale, bounds.bottom() - SheetHeight * scale);
    painter.scale(scale, scale);

    // The shadow stays on the ground while the figure bobs.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawEllipse(QPointF(50, 124), 30 - pose.bob, 4);

    painter.translate(0, -pose.bob);
    painter.translate(50, 122);
    painter.rotate(pose.lean);
    painter.translate(-50, -122);

    drawRobe(painter, c);
    drawHead(painter, c, pose);
    drawHat(painter, c);
    const QPointF leftShoulder(37, 60);
    const QPointF rightShoulder(63, 60);
    drawArm(painter, c, leftShoulder, pose.leftArm, -1);
    const QPointF hand = drawArm(painter, c, rightShoulder, pose.rightArm, 1);
    // The hand comes back in device coordinates; the wand is drawn in the sheet's.
    drawWand(painter, c, painter.transform().inverted().map(hand), rightShoulder, pose.glow);
    painter.restore();
}

} // namespace chemodesk::assistant
