#pragma once

// The hospital system's laboratory viewer component: shows (and prints) the
// result of one laboratory request. The screen describes the request and the
// patient, then calls Show_Results. It lies outside this program.

#include "platform/connection.h"

#include <QString>

namespace chemodesk::platform {

class LabViewer {
public:
    virtual ~LabViewer() = default;

    virtual void setSQLConnection(Connection *connection) = 0;

    virtual void setCSNumber(const QString &chargeSlip) = 0;
    virtual void setRequestNum(const QString &requestNumber) = 0;
    virtual void setAutoPrint(bool on) = 0;
    virtual void setViewMode(int mode) = 0;
    virtual void setHospitalNumber(const QString &hospitalNumber) = 0;
    virtual void setIDNumber(const QString &admissionNumber) = 0;
    virtual void setRoomNumber(const QString &room) = 0;
    virtual void setPatientName(const QString &name) = 0;
    virtual void setAge(const QString &age) = 0;
    virtual void setSex(const QString &sex) = 0;
    virtual void setStatus(const QString &status) = 0;
    virtual void setStationID(const QString &stationId) = 0;
    virtual void setUserId(const QString &userId) = 0;
    // The patient's laboratory results, as the results component returned them.
    virtual void setRecordset(const Recordset &results) = 0;

    virtual void Show_Results() = 0;
};

} // namespace chemodesk::platform
