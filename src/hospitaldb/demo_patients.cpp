// Doctors, the companies that carry accounts, and about 200 patients with their
// admissions and out-patient registrations.

#include "demoparts.h"

namespace chemodesk::hospital::demo {

namespace {

struct Doctor {
    const char *id;
    const char *last;
    const char *first;
    const char *middle;
    const char *specialization;
};

const Doctor Doctors[] = {
    {"101", "REYES", "ANTONIO", "BAUTISTA", "MEDICAL ONCOLOGY"},
    {"102", "SANTIAGO", "MARIA LOURDES", "CRUZ", "MEDICAL ONCOLOGY"},
    {"103", "TAN", "WILLIAM", "GO", "HEMATOLOGY"},
    {"104", "DE GUZMAN", "CECILIA", "RAMOS", "RADIATION ONCOLOGY"},
    {"105", "AQUINO", "RAFAEL", "MENDOZA", "SURGICAL ONCOLOGY"},
    {"106", "FERNANDEZ", "JOSEFINA", "LIM", "INTERNAL MEDICINE"},
    {"107", "CASTILLO", "EDUARDO", "PASCUAL", "GENERAL SURGERY"},
    {"108", "NAVARRO", "GRACE", "VILLANUEVA", "GYNECOLOGIC ONCOLOGY"},
    {"109", "LIM", "KENNETH", "SY", "GASTROENTEROLOGY"},
    {"110", "MERCADO", "ROSALINDA", "DIAZ", "PULMONOLOGY"},
    {"111", "VILLAREAL", "JOSE MARI", "SANTOS", "CARDIOLOGY"},
    {"112", "OCAMPO", "LEILANI", "REYES", "PEDIATRIC ONCOLOGY"},
    {"113", "DIZON", "FRANCISCO", "TORRES", "RADIOLOGY"},
    {"114", "PANGILINAN", "THERESA", "GOMEZ", "PATHOLOGY"},
    {"115", "SALAZAR", "MIGUEL ANGELO", "CRUZ", "ANESTHESIOLOGY"},
    {"116", "DOMINGO", "CARMELITA", "FLORES", "NEPHROLOGY"},
    {"117", "ESPIRITU", "RAMON", "AGUILAR", "UROLOGY"},
    {"118", "CORPUZ", "ANGELICA MAE", "DELA ROSA", "PALLIATIVE MEDICINE"},
    {"119", "VALDEZ", "ERNESTO", "CRUZ", "REHABILITATION MEDICINE"},
    {"120", "GONZALES", "PATRICIA ANN", "YU", "OTORHINOLARYNGOLOGY - HEAD AND NECK"},
};
// Attending physicians of the unit's patients.
const char *const Oncologists[] = {"101", "102", "103", "104", "105", "108", "112"};

void doctors(Connection &c)
{
    std::vector<QStringList> rows;
    int license = 91234;
    for (const Doctor &d : Doctors)
        rows.push_back({str(QLatin1String(d.id)), str(QLatin1String(d.last)),
                        str(QLatin1String(d.first)), str(QLatin1String(d.middle)),
                        str(QLatin1String(d.specialization)),
                        str(QString::number(license += 137).rightJustified(7, QLatin1Char('0')))});
    insertRows(
        c, QStringLiteral("BUILD_FILE..tbCoDoctor"),
        QStringLiteral("DoctorID, LastName, FirstName, MiddleName, Specialization, LicenseNum"),
        rows);
}

void companies(Connection &c)
{
    insertRows(
        c, QStringLiteral("BUILD_FILE..tbCoCompany"),
        QStringLiteral("AccountNum, Company, isHMO, Address"),
        {{str(QStringLiteral("HLTHPLUS")), str(QStringLiteral("HEALTHPLUS MANAGED CARE, INC.")),
          flag(true), str(QStringLiteral("Ortigas Center, Pasig City"))},
         {str(QStringLiteral("KALINGA")), str(QStringLiteral("KALINGA HEALTH SYSTEMS, INC.")),
          flag(true), str(QStringLiteral("Ayala Avenue, Makati City"))},
         {str(QStringLiteral("BAYANIHMO")), str(QStringLiteral("BAYANIHAN MEDICAL PLAN CORP.")),
          flag(true), str(QStringLiteral("Quezon Avenue, Quezon City"))},
         {str(QStringLiteral("LUZCARE")), str(QStringLiteral("LUZCARE HEALTH PROVIDERS, INC.")),
          flag(true), str(QStringLiteral("Real St., Calamba City, Laguna"))},
         {str(QStringLiteral("50001")), str(QStringLiteral("LAGUNA AGRO-INDUSTRIAL COOPERATIVE")),
          flag(false), str(QStringLiteral("Brgy. Bubukal, Santa Cruz, Laguna"))},
         {str(QStringLiteral("50002")), str(QStringLiteral("STA. CRUZ WATER DISTRICT")),
          flag(false), str(QStringLiteral("Brgy. Patimbao, Santa Cruz, Laguna"))},
         {str(QStringLiteral("50003")), str(QStringLiteral("MABINI VALLEY RURAL BANK")),
          flag(false), str(QStringLiteral("Rizal St., Pagsanjan, Laguna"))}});
}

// --------------------------------------------------------------- patients

const char *const Diagnoses[] = {
    "BREAST CANCER, STAGE II, FOR CYCLE 3 AC",
    "NON-SMALL CELL LUNG CANCER, STAGE IV",
    "COLON ADENOCARCINOMA, S/P RESECTION",
    "CERVICAL CANCER, STAGE IIB, FOR CONCURRENT CHEMORADIATION",
    "DIFFUSE LARGE B-CELL LYMPHOMA, FOR R-CHOP",
    "OVARIAN CANCER, FOR CARBOPLATIN-PACLITAXEL",
    "NASOPHARYNGEAL CARCINOMA",
    "ACUTE LYMPHOBLASTIC LEUKEMIA",
    "GASTRIC ADENOCARCINOMA",
    "FEBRILE NEUTROPENIA POST CHEMOTHERAPY",
    "HEPATOCELLULAR CARCINOMA",
    "PROSTATE CANCER WITH BONE METASTASIS",
};
// In-patient admission numbers are numeric, out-patient registration numbers end in "B".
QString admissionNumber(int n)
{
    return QString::number(261000 + n);
}
QString registrationNumber(int n)
{
    return QString::number(2650000 + n) + QLatin1Char('B');
}

std::vector<Registration> patients(Connection &c, Random &random, const std::vector<Room> &rooms)
{
    std::vector<QStringList> master, admissions, flags, outpatients;
    std::vector<Registration> registrations;
    int admissionCount = 0;
    int registrationCount = 0;
    int erCount = 0;

    auto account = [&](int i, const QString &hospNum) -> QString {
        switch (i % 8) {
        case 0:
        case 3:
        case 7:
            return QLatin1String(Hmos[size_t(i / 8) % std::size(Hmos)]);
        case 1:
        case 4:
            return QLatin1String(Companies[size_t(i / 8) % std::size(Companies)]);
        case 5:
            return hospNum; // personal account
        default:
            return {}; // personal account, never set
        }
    };
    auto roomFor = [&](int i) -> const Room & {
        auto inStation = [&](const char *station, int k) -> const Room & {
            std::vector<const Room *> list;
            for (const Room &r : rooms)
                if (r.station == QLatin1String(station))
                    list.push_back(&r);
            return *list[size_t(k) % list.size()];
        };
        if (i < 5)
            return inStation("ICU", i);
        if (i == 5)
            return inStation("NUR", 0);
        if (i < 8)
            return inStation("PICU", i);
        static const char *const wards[] = {"2W", "3W", "4W", "ON", "ON"};
        return inStation(wards[i % 5], i);
    };

    for (int i = 0; i < 200; ++i) {
        const QString hospNum = QString::number(1000001 + i);
        const bool child = i >= 5 && i < 8;
        const bool female = random.chance(55) || i == 5;
        // Patient 17 carries an apostrophe, which every text must survive.
        const QString last = QString::fromUtf8(
            i == 17 ? "O'CAMPO" : Surnames[random.skewed(int(std::size(Surnames)))]);
        QString first =
            QString::fromUtf8(female ? random.pick(FemaleNames) : random.pick(MaleNames));
        const QString middle = QString::fromUtf8(Surnames[random.skewed(int(std::size(Surnames)))]);
        if (!female && random.chance(8))
            first += QLatin1String(" JR.");
        // The newborn and the two children lie in the nursery and the paediatric ICU.
        const int age = i == 5 ? 0 : child ? random.between(2, 12) : random.between(19, 86);
        QDate birth = Today.addYears(-age).addDays(-random.between(1, 360));
        if (i == 5)
            birth = Today.addDays(-9);
        const bool senior = birth.addYears(60) <= Today;
        const Place &place = random.pick(Places);
        // 1 single, 2 married, 3 widowed, 4 separated; a few were never filled in.
        static const char *const adultStatus[] = {"1", "2", "2", "2", "4"};
        static const char *const elderStatus[] = {"2", "2", "3", "3"};
        const QString civil = i % 23 == 4 ? QString()
                              : age < 25  ? QStringLiteral("1")
                                          : QLatin1String(age > 65 ? random.pick(elderStatus)
                                                                   : random.pick(adultStatus));
        const QString house = random.chance(30) ? QStringLiteral("BLK %1 LOT %2 VILLA VERDE SUBD.")
                                                      .arg(random.between(1, 20))
                                                      .arg(random.between(1, 40))
                                                : QStringLiteral("%1 %2")
                                                      .arg(random.between(1, 999))
                                                      .arg(QLatin1String(random.pick(Streets)));
        master.push_back(
            {str(hospNum), str(last), str(first), str(middle),
             str(female ? QStringLiteral("F") : QStringLiteral("M")),
             date(QDateTime(birth, QTime(0, 0))), strOrNull(civil), str(house),
             str(QString::fromUtf8(random.pick(Barangays))), str(QString::fromUtf8(place.town)),
             str(QLatin1String(place.province)), str(QLatin1String(place.zip)),
             str(QStringLiteral("09%1").arg(random.between(170000000, 989999999))), flag(senior),
             senior ? str(QStringLiteral("OSCA-%1").arg(20000 + i)) : null(),
             strOrNull(account(i, hospNum)),
             i % 17 == 2 ? str(QStringLiteral("PENICILLIN")) : null(),
             date(at(Today.addYears(-1).addDays(-i * 3), 9, 0))});

        const QString doctor = QLatin1String(random.pick(Oncologists));
        auto admit = [&](const QDateTime &admitted, bool billed, bool discharged,
                         const Room &room) {
            const QString idNum = admissionNumber(++admissionCount);
            const QString acct = account(i, hospNum);
            const QDateTime billing =
                discharged ? admitted.addDays(random.between(2, 6)) : at(Today, 8, 0);
            const QDateTime discharge = billing.addSecs(3 * 3600);
            const bool viaEr = random.chance(20);
            admissions.push_back(
                {str(idNum), str(hospNum), date(admitted), discharged ? date(discharge) : null(),
                 billed || discharged ? date(billing) : null(), str(room.id), strOrNull(acct),
                 str(doctor),
                 random.chance(30) ? str(QLatin1String(random.pick(Doctors).id)) : null(),
                 str(QLatin1String(random.pick(Diagnoses))),
                 viaEr ? str(QStringLiteral("ER26-%1").arg(++erCount, 5, 10, QLatin1Char('0')))
                       : null(),
                 str(QStringLiteral("1003")),
                 // Three current admissions whose doctors have ordered the discharge.
                 flag(!discharged && !billed && (i == 4 || i == 22 || i == 47))});
            // Billing put some admissions on cash basis for medicines or supplies.
            flags.push_back({str(idNum), flag(i % 7 != 3), flag(i % 11 != 5), flag(i % 13 != 6)});
            registrations.push_back({idNum, hospNum, true, room.id, room.roomClass, acct, doctor,
                                     admitted, billed, discharged,
                                     last + QStringLiteral(", ") + first});
        };
        auto register_ = [&](const QDateTime &admitted, const QString &type, bool billed,
                             bool discharged) {
            const QString idNum = registrationNumber(++registrationCount);
            const QString acct = type == QLatin1String("W") ? hospNum : account(i, hospNum);
            const QDateTime billing = admitted.addSecs(5 * 3600);
            outpatients.push_back(
                {str(idNum), str(hospNum), date(admitted),
                 discharged ? date(billing.addSecs(1800)) : null(),
                 billed || discharged ? date(billing) : null(), str(type),
                 type == QLatin1String("E")
                     ? str(QStringLiteral("ER26-%1").arg(++erCount, 5, 10, QLatin1Char('0')))
                     : null(),
                 strOrNull(acct), str(doctor),
                 random.chance(25) ? str(QLatin1String(random.pick(Doctors).id)) : null(),
                 str(QStringLiteral("OPD")), str(QLatin1String(random.pick(Diagnoses))),
                 str(QStringLiteral("1003"))});
            registrations.push_back({idNum, hospNum, false, QStringLiteral("OPD"),
                                     QStringLiteral("A"), acct, doctor, admitted, billed,
                                     discharged, last + QStringLiteral(", ") + first});
        };
        // Up to `maxDays` back; today only before the morning's work starts.
        auto recent = [&](int maxDays) {
            const int back = random.between(0, maxDays);
            return at(Today.addDays(-back), back == 0 ? 7 : random.between(7, 16),
                      random.below(4) * 15);
        };
        auto past = [&]() {
            return at(Today.addDays(-random.between(30, 300)), random.between(7, 16),
                      random.below(4) * 15);
        };

        if (i < 60) {
            // Admitted now; every tenth already billed.
            admit(recent(20).addDays(-1), i % 10 == 9, false, roomFor(i));
        } else if (i < 80) {
            admit(past(), true, true, roomFor(i));
        } else if (i < 140) {
            // The unit's out-patients, every sixth through the emergency room.
            register_(recent(3), i % 6 == 0 ? QStringLiteral("E") : QStringLiteral("O"),
                      i % 15 == 7, i % 4 == 1);
        } else if (i < 170) {
            register_(recent(2), QStringLiteral("W"), false, i % 5 == 0);
        } else if (i < 185) {
            // Back for chemotherapy after an admission.
            admit(past(), true, true, roomFor(i));
            register_(recent(1), QStringLiteral("O"), false, false);
        } else {
            // Seen before, not now: found only among previous registrations.
            register_(past(), QStringLiteral("O"), true, true);
        }
    }

    insertRows(
        c, QStringLiteral("PATIENT_DATA..tbMaster"),
        QStringLiteral(
            "HospNum, LastName, FirstName, MiddleName, Sex, BirthDate, CivilStatus, HouseStreet, "
            "Barangay, Town, Province, ZipCode, ContactNum, SeniorCitizen, SeniorCitizenID, "
            "AccountNum, Allergy1, DateCreated"),
        master);
    insertRows(
        c, QStringLiteral("PATIENT_DATA..tbPatient"),
        QStringLiteral(
            "IdNum, HospNum, AdmDate, DcrDate, BillingDate, RoomID, AccountNum, AttendingDr1, "
            "AttendingDr2, AdmDiagnosis, ERNum, AdmittedBy, DischargeNotice"),
        admissions);
    insertRows(c, QStringLiteral("PATIENT_DATA..tbPatient2"),
               QStringLiteral("IdNum, OkeyPH, OkeyCS, OkeyDI"), flags);
    insertRows(c, QStringLiteral("PATIENT_DATA..tbOutPatient"),
               QStringLiteral(
                   "IdNum, HospNum, AdmDate, DcrDate, BillingDate, PatientType, ERNum, AccountNum, "
                   "DoctorID1, DoctorID2, RoomID, Complaint, RegisteredBy"),
               outpatients);
    return registrations;
}

} // namespace

QString doctorName(const QString &id)
{
    for (const Doctor &d : Doctors)
        if (id == QLatin1String(d.id))
            return QLatin1String(d.last) + QLatin1String(", ") + QLatin1String(d.first);
    return {};
}

void loadPatients(Part &part)
{
    doctors(part.connection);
    companies(part.connection);
    part.loaded.registrations = patients(part.connection, part.random, part.loaded.rooms);
    // A patient on file with no registration, so that no later part sees it.
    if (part.extraRow)
        insertRows(
            part.connection, QStringLiteral("PATIENT_DATA..tbMaster"),
            QStringLiteral("HospNum, LastName, FirstName, Sex"),
            {{str(QStringLiteral("1000201")),
              str(QString::fromUtf8(Surnames[part.random.skewed(int(std::size(Surnames)))])),
              str(QString::fromUtf8(part.random.pick(MaleNames))), str(QStringLiteral("M"))}});
}

} // namespace chemodesk::hospital::demo
