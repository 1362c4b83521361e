// The charge screen's packages: a package code typed in the department
// column, and the package list of the "Cancer Package" button. Either way
// the package's items become lines of the grid marked with the package's
// code, and the save writes them as the package's (chargesave.cpp).

#include "chargelines.h"
#include "frmcharge.h"

#include "packages/clsbuildpack.h"
#include "packages/packagedialogs.h"
#include "platform/connection.h"
#include "session/module1.h"
#include "widgets/messages.h"

#include <QLineEdit>

namespace chemodesk::charging {

namespace {

// The charge grid as the package code sees it: each item a line in the
// grid's own columns, from `first` on (a line of its own after that).
class ChargeGridTarget : public packages::PackageTarget {
public:
    ChargeGridTarget(frmCharge &screen, int first) : screen_(screen), next_(first) {}

    void appendPackageItem(const packages::PackageInfo &package,
                           const packages::PackageItem &item) override
    {
        widgets::EntryGrid *g = screen_.mshflexEntry;
        int line = next_;
        next_ = 0;
        if (line <= 0 || line > g->lineCount()) {
            line = g->lineCount();
            if (!g->text(line, colDept).trimmed().isEmpty()) {
                g->insertRow(g->rowCount());
                line = g->rowCount();
                g->setText(line, colLine, QString::number(line));
            }
        }
        bool ok = false;
        const double amount = item.amount.toDouble();
        const double quantity = item.quantity.toDouble(&ok);
        g->clearCells(line, colDept, chargeColumnCount - 1);
        g->setText(line, colDept, item.revenue);
        g->setText(line, colItem, item.item);
        g->setText(line, colDescription, item.description);
        g->setText(line, colQuantity, item.quantity);
        g->setText(line, colUnitPrice,
                   formatPrice(ok && quantity > 0 ? amount / quantity : amount));
        g->setText(line, colAmount, formatAmount(amount));
        g->setText(line, colLocation, item.location);
        g->setText(line, colPackageCode, package.code);
    }

    void packageApplied(const packages::PackageInfo &package) override
    {
        screen_.setPackageName(package.name);
        screen_.recomputeTotal();
    }

private:
    frmCharge &screen_;
    int next_;
};

} // namespace

QString frmCharge::packageOf(int line) const
{
    return mshflexEntry->text(line, colPackageCode).trimmed();
}

void frmCharge::takePackage(int line, const QString &code)
{
    ChargeGridTarget target(*this, line);
    packages::clsBuildPack(connection_, patient_.employeeCode).LoadPackage(code, target);
    widgets::msgInformation(QStringLiteral("You have selected ") + packageName_,
                            QStringLiteral("Notification"));
    txtEntry->hide();
}

void frmCharge::openPackageList()
{
    try {
        ChargeGridTarget target(*this, 0);
        if (session::IsNumeric(patient_.idNum)) {
            packages::frmListPackage dialog(connection_, this);
            dialog.setSourceGrid(&target);
            widgets::execModal(dialog);
        } else {
            packages::frmOPDPackage dialog(connection_, this);
            dialog.setChargesType(QStringLiteral("Post Charges"));
            dialog.setSourceGrid(&target);
            widgets::execModal(dialog);
        }
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
    }
    recomputeTotal();
}

} // namespace chemodesk::charging
