// The demo data, loaded part by part. Each part has its own generator, so a
// row or a draw added to one part moves no id or value of another.

#include "demodata.h"
#include "demoparts.h"
#include "hospitaldb.h"

#include <algorithm>

namespace chemodesk::hospital {

namespace demo {

void insertRows(Connection &connection, const QString &table, const QString &columns,
                const std::vector<QStringList> &rows, int perStatement)
{
    const QString head = QLatin1String("INSERT INTO ") + table + QLatin1String(" (") + columns +
                         QLatin1String(") VALUES ");
    for (size_t first = 0; first < rows.size(); first += perStatement) {
        QString text = head;
        const size_t last = std::min(rows.size(), first + perStatement);
        for (size_t i = first; i < last; ++i) {
            if (i > first)
                text += QLatin1String(", ");
            text += QLatin1Char('(') + rows[i].join(QLatin1String(", ")) + QLatin1Char(')');
        }
        connection.Execute(text);
    }
}

namespace {

// The parts that draw were once loaded from one generator of this seed, in the
// order prices, patients, charges. Each keeps the stretch of that sequence it
// had (prices drew 63 numbers, patients 4,100), so that their ids and values
// stayed as they were. Parts that drew nothing then, and new parts, take a
// seed from their name.
constexpr quint64 FirstSeed = 20261201;

struct PartDef {
    const char *name;
    Random random;
    void (*load)(Part &);
};

// Each part's rows refer only to rows of the parts above it.
const PartDef Parts[] = {
    {"session", Random(seedOf("session")), loadSession},
    {"ward", Random(seedOf("ward")), loadWard},
    {"patients", Random::after(FirstSeed, 63), loadPatients},
    {"prices", Random(FirstSeed), loadPrices},
    {"charges", Random::after(FirstSeed, 4163), loadCharges},
    {"requests", Random(seedOf("requests")), loadRequests},
    {"examinations", Random(seedOf("examinations")), loadExaminations},
    {"packages", Random(seedOf("packages")), loadPackages},
    {"assessment", Random(seedOf("assessment")), loadAssessments},
};

} // namespace

QStringList partNames()
{
    QStringList names;
    for (const PartDef &def : Parts)
        names << QLatin1String(def.name);
    return names;
}

void load(Connection &connection, const DemoOptions &options)
{
    Loaded loaded;
    Transaction transaction(connection);
    for (const PartDef &def : Parts) {
        const QString name = QLatin1String(def.name);
        if (options.starting)
            options.starting(name);
        Part part{connection, def.random, loaded, options.extraRowIn.contains(name)};
        def.load(part);
    }
    transaction.commit();
}

} // namespace demo

void loadDemoData(Connection &connection)
{
    demo::load(connection, {});
}

} // namespace chemodesk::hospital
