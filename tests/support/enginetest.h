#pragma once

// The fixture of a test that runs once on each engine. The parameter is the
// engine's name; SetUp skips the test where that engine is not available (or
// fails it, see testdatabase.h) and otherwise opens a fresh database in `db`.
//
//     class Rights : public test::EngineTest {};
//     TEST_P(Rights, ...) { ... *db ... }
//     CHEMODESK_ENGINE_TESTS(Rights);   // Engines/Rights.X/sqlite, .../postgresql
//
// A fixture that builds more in its SetUp calls EngineTest::SetUp() first and
// stops where `db` is still empty.

#include "support/testdatabase.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace chemodesk::test {

class EngineTest : public ::testing::TestWithParam<std::string> {
protected:
    enum class Contents { Demo, Empty };

    explicit EngineTest(Contents contents = Contents::Demo) : contents_(contents) {}

    void SetUp() override
    {
        if (!backendAvailable(GetParam()))
            GTEST_SKIP() << "no PostgreSQL server for the tests";
        db = freshDatabase(GetParam(), contents_ == Contents::Demo);
    }

    bool onServer() const { return GetParam() == "postgresql"; }

    std::unique_ptr<db::HostedConnection> db;

private:
    Contents contents_;
};

// Names each instance after its engine.
inline std::string engineName(const ::testing::TestParamInfo<std::string> &info)
{
    return info.param;
}

} // namespace chemodesk::test

#define CHEMODESK_ENGINE_TESTS(Fixture)                                                            \
    INSTANTIATE_TEST_SUITE_P(Engines, Fixture, ::testing::ValuesIn(::chemodesk::test::backends()), \
                             ::chemodesk::test::engineName)
