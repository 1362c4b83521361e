#pragma once

// The documentation's pictures are taken only when CHEMODESK_SCREENSHOT_DIR
// names a folder (under a virtual X server: QT_QPA_PLATFORM=xcb xvfb-run ...),
// each on a fresh embedded demo database the program's globals point at.

#include "session/globals.h"
#include "session/module1.h"
#include "support/scriptedmessages.h"
#include "support/testdatabase.h"

#include <memory>

namespace chemodesk::test {

struct PictureSession {
    PictureSession() : folder(qEnvironmentVariable("CHEMODESK_SCREENSHOT_DIR"))
    {
        if (folder.isEmpty())
            return;
        session::resetGlobals();
        db = freshDatabase("sqlite");
        session::globals().DbConnection = db.get();
        session::ReadHospitalInfoA(*db);
        session::ReadHospitalInfoB(*db);
        session::GetHospitalInfo(*db);
    }
    ~PictureSession() { session::resetGlobals(); }
    PictureSession(const PictureSession &) = delete;
    PictureSession &operator=(const PictureSession &) = delete;

    // Where the pictures go; empty when none are asked for.
    const QString folder;
    ScriptedMessages messages;
    std::unique_ptr<db::HostedConnection> db;
};

} // namespace chemodesk::test
