#include "clsbuildpack.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "widgets/messages.h"

#include <cmath>

namespace chemodesk::packages {

namespace {

QString where(const QString &code)
{
    return QStringLiteral(" where packagecode = '") + sql::escape(code.trimmed()) +
           QLatin1Char('\'');
}

QString number(const Field &field)
{
    return QString::number(field.toDouble(), 'g', 15);
}

QString money(const Field &field)
{
    return QString::number(field.toDouble(), 'f', 2);
}

bool isNumber(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value);
}

PackageItem itemOf(const Recordset &rs)
{
    const QString revenue = rs.Fields(QStringLiteral("Revenueid")).trimmed();
    return {revenue,
            rs.Fields(QStringLiteral("Itemid")).trimmed(),
            rs.Fields(QStringLiteral("ItemDescription")).trimmed(),
            number(rs.Fields(QStringLiteral("Quantity"))),
            money(rs.Fields(QStringLiteral("Amount"))),
            packageItemLocation(revenue)};
}

} // namespace

QString packageItemLocation(const QString &revenue)
{
    const QString code = revenue.trimmed().toUpper();
    if (code == QLatin1String("KM"))
        return QStringLiteral("199");
    if (code == QLatin1String("KU"))
        return QStringLiteral("200");
    return {};
}

clsBuildPack::clsBuildPack(Connection &connection, QString employeeCode)
    : connection_(connection), employeeCode_(std::move(employeeCode))
{
}

QString clsBuildPack::spBuildPackage(const QString &RefNum, const QString &ItemID,
                                     const QString &RevenueID, const QString &Quantity,
                                     const QString &Amount, const QString &,
                                     const QString &Description, const QString &PackageType,
                                     const QString &PackageName, const QString &PackageAmount) const
{
    return sql::call(QStringLiteral("Hemodialysis"), QStringLiteral("spKidney_BuildPackage"),
                     {RefNum, ItemID, RevenueID, Quantity, Amount, employeeCode_, Description,
                      PackageType, PackageName, PackageAmount});
}

bool clsBuildPack::CheckPackCode(const QString &strCode, bool)
{
    const Recordset rs = connection_.Open(
        QStringLiteral("select packagecode from hemodialysis..tbhemopackage") + where(strCode));
    return !rs.atEnd();
}

bool clsBuildPack::loadItems(const QString &text, PackageTarget &grid)
{
    Recordset rs = connection_.Open(text);
    if (rs.atEnd())
        return false;
    PackageInfo info;
    for (; !rs.atEnd(); rs.MoveNext()) {
        info.code = rs.Fields(QStringLiteral("PackageCode")).trimmed();
        info.name = rs.Fields(QStringLiteral("PackageName")).trimmed();
        info.amount = money(rs.Fields(QStringLiteral("PackageAmount")));
        if (rs.HasField(QStringLiteral("PackageType")))
            info.type = rs.Fields(QStringLiteral("PackageType")).trimmed();
        grid.appendPackageItem(info, itemOf(rs));
    }
    grid.packageApplied(info);
    return true;
}

void clsBuildPack::LoadPackage(const QString &strCode, PackageTarget &grid)
{
    loadItems(QStringLiteral("select Revenueid, Itemid, ItemDescription, Quantity, Amount, "
                             "PackageName, PackageCode, PackageAmount from "
                             "hemodialysis..tbhemopackage") +
                  where(strCode),
              grid);
}

void clsBuildPack::LoadBuildPackage(const QString &strCode, BuildGrid &grid)
{
    Recordset rs = connection_.Open(
        QStringLiteral("select PackageType, Revenueid, Itemid, ItemDescription, Quantity, Amount, "
                       "PackageName, packageamount from hemodialysis..tbhemopackage") +
        where(strCode));
    if (rs.atEnd())
        return;
    grid.setBuildHeader(rs.Fields(QStringLiteral("PackageType")).trimmed(),
                        rs.Fields(QStringLiteral("PackageName")).trimmed(),
                        money(rs.Fields(QStringLiteral("packageamount"))));
    for (; !rs.atEnd(); rs.MoveNext()) {
        const PackageItem item = itemOf(rs);
        grid.appendBuildRow(
            {item.revenue, item.item, item.description, item.quantity, item.amount});
    }
}

bool clsBuildPack::save(const QString &refNum, BuildGrid &grid, SaveKind kind)
{
    std::vector<BuildRow> rows;
    for (const BuildRow &row : grid.buildRows())
        if (!row.department.trimmed().isEmpty())
            rows.push_back(row);
    for (const BuildRow &row : rows) {
        if (!isNumber(row.quantity)) {
            widgets::msgExclamation(QStringLiteral("Please enter the quantity for the exam ") +
                                        row.particular.trimmed() + QLatin1Char('.'),
                                    QStringLiteral("Assessment"));
            return false;
        }
    }
    const PackageHeader &header = header_;
    // A package is stored whole: a failing row leaves none of the others.
    Transaction transaction(connection_);
    for (const BuildRow &row : rows) {
        const QString text =
            kind == SaveKind::Update
                ? spUpdatePackage(refNum.trimmed(), row.code.trimmed(), row.department.trimmed(),
                                  row.quantity.trimmed(), row.amount.trimmed(), employeeCode_,
                                  row.particular.trimmed(), refNum.trimmed(), header.PackageType,
                                  header.PackageName, header.PackageAmount)
                : spBuildPackage(refNum.trimmed(), row.code.trimmed(), row.department.trimmed(),
                                 row.quantity.trimmed(), row.amount.trimmed(), employeeCode_,
                                 row.particular.trimmed(), header.PackageType, header.PackageName,
                                 header.PackageAmount);
        connection_.Execute(text);
    }
    transaction.commit();
    grid.clearBuildRows();
    const QString message = kind == SaveKind::Build ? QStringLiteral("Package Successfully Saved")
                            : kind == SaveKind::Add
                                ? QStringLiteral("Package Successfully Added")
                                : QStringLiteral("Package Successfully Updated");
    widgets::msgInformation(message, QStringLiteral("Input Check"));
    return true;
}

bool clsBuildPack::SaveBuildPackage(const QString &StrRefnum, BuildGrid &grid)
{
    return save(StrRefnum, grid, SaveKind::Build);
}

bool clsBuildPack::SaveADDPackage(const QString &StrRefnum, BuildGrid &grid)
{
    return save(StrRefnum, grid, SaveKind::Add);
}

QString clsBuildPack::spUpdatePackage(const QString &RefNum, const QString &ItemID,
                                      const QString &RevenueID, const QString &Quantity,
                                      const QString &Amount, const QString &,
                                      const QString &Description, const QString &OldCode,
                                      const QString &PackageType, const QString &PackageName,
                                      const QString &PackageAmount) const
{
    return sql::call(QStringLiteral("Hemodialysis"), QStringLiteral("spKidney_UpdatePackage"),
                     {RefNum, ItemID, RevenueID, Quantity, Amount, employeeCode_, Description,
                      OldCode, PackageType, PackageName, PackageAmount});
}

bool clsBuildPack::SaveUpdatePackage(const QString &StrRefnum, BuildGrid &grid)
{
    return save(StrRefnum, grid, SaveKind::Update);
}

void clsBuildPack::LoadAssessPackage(const QString &strCode, PackageTarget &grid)
{
    const Recordset count = connection_.Open(
        QStringLiteral("select count(*) as CountLoad from hemodialysis..tbhemopackage") +
        where(strCode));
    checkCode_ = !count.atEnd() && count.Fields(QStringLiteral("Countload")).toLongLong() > 0;
    if (!checkCode_)
        return;
    if (grid.holdsPackage()) {
        widgets::msgInformation(
            QStringLiteral("You have already entered a package for this patient..."),
            QStringLiteral("CANCER"));
        return;
    }
    loadItems(QStringLiteral("select PackageType, PackageName, PackageCode, PackageAmount, "
                             "Revenueid, Itemid, ItemDescription, Quantity, Amount from "
                             "hemodialysis..tbhemopackage") +
                  where(strCode),
              grid);
}

bool clsBuildPack::ValidateCode(const QString &strCode)
{
    const Recordset rs = connection_.Open(
        QStringLiteral("select * from Hemodialysis..tbHemoPackage") + where(strCode));
    return !rs.atEnd();
}

bool clsBuildPack::GetLocationID(const QString &strRevenue)
{
    const Recordset rs = connection_.Open(
        QStringLiteral("Select * from build_file..tbcorevenuecode where revenueid = '") +
        sql::escape(strRevenue.trimmed()) + QLatin1Char('\''));
    locationId_ = rs.atEnd() ? QString() : rs.Fields(QStringLiteral("LocationID")).trimmed();
    return !rs.atEnd();
}

} // namespace chemodesk::packages
