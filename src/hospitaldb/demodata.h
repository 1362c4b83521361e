#pragma once

// Shared by the demo data and the registration generator: literal builders
// for INSERT texts and a small random source that gives the same sequence on
// every platform (the standard distributions do not).

#include "database/sqltext.h"
#include "platform/connection.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <iterator>
#include <vector>

namespace chemodesk::hospital::demo {

class Random {
public:
    explicit Random(quint64 seed) : state_(seed) {}
    // The generator as it stands after `draws` draws from `seed`.
    static Random after(quint64 seed, quint64 draws) { return Random(seed + draws * Gamma); }

    quint64 next()
    {
        // splitmix64
        quint64 z = (state_ += Gamma);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // 0 <= result < n
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<quint64>(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }
    // Biased towards the front of a list ordered from the most common entry.
    int skewed(int n)
    {
        const double u = double(next() >> 11) * (1.0 / 9007199254740992.0);
        return static_cast<int>(n * u * u);
    }
    template <typename List> const auto &pick(const List &list)
    {
        return list[below(int(std::size(list)))];
    }

private:
    static constexpr quint64 Gamma = 0x9E3779B97F4A7C15ULL;
    quint64 state_;
};

// A seed from a name (64-bit FNV-1a), for a part of the demo data.
constexpr quint64 seedOf(const char *name)
{
    quint64 hash = 0xCBF29CE484222325ULL;
    for (; *name; ++name)
        hash = (hash ^ static_cast<unsigned char>(*name)) * 0x100000001B3ULL;
    return hash;
}

inline QString str(const QString &value)
{
    return sql::quote(value);
}
inline QString null()
{
    return QStringLiteral("NULL");
}
// A value left blank at registration is stored as Null, not as ''.
inline QString strOrNull(const QString &value)
{
    return value.isEmpty() ? null() : str(value);
}
inline QString num(int value)
{
    return QString::number(value);
}
inline QString money(double value)
{
    return QString::number(value, 'f', 2);
}
inline QString flag(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}
inline QString date(const QDateTime &value)
{
    return value.isValid() ? str(value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))) : null();
}

// Names and places, UTF-8. Surnames run from the most to the least common,
// so a skewed pick over them makes prefix searches return varied counts.
inline constexpr const char *Surnames[] = {
    "SANTOS",       "REYES",        "CRUZ",        "BAUTISTA",     "OCAMPO",      "GARCIA",
    "MENDOZA",      "TORRES",       "TOMAS",       "ANDRADE",      "CASTILLO",    "FLORES",
    "VILLANUEVA",   "RAMOS",        "CASTRO",      "RIVERA",       "AQUINO",      "NAVARRO",
    "SALAZAR",      "MERCADO",      "AGUILAR",     "DOMINGO",      "GONZALES",    "LOPEZ",
    "DE LEON",      "DELA CRUZ",    "DEL ROSARIO", "SORIANO",      "PASCUAL",     "MANALO",
    "MAGBANUA",     "DIMAANO",      "MACARAIG",    "LACSAMANA",    "PANGANIBAN",  "MALABANAN",
    "DIMACULANGAN", "CABRERA",      "VALENZUELA",  "ESGUERRA",     "GUEVARRA",    "LEGASPI",
    "JAVIER",       "ROXAS",        "SAMSON",      "ILAGAN",       "BALTAZAR",    "CORPUZ",
    "ESTRADA",      "PEÑA",         "MAGSINO",     "TOLENTINO",    "CARANDANG",   "UMALI",
    "MARASIGAN",    "DE VILLA",     "ABRENICA",    "BELTRAN",      "CATAPANG",    "FERNANDEZ",
    "HERNANDEZ",    "MARTINEZ",     "RODRIGUEZ",   "PEREZ",        "SANCHEZ",     "RAMIREZ",
    "GOMEZ",        "DIAZ",         "MORALES",     "JIMENEZ",      "RUIZ",        "ALVAREZ",
    "ROMERO",       "SUAREZ",       "ORTIZ",       "GUTIERREZ",    "VARGAS",      "MEDINA",
    "HERRERA",      "MENDEZ",       "VASQUEZ",     "DELOS SANTOS", "DELOS REYES", "DE GUZMAN",
    "DE LA PAZ",    "SANTIAGO",     "CABALLERO",   "CARREON",      "CAÑETE",      "ZAMORA",
    "VILLAREAL",    "VELASCO",      "VALDEZ",      "TAN",          "LIM",         "SY",
    "GO",           "CO",           "CHUA",        "ONG",          "UY",          "YU",
    "ANG",          "MALLARI",      "MANALASTAS",  "MANGUBAT",     "MATIBAG",     "MIRANDA",
    "MOLINA",       "MONTEMAYOR",   "NATIVIDAD",   "NEPOMUCENO",   "NOLASCO",     "OLIVARES",
    "ORTEGA",       "PADILLA",      "PALMA",       "PANGILINAN",   "PAREDES",     "PASTRANA",
    "PILAR",        "POBLETE",      "PONCE",       "QUIAMBAO",     "QUIMPO",      "QUINTO",
    "RAFAEL",       "RICAFORT",     "ROBLES",      "ROSALES",      "SABADO",      "SALVADOR",
    "SAMONTE",      "SARMIENTO",    "SEVILLA",     "SILVA",        "SISON",       "SOLIS",
    "TABUENA",      "TAGLE",        "TALAVERA",    "TANTOCO",      "TECSON",      "TIONGSON",
    "TRINIDAD",     "TUAZON",       "VALENCIA",    "VELASQUEZ",    "VENTURA",     "VERGARA",
    "VIDAL",        "VILLAFUERTE",  "VILLAMOR",    "YAP",          "ZABALA",      "ABAD",
    "ABELLA",       "ACOSTA",       "ADRIANO",     "AGBAYANI",     "AGONCILLO",   "ALCANTARA",
    "ALMARIO",      "AMPARO",       "ANTONIO",     "ARCEO",        "ARELLANO",    "ARGUELLES",
    "ATIENZA",      "AVILA",        "BACANI",      "BAGUIO",       "BALAGTAS",    "BARTOLOME",
    "BERNARDO",     "BUENAVENTURA", "CALDERON",    "CAMACHO",      "CANLAS",      "CAPISTRANO",
    "CARPIO",       "CATINDIG",     "CENTENO",     "CONCEPCION",   "CORTEZ",      "CUSTODIO",
    "DAVID",        "DIZON",        "DUMLAO",      "ENRIQUEZ",     "ESPINOSA",    "EUGENIO",
    "FAJARDO",      "FELICIANO",    "GALANG",      "GATCHALIAN",   "GERONIMO",    "GUERRERO",
    "IGNACIO",      "LUNA",         "O'CAMPO",
};
inline constexpr const char *MaleNames[] = {
    "JOSE",    "JUAN",     "ANTONIO", "RICARDO", "EDUARDO", "ROBERTO",      "FERNANDO",  "ROMEO",
    "ERNESTO", "DANILO",   "ROLANDO", "RODEL",   "JOEL",    "MARK ANTHONY", "JOHN PAUL", "CARLO",
    "MIGUEL",  "RAFAEL",   "NOEL",    "ARNEL",   "RENATO",  "BENJAMIN",     "FELIPE",    "ALFREDO",
    "VICENTE", "EMMANUEL", "JERICHO", "KEVIN",   "PATRICK", "ANGELO",
};
inline constexpr const char *FemaleNames[] = {
    "MARIA",    "ROSARIO",  "LOURDES",    "TERESITA", "ELENA",     "CORAZON",
    "REMEDIOS", "LORNA",    "MARICEL",    "JOCELYN",  "ANA LIZA",  "MA. CRISTINA",
    "ROWENA",   "GLORIA",   "NORMA",      "EVELYN",   "JOSEPHINE", "CECILIA",
    "AMELIA",   "LIGAYA",   "FLORDELIZA", "MYLENE",   "KATHERINE", "PRINCESS",
    "ANGELICA", "JENNIFER", "MARIVIC",    "DIVINA",   "ERLINDA",   "LUZ",
};
struct Place {
    const char *town;
    const char *province;
    const char *zip;
};
inline constexpr Place Places[] = {
    {"SANTA CRUZ", "LAGUNA", "4009"},
    {"PAGSANJAN", "LAGUNA", "4008"},
    {"LOS BAÑOS", "LAGUNA", "4030"},
    {"CALAMBA CITY", "LAGUNA", "4027"},
    {"SAN PABLO CITY", "LAGUNA", "4000"},
    {"NAGCARLAN", "LAGUNA", "4002"},
    {"BAY", "LAGUNA", "4033"},
    {"SINILOAN", "LAGUNA", "4019"},
    {"LUCBAN", "QUEZON", "4328"},
    {"LUCENA CITY", "QUEZON", "4301"},
    {"TAYABAS CITY", "QUEZON", "4327"},
    {"LIPA CITY", "BATANGAS", "4217"},
    {"BATANGAS CITY", "BATANGAS", "4200"},
    {"TANAUAN CITY", "BATANGAS", "4232"},
    {"SANTO TOMAS", "BATANGAS", "4234"},
};
inline constexpr const char *Barangays[] = {
    "POBLACION", "SAN ISIDRO", "SANTO NIÑO", "BAGONG SILANG", "SAN JOSE",   "MALINTA",
    "CALUMPANG", "BUBUKAL",    "PATIMBAO",   "LABUIN",        "PAGSAWITAN", "SANTISIMA CRUZ",
    "GATID",     "DUHAT",      "OOGONG",     "MAYONDON",
};
inline constexpr const char *Streets[] = {
    "RIZAL ST.",    "MABINI ST.",       "BURGOS ST.",     "LUNA ST.",        "QUEZON AVE.",
    "P. GOMEZ ST.", "NATIONAL HIGHWAY", "SAMPAGUITA ST.", "ILANG-ILANG ST.", "ACACIA ST."};

// Account numbers of the demo hospital's HMOs (non-numeric) and companies (numeric).
inline constexpr const char *Hmos[] = {"HLTHPLUS", "KALINGA", "BAYANIHMO", "LUZCARE"};
inline constexpr const char *Companies[] = {"50001", "50002", "50003"};

// The demo data's parts, in the order they are loaded: "session", "ward",
// "patients", "prices", "charges", "requests", "examinations", "packages", "assessment".
QStringList partNames();

struct DemoOptions {
    // Parts that write one row more than usual, to show that the other parts
    // are not moved by it.
    QStringList extraRowIn;
    // Called as each part starts.
    std::function<void(const QString &part)> starting;
};

void load(Connection &connection, const DemoOptions &options);

// Sends `rows` (each a list of literals) as multi-row INSERT texts of at most
// `perStatement` rows.
void insertRows(Connection &connection, const QString &table, const QString &columns,
                const std::vector<QStringList> &rows, int perStatement = 100);

} // namespace chemodesk::hospital::demo
