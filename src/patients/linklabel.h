#pragma once

// The list's action labels: they read like links but take the focus, Enter
// and Space like any button, so the list can be worked from the keyboard.

#include <QPushButton>

namespace chemodesk::patients {

class LinkLabel : public QPushButton {
    Q_OBJECT
public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);
};

} // namespace chemodesk::patients
