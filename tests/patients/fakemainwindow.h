#pragma once

// The part of the main window the patient list talks to: the panel boxes,
// the frame that shows them, the action buttons and the ledger menu item.

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

namespace chemodesk::test {

class FakeMainWindow : public QWidget {
public:
    FakeMainWindow()
    {
        auto *layout = new QVBoxLayout(this);
        fraPat = new QWidget(this);
        fraPat->setObjectName(QStringLiteral("fraPat"));
        fraPat->hide();
        auto *panel = new QVBoxLayout(fraPat);
        for (const char *name :
             {"txtHospNum", "txtIDNum", "txtPatName", "txtPatInOut", "txtBillingDate"}) {
            auto *box = new QLineEdit(fraPat);
            box->setObjectName(QLatin1String(name));
            panel->addWidget(box);
        }
        layout->addWidget(fraPat);
        for (const char *name : {"cmdPatientList", "cmdRegister", "cmdPharmacy", "cmdCSRRequest",
                                 "cmdResultEntry", "cmdCash", "cmdPostCharge"}) {
            auto *button = new QPushButton(QLatin1String(name), this);
            button->setObjectName(QLatin1String(name));
            layout->addWidget(button);
        }
        button("cmdPostCharge")->setText(QStringLiteral("Post &Charge"));
        mnuMLedger = new QAction(QStringLiteral("Patient's Ledger"), this);
        mnuMLedger->setObjectName(QStringLiteral("mnuMLedger"));
        mnuMLedger->setEnabled(false);
        addAction(mnuMLedger);
    }

    QString text(const char *name) const
    {
        return findChild<QLineEdit *>(QLatin1String(name))->text();
    }
    QPushButton *button(const char *name) const
    {
        return findChild<QPushButton *>(QLatin1String(name));
    }

    QWidget *fraPat = nullptr;
    QAction *mnuMLedger = nullptr;
};

} // namespace chemodesk::test
