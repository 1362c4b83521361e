#include "speechbubble.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace chemodesk::assistant {

namespace {

constexpr int Padding = 10;
constexpr int Tail = 14;
constexpr int MaxTextWidth = 230;

} // namespace

SpeechBubble::SpeechBubble(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("assistantBubble"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont f = font();
    f.setPointSizeF(f.pointSizeF() + 1);
    setFont(f);
    hide();
}

void SpeechBubble::setColours(const QColor &fill, const QColor &text)
{
    fill_ = fill;
    ink_ = text;
    update();
}

void SpeechBubble::say(const QString &text, const QRect &speaker)
{
    text_ = text;
    const QFontMetrics metrics(font());
    const QRect textRect = metrics.boundingRect(QRect(0, 0, MaxTextWidth, 1000),
                                                Qt::TextWordWrap | Qt::AlignLeft, text);
    // A few pixels to spare, so the painter wraps exactly as measured.
    const QSize box(textRect.width() + 2 * Padding + 6, textRect.height() + 2 * Padding);
    const QRect area = parentWidget() ? parentWidget()->rect() : QRect(QPoint(0, 0), box);

    // Above the speaker when there is room, else below it.
    tailBelow_ = speaker.top() - box.height() - Tail >= area.top();
    const int top =
        tailBelow_ ? speaker.top() - box.height() - Tail + 8 : speaker.bottom() + Tail - 8;
    const int left = std::clamp(speaker.center().x() - box.width() / 2 - 20, area.left(),
                                std::max(area.left(), area.right() - box.width()));
    setGeometry(left, top, box.width(), box.height() + Tail);
    const int tipX =
        std::clamp(speaker.center().x() - left, Padding + 6, box.width() - Padding - 6);
    tailTip_ = tailBelow_ ? QPoint(tipX, box.height() + Tail - 1) : QPoint(tipX, 0);
    show();
    raise();
    update();
}

void SpeechBubble::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int boxTop = tailBelow_ ? 0 : Tail;
    const QRectF box(0.5, boxTop + 0.5, width() - 1.0, height() - Tail - 1.0);
    QPainterPath path;
    path.addRoundedRect(box, 9, 9);
    QPainterPath tail;
    const double baseY = tailBelow_ ? box.bottom() - 1 : box.top() + 1;
    tail.moveTo(tailTip_.x() - 7, baseY);
    tail.lineTo(tailTip_);
    tail.lineTo(tailTip_.x() + 5, baseY);
    tail.closeSubpath();
    path = path.united(tail);
    p.setPen(QPen(ink_, 1.0));
    p.setBrush(fill_);
    p.drawPath(path);
    p.setPen(ink_);
    p.drawText(box.adjusted(Padding, Padding, -Padding, -Padding), Qt::TextWordWrap | Qt::AlignLeft,
               text_);
}

} // namespace chemodesk::assistant
