#pragma once

// The hospital system's nurse results component: the diagnostic results of an
// admission. It lies outside this program.

#include "platform/connection.h"

#include <QString>

namespace chemodesk::platform {

class NurseResults {
public:
    virtual ~NurseResults() = default;

    // `kind` "4": laboratory results (fields "RequestNum", "ResultDate",
    // "LabExamID", "LabExam", "SectionName", "Reference").
    virtual Recordset GetResults(const QString &connectionString, const QString &admissionNumber,
                                 const QString &kind) = 0;
};

} // namespace chemodesk::platform
