#pragma once

// The benchmarks' large database: 1,000,000 registrations on SQLite, made
// once into CHEMODESK_BENCH_DIR (default build/bench/data) and reused.

#include "hospitaldb/database.h"

#include <QDir>
#include <QFile>

namespace chemodesk::bench {

constexpr int Registrations = 1'000'000;

inline QString benchDir()
{
    const QString dir =
        qEnvironmentVariable("CHEMODESK_BENCH_DIR", QStringLiteral(CHEMODESK_BENCH_DEFAULT_DIR));
    QDir().mkpath(dir);
    return dir;
}

inline QString largeSqlite()
{
    const QString path = benchDir() + QStringLiteral("/registrations-%1.db").arg(Registrations);
    if (!QFile::exists(path)) {
        const QString building = path + QStringLiteral(".building");
        QFile::remove(building);
        {
            auto c = hospital::openDatabase(building);
            hospital::InitOptions options;
            options.demo = true;
            options.registrations = Registrations;
            hospital::initDatabase(*c, options);
            c->executeNative(QStringLiteral("ANALYZE"));
        }
        QFile::rename(building, path);
    }
    return path;
}

} // namespace chemodesk::bench
