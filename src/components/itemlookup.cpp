#include "itemlookup.h"

#include "widgets/picklist.h"

#include "database/sqltext.h"
#include "widgets/messages.h"

#include <vector>

namespace chemodesk::components {

using platform::ListKind;

namespace {

// One list of the component: where its rows come from and how they are shown.
// Every list names its key ResultCode, the column the screens read the chosen
// code from.
struct LookupList {
    ListKind kind;
    QString caption;
    QString select; // the active rows, ending in a WHERE clause
    QString code;   // the key column: matched whole, or by its first characters
    QString name;   // matched by its first letters
    QString order;
    bool bySection; // only the services of OtherSectionID
    std::vector<widgets::PickColumn> grid;
};

const std::vector<LookupList> &lists()
{
    static const std::vector<LookupList> all = {
        {ListKind::OtherRevenue,
         QStringLiteral("Services"),
         QStringLiteral("SELECT OtherRevenueID AS ResultCode, OtherRevenue, Fixrate, RateA, RateB, "
                        "RateC, RateD, RateE, RateG, RateH, RateI, IcuRate "
                        "FROM BUILD_FILE..TbCoOtherRevenue WHERE isActive = 1"),
         QStringLiteral("OtherRevenueID"),
         QStringLiteral("OtherRevenue"),
         QStringLiteral("OtherRevenue, OtherRevenueID"),
         true,
         {{QStringLiteral("ResultCode"), QStringLiteral("Code")},
          {QStringLiteral("OtherRevenue"), QStringLiteral("Description")},
          {QStringLiteral("RateA"), QStringLiteral("Rate"), widgets::PickColumn::Amount}}},
        {ListKind::Doctor,
         QStringLiteral("Doctors"),
         QStringLiteral("SELECT DoctorID AS ResultCode, LastName, FirstName, MiddleName "
                        "FROM BUILD_FILE..tbCoDoctor WHERE isActive = 1"),
         QStringLiteral("DoctorID"),
         QStringLiteral("LastName"),
         QStringLiteral("LastName, FirstName, DoctorID"),
         false,
         {{QStringLiteral("ResultCode"), QStringLiteral("Code")},
          {QStringLiteral("LastName"), QStringLiteral("Last Name")},
          {QStringLiteral("FirstName"), QStringLiteral("First Name")},
          {QStringLiteral("MiddleName"), QStringLiteral("Middle Name")}}},
        {ListKind::LABExam,
         QStringLiteral("Laboratory Examinations"),
         QStringLiteral(
             "SELECT LabExamID AS ResultCode, LabExam, LabSectionID, RateA, RateB, "
             "RateC, RateD, RateE, RateG FROM BUILD_FILE..tbcoLabExam WHERE isActive = 1"),
         QStringLiteral("LabExamID"),
         QStringLiteral("LabExam"),
         QStringLiteral("LabExam, LabExamID"),
         false,
         {{QStringLiteral("ResultCode"), QStringLiteral("Code")},
          {QStringLiteral("LabExam"), QStringLiteral("Examination")},
          {QStringLiteral("RateA"), QStringLiteral("Rate"), widgets::PickColumn::Amount}}},
        {ListKind::XRayExam,
         QStringLiteral("X-Ray Examinations"),
         QStringLiteral("SELECT XrayExamID AS ResultCode, XrayExam, RateA, RateB, RateC, RateD, "
                        "RateE, RateG FROM BUILD_FILE..tbcoXrayExam WHERE isActive = 1"),
         QStringLiteral("XrayExamID"),
         QStringLiteral("XrayExam"),
         QStringLiteral("XrayExam, XrayExamID"),
         false,
         {{QStringLiteral("ResultCode"), QStringLiteral("Code")},
          {QStringLiteral("XrayExam"), QStringLiteral("Examination")},
          {QStringLiteral("RateA"), QStringLiteral("Rate"), widgets::PickColumn::Amount}}},
        {ListKind::UltraSound,
         QStringLiteral("Ultrasound Examinations"),
         QStringLiteral("SELECT UltraExamID AS ResultCode, UltraExam, RateA, RateB, RateC, RateD, "
                        "RateE, RateG FROM BUILD_FILE..tbcoultraexam WHERE isActive = 1"),
         QStringLiteral("UltraExamID"),
         QStringLiteral("UltraExam"),
         QStringLiteral("UltraExam, UltraExamID"),
         false,
         {{QStringLiteral("ResultCode"), QStringLiteral("Code")},
          {QStringLiteral("UltraExam"), QStringLiteral("Examination")},
          {QStringLiteral("RateA"), QStringLiteral("Rate"), widgets::PickColumn::Amount}}},
        // Frequency: doses a day, the quantity a pharmacy request starts from.
        {ListKind::Dosage,
         QStringLiteral("Dosages"),
         QStringLiteral("SELECT DosageID AS ResultCode, Dosage, Frequency "
                        "FROM BUILD_FILE..tbcoDosage WHERE isActive = 1"),
         QStringLiteral("DosageID"),
         QStringLiteral("Dosage"),
         QStringLiteral("Dosage, DosageID"),
         false,
         {{QStringLiteral("ResultCode"), QStringLiteral("Code")},
          {QStringLiteral("Dosage"), QStringLiteral("Dosage")},
          {QStringLiteral("Frequency"), QStringLiteral("Frequency"), widgets::PickColumn::Number}}},
    };
    return all;
}

const LookupList *listOf(ListKind kind)
{
    for (const LookupList &list : lists())
        if (list.kind == kind)
            return &list;
    return nullptr;
}

QString rowsOf(const LookupList &list, const QString &section)
{
    if (!list.bySection)
        return list.select;
    return list.select + QStringLiteral(" AND OtherSectionID = ") + sql::quote(section);
}

QString exactText(const LookupList &list, const QString &section, const QString &code)
{
    return rowsOf(list, section) + QStringLiteral(" AND ") + list.code + QStringLiteral(" = ") +
           sql::quote(code);
}

QString startingText(const LookupList &list, const QString &section, const QString &text)
{
    return rowsOf(list, section) + QStringLiteral(" AND (") + widgets::startsWith(list.name, text) +
           QStringLiteral(" OR ") + widgets::startsWith(list.code, text) +
           QStringLiteral(") ORDER BY ") + list.order;
}

} // namespace

ItemLookup::ItemLookup(Connection &connection, QWidget *dialogParent)
    : connection_(&connection), dialogParent_(dialogParent)
{
}

void ItemLookup::Initialize_Classes()
{
    records_.clear();
}

void ItemLookup::setConnection(Connection *connection)
{
    if (connection)
        connection_ = connection;
}

bool ItemLookup::SearchListing(const QString &text, ListKind kind)
{
    const LookupList *list = listOf(kind);
    if (!list)
        return false;
    const QString typed = text.trimmed();
    const QString section = sectionId_.trimmed();

    if (!typed.isEmpty()) {
        Recordset exact = connection_->Execute(exactText(*list, section, typed));
        if (!exact.atEnd()) {
            records_.insert(int(kind), exact);
            return true;
        }
    }
    if (!searchMode_)
        return false;

    Connection &connection = *connection_;
    widgets::PickList dialog(
        list->caption, list->grid,
        [&connection, list, section](const QString &search) {
            return connection.Execute(startingText(*list, section, search.trimmed()));
        },
        dialogParent_);
    // Even a single match is offered, so the user confirms a partial text.
    if (dialog.search(typed) == 0)
        return false;
    if (widgets::execModal(dialog) != QDialog::Accepted || dialog.chosen().atEnd())
        return false;
    records_.insert(int(kind), dialog.chosen());
    return true;
}

Field ItemLookup::record(ListKind kind, const QString &column) const
{
    const auto found = records_.constFind(int(kind));
    if (found == records_.constEnd() || found->atEnd())
        return Field(column, QVariant());
    return found->Fields(column);
}

Field ItemLookup::DoctorRecord(const QString &column) const
{
    return record(ListKind::Doctor, column);
}
Field ItemLookup::OtherRevenueRecord(const QString &column) const
{
    return record(ListKind::OtherRevenue, column);
}
Field ItemLookup::DosageRecord(const QString &column) const
{
    return record(ListKind::Dosage, column);
}
Field ItemLookup::AddressRecord(const QString &column) const
{
    return record(ListKind::Address, column);
}
Field ItemLookup::CivilStatusRecord(const QString &column) const
{
    return record(ListKind::CivilStatus, column);
}
Field ItemLookup::LABExamRecord(const QString &column) const
{
    return record(ListKind::LABExam, column);
}
Field ItemLookup::XRayExamRecord(const QString &column) const
{
    return record(ListKind::XRayExam, column);
}
Field ItemLookup::CTExamRecord(const QString &column) const
{
    return record(ListKind::CTExam, column);
}
Field ItemLookup::UltraSoundRecord(const QString &column) const
{
    return record(ListKind::UltraSound, column);
}
Field ItemLookup::AudioExamRecord(const QString &column) const
{
    return record(ListKind::AudioExam, column);
}
Field ItemLookup::NuclearExamRecord(const QString &column) const
{
    return record(ListKind::NuclearExam, column);
}
Field ItemLookup::HSExamRecord(const QString &column) const
{
    return record(ListKind::HSExam, column);
}
Field ItemLookup::PTExamRecord(const QString &column) const
{
    return record(ListKind::PTExam, column);
}
Field ItemLookup::RTSExamRecord(const QString &column) const
{
    return record(ListKind::RTSExam, column);
}

} // namespace chemodesk::components
