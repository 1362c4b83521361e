#include "schemaparts.h"

// The examinations the nurse orders from the laboratory, x-ray and ultrasound
// sections beside what the charge screen prices, and the specimens each
// laboratory examination is taken from.

namespace chemodesk::hospital::schema {

std::vector<db::TableDef> examinationTables()
{
    return {
        table("BUILD_FILE", "tbcoXrayExam",
              "XrayExamID varchar(10) not null, XrayExam varchar(100) not null, "
              "RateA money default 0, RateB money default 0, RateC money default 0, "
              "RateD money default 0, RateE money default 0, RateG money default 0, "
              "isActive bit default 1",
              {"XrayExamID"}, {prefix("XrayExam")}),
        table("BUILD_FILE", "tbcoLabSpecimen",
              "SpecimenID varchar(6) not null, Specimen varchar(60) not null, "
              "isActive bit default 1",
              {"SpecimenID"}),
        // The specimens an examination may be run on; most have one.
        table("BUILD_FILE", "tbcoLabSpecimenExam",
              "LabExamID varchar(10) not null, SpecimenID varchar(6) not null",
              {"LabExamID", "SpecimenID"}),
    };
}

} // namespace chemodesk::hospital::schema
