#include "mainwindowfixture.h"

#include "assistant/characterfile.h"
#include "shell/mainrules.h"

#include <QSignalSpy>

namespace chemodesk::test {
namespace {

using assistant::AgentCharacter;

const char *const Small = "[character]\n"
                          "name=merlin\nwidth=60\nheight=80\nframeMs=50\n"
                          "[colours]\nrobe=#223388\n"
                          "[pose rest]\n"
                          "[pose up]\nrightArm=150\nglow=2\n"
                          "[pose talk]\nmouth=open\n"
                          "[animation announce]\nframes=up:40, rest\n"
                          "[animation speak]\nframes=talk, rest:30\n"
                          "[animation idle1_1]\nframes=rest:60\n";

class Assistant : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        parent.resize(900, 700);
        parent.show();
        agent = new AgentCharacter(&parent);
        agent->setTimeScale(0.05);
    }

    QString write(const QString &name, const QByteArray &content)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    QTemporaryDir dir;
    QWidget parent;
    AgentCharacter *agent = nullptr;
};

TEST_F(Assistant, LoadsTheShippedCharacter)
{
    ASSERT_TRUE(agent->Load(QStringLiteral("merlin"), resourceFile(QStringLiteral("merlin.acs"))))
        << agent->loadError().toStdString();
    EXPECT_EQ(agent->characterName(), QStringLiteral("merlin"));
    const QStringList names = agent->animationNames();
    for (const char *name : {"announce", "idle1_1", "idle1_2", "speak", "move", "show", "greet"})
        EXPECT_TRUE(names.contains(QLatin1String(name))) << name;
    // Any case of the name, as the character files were always named.
    EXPECT_TRUE(agent->Load(QStringLiteral("Merlin"), resourceFile(QStringLiteral("merlin.acs"))));
}

struct BadFile {
    const char *name;
    const char *content; // nullptr: the file is missing
};

class AssistantBadFile : public Assistant, public ::testing::WithParamInterface<BadFile> {};

TEST_P(AssistantBadFile, IsRefused)
{
    const QString path = GetParam().content ? write(QStringLiteral("bad.acs"), GetParam().content)
                                            : dir.filePath(QStringLiteral("missing.acs"));
    EXPECT_FALSE(agent->Load(QStringLiteral("merlin"), path));
    EXPECT_FALSE(agent->isLoaded());
    EXPECT_FALSE(agent->loadError().isEmpty());
    // Requests to a character never loaded are ignored.
    agent->Show();
    agent->Speak(QStringLiteral("hello"));
    EXPECT_FALSE(agent->isVisible());
    EXPECT_FALSE(agent->isBusy());
}

INSTANTIATE_TEST_SUITE_P(
    Files, AssistantBadFile,
    ::testing::Values(
        BadFile{"Missing", nullptr}, BadFile{"Empty", ""},
        BadFile{"OtherCharacter", "[character]\nname=genie\nwidth=9\nheight=9\n[pose rest]\n"},
        BadFile{"NoSize", "[character]\nname=merlin\n[pose rest]\n"},
        BadFile{"NoPose", "[character]\nname=merlin\nwidth=9\nheight=9\n"},
        BadFile{
            "UnknownPoseInFrames",
            "[character]\nname=merlin\nwidth=9\nheight=9\n[pose rest]\n[animation a]\nframes=rest, "
            "jump\n"},
        BadFile{"BadColour",
                "[character]\nname=merlin\nwidth=9\nheight=9\n[colours]\nrobe=blueish-ish\n"
                "[pose rest]\n"},
        BadFile{"ArmOutOfRange",
                "[character]\nname=merlin\nwidth=9\nheight=9\n[pose rest]\nleftArm=900\n"},
        BadFile{"NotKeyValue",
                "[character]\nname=merlin\nwidth=9\nheight=9\nthis is prose\n[pose rest]\n"},
        BadFile{"Binary", "\x7f"
                          "ELF\x02\x01\x01"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Assistant, ParserSaysWhichLineIsWrong)
{
    QString error;
    EXPECT_FALSE(assistant::parseCharacterFile(
        QStringLiteral("[character]\nname=merlin\nwidth=9\nheight=9\n[pose rest]\neyes=crossed\n"),
        &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("line 6:"))) << error.toStdString();
    const auto parsed = assistant::parseCharacterFile(QString::fromLatin1(Small), &error);
    ASSERT_TRUE(parsed) << error.toStdString();
    ASSERT_EQ(parsed->animations.value(QStringLiteral("announce")).size(), 2u);
    EXPECT_EQ(parsed->animations.value(QStringLiteral("announce")).at(0).ms, 40);
    EXPECT_EQ(parsed->animations.value(QStringLiteral("announce")).at(1).ms, 50);
    EXPECT_EQ(parsed->poses.value(QStringLiteral("up")).rightArm, 150);
}

// The announcement: appear, walk to the point, gesture, speak, rest, in turn.
TEST_F(Assistant, PlaysAQueuedSceneInOrder)
{
    ASSERT_TRUE(agent->Load(QStringLiteral("merlin"), write(QStringLiteral("m.acs"), Small)));
    QSignalSpy idle(agent, &AgentCharacter::idle);
    agent->Show();
    agent->MoveTo(650, 450);
    agent->Play(QStringLiteral("announce"));
    agent->Speak(QStringLiteral("You have discharge notice."));
    agent->Play(QStringLiteral("idle1_1"));
    EXPECT_TRUE(agent->isVisible());
    EXPECT_TRUE(agent->isBusy());

    ASSERT_TRUE(waitFor([&] { return agent->currentAnimation() == QLatin1String("announce"); }));
    EXPECT_EQ(agent->pos(), QPoint(650, 450));
    EXPECT_TRUE(agent->balloonText().isEmpty());
    ASSERT_TRUE(waitFor([&] { return !agent->balloonText().isEmpty(); }));
    EXPECT_EQ(agent->balloonText(), QStringLiteral("You have discharge notice."));
    ASSERT_TRUE(waitFor([&] { return !agent->isBusy(); }));
    EXPECT_EQ(idle.count(), 1);
    EXPECT_EQ(agent->currentPose(), QStringLiteral("rest"));
}

TEST_F(Assistant, SkipsAnimationsTheFileDoesNotDefine)
{
    ASSERT_TRUE(agent->Load(QStringLiteral("merlin"), write(QStringLiteral("m.acs"), Small)));
    agent->Show();
    agent->Play(QStringLiteral("juggle"));
    agent->Play(QStringLiteral("announce"));
    EXPECT_TRUE(waitFor([&] { return !agent->isBusy(); }));
}

TEST_F(Assistant, StaysInsideItsWindow)
{
    ASSERT_TRUE(agent->Load(QStringLiteral("merlin"), write(QStringLiteral("m.acs"), Small)));
    agent->Show();
    agent->MoveTo(5000, -40);
    ASSERT_TRUE(waitFor([&] { return !agent->isBusy(); }));
    EXPECT_EQ(agent->pos(), QPoint(parent.width() - 1 - agent->width(), 0));
}

TEST_F(Assistant, HideStopsTheSceneAtOnce)
{
    ASSERT_TRUE(agent->Load(QStringLiteral("merlin"), write(QStringLiteral("m.acs"), Small)));
    agent->setTimeScale(1.0);
    agent->Show();
    agent->Speak(QStringLiteral("A long sentence that would take a while to read."));
    agent->Play(QStringLiteral("announce"));
    ASSERT_TRUE(waitFor([&] { return !agent->balloonText().isEmpty(); }));
    agent->Hide();
    EXPECT_FALSE(agent->isVisible());
    EXPECT_FALSE(agent->isBusy());
    EXPECT_TRUE(agent->balloonText().isEmpty());
    // Nothing left over starts later.
    QTest::qWait(100);
    EXPECT_FALSE(agent->isVisible());
    EXPECT_TRUE(agent->currentAnimation().isEmpty());
}

// The count the main window polls: current admissions with a notice only.
TEST(DischargeNoticeCount, CountsCurrentAdmissionsWithANotice)
{
    for (const std::string &backend : backends()) {
        SCOPED_TRACE(backend);
        if (!backendAvailable(backend))
            continue;
        auto c = freshDatabase(backend);
        EXPECT_EQ(shell::DischargeNoticeCount(*c), 3);
        Recordset rs = c->Execute(QStringLiteral("select top 1 IdNum from PATIENT_DATA..tbPatient "
                                                 "where DischargeNotice = 1 order by IdNum"));
        ASSERT_FALSE(rs.atEnd());
        const QString idNum = rs.Fields(QStringLiteral("IdNum")).toString();
        c->Execute(QStringLiteral(
                       "UPDATE PATIENT_DATA..tbPatient SET DcrDate = getdate() WHERE IdNum = '") +
                   idNum + QLatin1Char('\''));
        EXPECT_EQ(shell::DischargeNoticeCount(*c), 2);
        c->Execute(QStringLiteral("UPDATE PATIENT_DATA..tbPatient SET DischargeNotice = 0"));
        EXPECT_EQ(shell::DischargeNoticeCount(*c), 0);
    }
}

} // namespace
} // namespace chemodesk::test
