#include "database.h"

#include "database/schemabuilder.h"
#include "hospitaldb.h"
#include "security.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStandardPaths>

#include <memory>

namespace chemodesk::hospital {

namespace {

const db::ProcedureRegistry &registry()
{
    static const db::ProcedureRegistry *filled = [] {
        auto *r = &db::ProcedureRegistry::instance();
        registerProcedures(*r);
        return r;
    }();
    return *filled;
}

QString metaTable(const db::HostedConnection &c)
{
    return c.dialect() == db::Dialect::PostgreSQL ? QStringLiteral("public.chemodesk_meta")
                                                  : QStringLiteral("chemodesk_meta");
}

QString missingFileMessage(const QString &path)
{
    return QStringLiteral("The database file %1 does not exist. Check the path, and that the "
                          "drive or network share holding it is connected; if the file was moved "
                          "or lost, please contact IT.")
        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

// Patients of its own: the demo data must never be mixed into them.
bool holdsPatients(db::HostedConnection &connection)
{
    return !connection.Execute(QStringLiteral("SELECT TOP 1 HospNum FROM PATIENT_DATA..tbMaster"))
                .atEnd();
}

} // namespace

bool isServerUrl(const QString &target)
{
    return target.startsWith(QLatin1String("postgresql://")) ||
           target.startsWith(QLatin1String("postgres://"));
}

QString defaultDatabasePath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (dir.isEmpty())
        dir = QDir::homePath() + QStringLiteral("/.local/share/chemodesk");
    return dir + QStringLiteral("/chemodesk.db");
}

std::unique_ptr<db::HostedConnection> openDatabase(const QString &target,
                                                   const db::OpenOptions &options)
{
    auto connection = db::HostedConnection::open(target, registry(), options);
    db::describeTables(connection->translator(), tables());
    return connection;
}

std::unique_ptr<db::HostedConnection> openExisting(const QString &target,
                                                   const db::OpenOptions &options)
{
    if (!isServerUrl(target) && !QFileInfo::exists(target))
        throw DatabaseError(missingFileMessage(target));
    return openDatabase(target, options);
}

bool isDemoDatabase(db::HostedConnection &connection)
{
    return !connection
                .executeNative(QStringLiteral("SELECT value FROM %1 WHERE name = 'demo_data'")
                                   .arg(metaTable(connection)))
                .atEnd();
}

int applySteps(db::HostedConnection &connection, const std::vector<db::SchemaStep> &steps)
{
    // Whether this step's transaction took the table from behind its view.
    auto revealed = std::make_shared<bool>(false);
    db::StepFrame frame;
    frame.before = [revealed](db::HostedConnection &c) { *revealed = revealPasswordTable(c); };
    frame.after = [revealed](db::HostedConnection &c) {
        if (*revealed)
            hidePasswordTable(c);
    };
    return db::applySchemaSteps(connection, steps, frame);
}

void initDatabase(db::HostedConnection &connection, const InitOptions &options)
{
    auto say = [&](const QString &text) {
        if (options.progress)
            options.progress(text);
    };
    // Several programs may be started on one new server together; the first builds, the others wait
    // and then find the work done.
    const bool server = connection.dialect() == db::Dialect::PostgreSQL;
    if (server)
        connection.executeNative(QStringLiteral("SELECT pg_advisory_lock(730003)"));
    const auto unlock = qScopeGuard([&] {
        if (!server)
            return;
        try {
            connection.executeNative(QStringLiteral("SELECT pg_advisory_unlock(730003)"));
        } catch (const DatabaseError &) {
            // A lost connection has released the lock with itself.
        }
    });
    const int stored = db::storedSchemaVersion(connection);
    if (stored > schemaVersion())
        throw DatabaseError(
            QStringLiteral("The database is of schema version %1, newer than this program's %2.")
                .arg(stored)
                .arg(schemaVersion()));
    if (stored == 0)
        say(QStringLiteral("Creating the schema (version %1)").arg(schemaVersion()));
    else if (stored < schemaVersion())
        say(QStringLiteral("Upgrading the schema from version %1 to %2")
                .arg(stored)
                .arg(schemaVersion()));
    else
        say(QStringLiteral("The schema is up to date (version %1)").arg(stored));
    applySteps(connection, schemaSteps());
    if (options.demo) {
        // Looked for inside the transaction, which the embedded file opens for writing, so that two
        // programs never both load it.
        Transaction transaction(connection);
        Recordset loaded =
            connection.executeNative(QStringLiteral("SELECT value FROM %1 WHERE name = 'demo_data'")
                                         .arg(metaTable(connection)));
        if (loaded.atEnd()) {
            if (holdsPatients(connection))
                throw DatabaseError(
                    QStringLiteral("The database already holds patients: the demo data is "
                                   "only loaded into a new, empty database."));
            say(QStringLiteral("Loading the demo data"));
            // The employees are written with their access codes, into the table itself.
            const bool revealed = revealPasswordTable(connection);
            loadDemoData(connection);
            if (revealed)
                hidePasswordTable(connection);
            connection.executeNative(
                QStringLiteral("INSERT INTO %1 (name, value) VALUES ('demo_data', '1')")
                    .arg(metaTable(connection)));
            transaction.commit();
        } else {
            say(QStringLiteral("The demo data is already loaded"));
        }
    }
    if (options.registrations > 0) {
        say(QStringLiteral("Generating %1 registrations").arg(options.registrations));
        generateRegistrations(connection, options.registrations, [&](int done) {
            say(QStringLiteral("  %1 of %2").arg(done).arg(options.registrations));
        });
    }
    // The planner's statistics for what was just loaded: without them a look-up on a new
    // database may walk a whole table by another index until statistics are gathered (never,
    // on SQLite, unless asked).
    if (options.demo || options.registrations > 0)
        connection.executeNative(QStringLiteral("ANALYZE"));
    if (server) {
        say(QStringLiteral("Setting up the roles, rights and audit trail"));
        secureServer(connection);
    }
}

std::unique_ptr<db::HostedConnection> openEmbedded(const QString &path, MissingFile missing)
{
    const bool fresh = !QFileInfo::exists(path);
    if (fresh && missing == MissingFile::Refuse)
        throw DatabaseError(missingFileMessage(path));
    if (fresh) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        // The embedded database is one person's: made readable by its owner alone, before the
        // engine writes anything into it (its journal files take the same permissions).
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
    auto connection = openDatabase(path);
    // A file that cannot be written is read as it is.
    if (connection->readOnly())
        return connection;
    if (fresh || db::storedSchemaVersion(*connection) < schemaVersion()) {
        InitOptions options;
        options.demo = fresh;
        initDatabase(*connection, options);
    }
    return connection;
}

} // namespace chemodesk::hospital
