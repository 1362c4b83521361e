#include "widgets/dialogparts.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace chemodesk::widgets {

QPushButton *namedButton(QWidget *parent, const char *name, const QString &caption, bool isDefault)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    button->setDefault(isDefault);
    return button;
}

QLineEdit *readOnlyBox(const char *name, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons, RowAlign align)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *button : buttons)
        row->addWidget(button);
    if (align == RowAlign::Center)
        row->addStretch();
    return row;
}

void addLabelledRow(QFormLayout *form, const QString &caption, QWidget *field)
{
    auto *label = new QLabel(caption, form->parentWidget());
    label->setBuddy(field);
    form->addRow(label, field);
}

} // namespace chemodesk::widgets
