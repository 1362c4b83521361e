#pragma once

// The frame's work area: the windows the main window opens inside it, over
// the department's picture when one lies beside the program.

#include <QMdiArea>
#include <QPixmap>

namespace chemodesk::shell {

class BackgroundArea : public QMdiArea {
    Q_OBJECT
public:
    explicit BackgroundArea(QWidget *parent = nullptr);

    // False (and the plain background kept) when the file is no picture.
    bool setPicture(const QString &path);
    bool hasPicture() const { return !picture_.isNull(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QPixmap picture_;
    // The picture scaled to cover the area, made once per size.
    QPixmap scaled_;
};

} // namespace chemodesk::shell
