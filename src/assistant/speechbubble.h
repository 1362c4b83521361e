#pragma once

// The balloon the assistant speaks in: a rounded box with a tail pointing at
// the character, sized to its text.

#include <QColor>
#include <QWidget>

namespace chemodesk::assistant {

class SpeechBubble : public QWidget {
    Q_OBJECT
public:
    explicit SpeechBubble(QWidget *parent);

    void setColours(const QColor &fill, const QColor &text);
    // Sizes the balloon to `text` and places it beside `speaker` (a rectangle
    // in the parent's coordinates), inside the parent.
    void say(const QString &text, const QRect &speaker);
    QString text() const { return text_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString text_;
    QColor fill_{0xff, 0xfb, 0xea};
    QColor ink_{0x22, 0x22, 0x22};
    // Where the tail points, in the balloon's coordinates.
    QPoint tailTip_;
    bool tailBelow_ = true;
};

} // namespace chemodesk::assistant
