#include "revenuecode.h"

#include "database/sqltext.h"
#include "patients/frmsearch.h"
#include "platform/connection.h"
#include "widgets/messages.h"

namespace chemodesk::charging {

QString SearchRevenueText(const QString &mode, const QString &code)
{
    return sql::call(QStringLiteral("Clinical_Area"), QStringLiteral("spCancer_SearchRevenue"),
                     {mode, code});
}

clsRevenueCode::clsRevenueCode(Connection &connection, QWidget *dialogParent)
    : connection_(connection), dialogParent_(dialogParent)
{
}

bool clsRevenueCode::ValidateRevenue(const QString &RevenueID)
{
    Recordset rs = connection_.Open(SearchRevenueText(QStringLiteral("1"), RevenueID));
    if (rs.RecordCount() != 1) {
        rs = connection_.Open(SearchRevenueText(QStringLiteral("2"), RevenueID));
        if (rs.atEnd()) {
            widgets::msgExclamation(QStringLiteral("Item does not exists."));
            return false;
        }
        patients::frmSearch search(connection_, dialogParent_);
        search.SearchCaption = QStringLiteral("Revenue Codes");
        search.Criteria = RevenueID;
        search.Query = QStringLiteral("Clinical_Area..spCancer_SearchRevenue '0','##'");
        widgets::execModal(search);
        if (!search.Valid)
            return false;
        rs = connection_.Open(SearchRevenueText(QStringLiteral("1"), search.ResultCode));
        // The chosen code may have been retired since the list was shown.
        if (rs.atEnd()) {
            widgets::msgExclamation(QStringLiteral("Item does not exists."));
            return false;
        }
    }
    revenueId_ = rs.Fields(QStringLiteral("RevenueID")).toString();
    revenue_ = rs.Fields(QStringLiteral("Revenue")).toString();
    withItems_ = rs.Fields(QStringLiteral("WithItems")).toString();
    searchInventory_ = rs.Fields(QStringLiteral("SearchInventory")).toBool();
    locationId_ = rs.Fields(QStringLiteral("LocationID")).toString();
    return true;
}

bool CheckLocationID(Connection &connection, const QString &code, QString &location)
{
    const Recordset rs = connection.Open(
        QStringLiteral(
            "Select isnull(locationid,'') AS LocationID from BUILD_FILE..tbCoRevenueCode "
            "where revenueid = '") +
        sql::escape(code) + QLatin1Char('\''));
    location = rs.atEnd() ? QString() : rs.Fields(QStringLiteral("LocationID")).trimmed();
    return !location.isEmpty();
}

bool CheckLocationID(Connection &connection, const QString &code, QString &location,
                     QString &stockcardRevenueId)
{
    const Recordset rs = connection.Open(
        QStringLiteral("Select LocationID, StockcardRevenueid from Build_file..tbCoRevenuecode "
                       "where revenueid = '") +
        sql::escape(code) + QLatin1Char('\''));
    location = rs.atEnd() ? QString() : rs.Fields(QStringLiteral("LocationID")).trimmed();
    if (location.isEmpty()) {
        stockcardRevenueId.clear();
        return false;
    }
    stockcardRevenueId = rs.Fields(QStringLiteral("StockcardRevenueid")).trimmed();
    return true;
}

} // namespace chemodesk::charging
