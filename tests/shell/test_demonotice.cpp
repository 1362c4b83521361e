// The main window says plainly when it runs on the demonstration database.

#include "shell/demonotice.h"

#include "support/testdatabase.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

#include <gtest/gtest.h>

using namespace chemodesk;

TEST(DemoNotice, TitleAndStatusBarTellADemonstrationDatabase)
{
    EXPECT_TRUE(shell::runsOnDemoDatabase(test::freshDatabase("sqlite").get()));
    EXPECT_FALSE(shell::runsOnDemoDatabase(test::freshDatabase("sqlite", false).get()));
    EXPECT_FALSE(shell::runsOnDemoDatabase(nullptr));

    QMainWindow real;
    real.setWindowTitle(QStringLiteral("TOLVEX"));
    shell::showDemoNotice(real, false);
    EXPECT_EQ(real.windowTitle(), QStringLiteral("TOLVEX"));
    EXPECT_EQ(real.findChild<QLabel *>(QStringLiteral("sbDemoDatabase")), nullptr);

    QMainWindow demo;
    demo.setWindowTitle(QStringLiteral("TOLVEX"));
    shell::showDemoNotice(demo, true);
    shell::showDemoNotice(demo, true); // told once however often asked
    EXPECT_EQ(demo.windowTitle(), QStringLiteral("TOLVEX - DEMONSTRATION DATABASE"));
    EXPECT_EQ(demo.statusBar()->findChildren<QLabel *>(QStringLiteral("sbDemoDatabase")).size(), 1);
}
