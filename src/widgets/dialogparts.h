#pragma once

// The pieces every small dialog of the program is made of: named buttons that
// never take Enter from the boxes, a button row, labelled rows with their
// accelerator on the box.

#include <QString>

#include <initializer_list>

class QBoxLayout;
class QFormLayout;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace chemodesk::widgets {

// A button with its objectName; Enter stays with the boxes, never a default
// button (pass `isDefault` for one-button dialogs where Enter means OK).
QPushButton *namedButton(QWidget *parent, const char *name, const QString &caption,
                         bool isDefault = false);

enum class RowAlign { Right, Center };
// The buttons in a row, pushed to the right (or centred).
QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons,
                       RowAlign align = RowAlign::Right);

// A box the program fills and the user only reads: it never takes the focus.
QLineEdit *readOnlyBox(const char *name, QWidget *parent);

// A caption whose accelerator moves to `field`.
void addLabelledRow(QFormLayout *form, const QString &caption, QWidget *field);

} // namespace chemodesk::widgets
