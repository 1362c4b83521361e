#pragma once

// A main window started the way the program starts it, on a fresh demo
// database: the user component signs a demo employee in from its settings
// file, the assistant's file lies in the window's program folder, and the
// single-copy lock is the test's own.

#include "assistant/agentcharacter.h"
#include "patients/frmsearchpatient.h"
#include "patients/linklabel.h"
#include "session/globals.h"
#include "shell/frmmain.h"
#include "support/scriptedmessages.h"
#include "support/testdatabase.h"
#include "testpaths.h"
#include "widgets/screenregistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace chemodesk::test {

// Access codes of the demo employees.
inline QString accessCodeOf(const QString &employee)
{
    static const std::map<QString, QString> codes{
        {QStringLiteral("1001"), QStringLiteral("ROSE1001")},
        {QStringLiteral("1002"), QStringLiteral("JPV1002")},
        {QStringLiteral("1003"), QStringLiteral("ANA1003")},
        {QStringLiteral("1004"), QStringLiteral("MARK1004")},
        {QStringLiteral("1005"), QStringLiteral("LORNA1005")}};
    const auto found = codes.find(employee);
    return found == codes.end() ? QString() : found->second;
}

// A file of the repository's resources folder.
inline QString resourceFile(const QString &name)
{
    return QStringLiteral(CHEMODESK_SOURCE_DIR "/resources/") + name;
}

inline bool waitFor(const std::function<bool()> &condition, int ms = 5000)
{
    return QTest::qWaitFor(condition, ms);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        session::resetGlobals();
        widgets::screens().clear();
        db = freshDatabase("sqlite");
        QDir().mkpath(QStringLiteral(CHEMODESK_TEST_TMP));
        dir = std::make_unique<QTemporaryDir>(
            QStringLiteral(CHEMODESK_TEST_TMP "/mainwindow-XXXXXX"));
        programFolder = dir->filePath(QStringLiteral("program"));
        QDir().mkpath(programFolder);
        ASSERT_TRUE(QFile::copy(resourceFile(QStringLiteral("merlin.acs")),
                                programFolder + QStringLiteral("/merlin.acs")));
    }

    void TearDown() override
    {
        windows.clear();
        widgets::screens().clear();
        session::resetGlobals();
    }

    // The user component's settings: the fresh database and, when given, the
    // employee it signs in without asking.
    QString writeSettings(const QString &employee, const QString &accessCode)
    {
        const QString path = dir->filePath(QStringLiteral("signin.ini"));
        QFile::remove(path);
        QSettings settings(path, QSettings::IniFormat);
        settings.setValue(QStringLiteral("database/kind"), QStringLiteral("embedded"));
        settings.setValue(QStringLiteral("database/file"), lastTarget());
        settings.setValue(QStringLiteral("signin/employee"), employee);
        qputenv("CHEMODESK_ACCESS_CODE", accessCode.toUtf8());
        settings.sync();
        return path;
    }

    shell::MainWindowOptions options(const QString &employee)
    {
        shell::MainWindowOptions o;
        o.userSettingsPath = writeSettings(employee, accessCodeOf(employee));
        o.programFolder = programFolder;
        o.instanceLockPath = dir->filePath(QStringLiteral("chemodesk.lock"));
        return o;
    }

    // A window that has not started yet; the assistant plays quickly.
    shell::frmMain &window(const shell::MainWindowOptions &o)
    {
        windows.push_back(std::make_unique<shell::frmMain>(o));
        windows.back()->agent()->setTimeScale(0.01);
        return *windows.back();
    }

    // A started window with `employee` signed in.
    shell::frmMain &start(const QString &employee = QStringLiteral("1001"))
    {
        shell::frmMain &w = window(options(employee));
        started = w.startUp();
        EXPECT_TRUE(started) << messages.lastText().toStdString();
        return w;
    }

    // Chooses the patient `idNum` in the list, under option 0 (in-patients),
    // 1 (walk-in cash) or 2 (out-patients).
    static bool choose(shell::frmMain &w, int option, const QString &idNum)
    {
        patients::frmSearchPatient *list = w.patientList();
        if (!list)
            return false;
        list->optPatientType[option]->click();
        for (int i = 0; i < list->ListView1->topLevelItemCount(); ++i) {
            QTreeWidgetItem *item = list->ListView1->topLevelItem(i);
            if (item->text(1) == idNum) {
                list->ListView1->setCurrentItem(item);
                list->chooseCurrentPatient();
                return w.txtIDNum->text() == idNum;
            }
        }
        return false;
    }

    // The first value of a query on the test's own connection.
    QString first(const QString &text)
    {
        Recordset rs = db->Execute(text);
        return rs.atEnd() ? QString() : rs.Fields(0).toString();
    }

    // Declared first: answers boxes until every window is gone.
    ScriptedMessages messages;
    std::unique_ptr<db::HostedConnection> db;
    std::unique_ptr<QTemporaryDir> dir;
    QString programFolder;
    std::vector<std::unique_ptr<shell::frmMain>> windows;
    bool started = false;
};

} // namespace chemodesk::test
