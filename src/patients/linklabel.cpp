#include "linklabel.h"

namespace chemodesk::patients {

LinkLabel::LinkLabel(const QString &text, QWidget *parent) : QPushButton(text, parent)
{
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
    setAutoDefault(false);
    // Underlined while the mouse is over it or it holds the focus.
    setStyleSheet(QStringLiteral(
        "QPushButton { border: none; color: palette(link); text-align: left; padding: 1px 2px; }"
        "QPushButton:hover, QPushButton:focus { text-decoration: underline; }"
        "QPushButton:disabled { color: palette(mid); }"));
}

} // namespace chemodesk::patients
