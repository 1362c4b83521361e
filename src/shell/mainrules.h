#pragma once

// The main window's rules that need no widget: the texts of its refusals and
// the look-ups its actions make before a screen opens.

#include <QString>

namespace chemodesk {
class Connection;
}

namespace chemodesk::shell {

// Refusal texts, as the department's users know them (the rights and missing-patient refusals
// are the screen registry's gate's: widgets/screenregistry.h).
// The account was billed. The charge action has always spelt its last word
// differently from the others; `chargeAction` picks that wording.
QString closedAccountMessage(bool chargeAction);
QString personalAccountMessage();
QString cashBasisMessage();
QString dischargeNoticeMessage();

// The room class of an admission's room; "A" (the out-patient rate) when the
// admission, its room or the room's class is unknown.
QString RoomClassOf(Connection &connection, const QString &IdNum);

// Which of an admission's service flags the request screens read.
enum class RequestKind { CentralSupply, Pharmacy };

// True when billing lets the admission charge `kind` to its account; false when
// it was put on cash basis (flag cleared or Null) or has no flag row.
bool RequestChargeable(Connection &connection, RequestKind kind, const QString &IdNum);

// Admissions waiting to be cleared for discharge.
long DischargeNoticeCount(Connection &connection);

} // namespace chemodesk::shell
