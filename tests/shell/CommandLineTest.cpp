// The command line: help, version, refusals with exit code 2 (answered before
// any display is needed), and opening at an experiment or a page.
#include "shell/uCommandLine.h"

#include "experiments/ExperimentCatalogue.h"
#include "experiments/biology/uPhotosynthesis.h"
#include "experiments/physics/uBall.h"
#include "experiments/physics/uCar.h"
#include "runtime/BRV_StrConstants.h"
#include "shell/FrameTestSupport.h"
#include "shell/uFrame.h"
#include "shell/uLessonPane.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <memory>

namespace brv {
namespace {

using namespace frametest;
using TAction = TCommandLine::TAction;

const QString kProgram = QStringLiteral("brevalis");

QString Book()
{
    return QDir(test::DataPath(QStringLiteral("lesson"))).absolutePath();
}

struct TParseCase {
    const char* name;
    QStringList arguments;
    TQtOptions qtOptions;
    TAction action;
    const char* experiment;
    const char* page;
    QString message;
};

void PrintTo(const TParseCase& c, std::ostream* out)
{
    *out << c.name;
}

class ParseCase : public ::testing::TestWithParam<TParseCase> {};

TEST_P(ParseCase, ReadsWhatTheUserTyped)
{
    const TParseCase& c = GetParam();
    const TCommandLine line = ParseCommandLine(c.arguments, kProgram, c.qtOptions);
    EXPECT_EQ(line.action, c.action);
    EXPECT_EQ(line.experiment, QLatin1String(c.experiment));
    EXPECT_EQ(line.page, QLatin1String(c.page));
    EXPECT_EQ(line.message, c.message);
}

QString Unknown(const char* option)
{
    return str::sCommandLineUnknownOption().arg(kProgram, QLatin1String(option));
}

constexpr TQtOptions kBefore = TQtOptions::StillPresent;
constexpr TQtOptions kAfter = TQtOptions::Removed;

INSTANTIATE_TEST_SUITE_P(
    Table, ParseCase,
    ::testing::Values(
        TParseCase{"NothingRunsAsAlways", {}, kAfter, TAction::Run, "", "", {}},
        TParseCase{
            "Help", {"--help"}, kAfter, TAction::ShowHelp, "", "", str::sCommandLineHelp().arg(kProgram)},
        TParseCase{"Version",
                   {"--version"},
                   kBefore,
                   TAction::ShowVersion,
                   "",
                   "",
                   str::sCommandLineVersion().arg(QStringLiteral(BRV_VERSION))},
        TParseCase{"ExperimentAsTwoWords", {"--experiment", "ball"}, kAfter, TAction::Run, "ball", "", {}},
        TParseCase{"PageWithEquals", {"--page=BALL-PLAN.HTM"}, kAfter, TAction::Run, "", "BALL-PLAN.HTM", {}},
        TParseCase{"BothPlaces",
                   {"--page", "CAR.HTM", "--experiment=car"},
                   kAfter,
                   TAction::Run,
                   "car",
                   "CAR.HTM",
                   {}},
        TParseCase{"UnknownOption", {"--bogus"}, kAfter, TAction::Refuse, "", "", Unknown("--bogus")},
        TParseCase{
            "UnknownOptionWithValue", {"--zoom=3"}, kBefore, TAction::Refuse, "", "", Unknown("--zoom")},
        TParseCase{"UnknownBeforeHelpIsRefused",
                   {"--bogus", "--help"},
                   kAfter,
                   TAction::Refuse,
                   "",
                   "",
                   Unknown("--bogus")},
        TParseCase{"ExperimentWithoutItsName",
                   {"--experiment"},
                   kBefore,
                   TAction::Refuse,
                   "",
                   "",
                   str::sCommandLineMissingValue().arg(kProgram, QStringLiteral("--experiment"))},
        TParseCase{"PageWithAnEmptyName",
                   {"--page="},
                   kAfter,
                   TAction::Refuse,
                   "",
                   "",
                   str::sCommandLineMissingValue().arg(kProgram, QStringLiteral("--page"))},
        // Qt's own options are still there before the application object
        // takes them; afterwards anything left over is a mistake.
        TParseCase{"QtOptionsBefore", {"-platform", "xcb", "-reverse"}, kBefore, TAction::Run, "", "", {}},
        TParseCase{"SingleDashAfter",
                   {"-x"},
                   kAfter,
                   TAction::Refuse,
                   "",
                   "",
                   str::sCommandLineUnexpectedArgument().arg(kProgram, QStringLiteral("-x"))},
        TParseCase{"StrayWordAfter",
                   {"ball"},
                   kAfter,
                   TAction::Refuse,
                   "",
                   "",
                   str::sCommandLineUnexpectedArgument().arg(kProgram, QStringLiteral("ball"))},
        TParseCase{"OptionsEndAtTwoDashes",
                   {"--", "--help"},
                   kAfter,
                   TAction::Refuse,
                   "",
                   "",
                   str::sCommandLineUnexpectedArgument().arg(kProgram, QStringLiteral("--help"))}),
    [](const ::testing::TestParamInfo<TParseCase>& info) { return std::string(info.param.name); });

class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterExperiments();
        ClearSettings();
    }
    void TearDown() override
    {
        frame.reset();
        FlushDeferredDeletes();
        ClearSettings();
    }

    std::unique_ptr<TFrameFrm> frame;
};

TEST_F(CommandLineTest, AnExperimentIsNamedByItsMainPageOrItsNumber)
{
    const struct {
        const char* name;
        ExperimentId id;  // 0: none
    } cases[] = {{"ball", ids::Ball},
                 {"BALL", ids::Ball},
                 {"Photosyn", ids::Photosynthesis},
                 {"20", ids::Car},
                 {"voltmod", ids::VoltageMovie},
                 {"ball.htm", 0},
                 {"12", 0},
                 {"", 0},
                 {"nosuch", 0}};
    for (const auto& c : cases) {
        const TCatalogueEntry* entry = ExperimentNamed(QLatin1String(c.name));
        EXPECT_EQ(entry == nullptr ? 0 : entry->id, c.id) << c.name;
    }
    EXPECT_EQ(ExperimentNames().first(), QStringLiteral("amylase")) << "in the Experiments menu's order";
    EXPECT_TRUE(ExperimentNames().contains(QStringLiteral("voltmod")));
}

TEST_F(CommandLineTest, APlaceTheBookLacksIsRefused)
{
    const struct {
        const char* experiment;
        const char* page;
        QString message;  // empty: the place is there
    } cases[] = {
        {"ball", "", {}},
        {"", "ball-data.htm", {}},
        {"", "BALL-DATA.HTM", {}},
        {"nosuch", "",
         str::sCommandLineUnknownExperiment().arg(kProgram, QStringLiteral("nosuch"),
                                                  ExperimentNames().join(QStringLiteral(", ")))},
        {"", "BALL-PLAN.HTM",
         str::sCommandLineMissingPage().arg(kProgram, QStringLiteral("BALL-PLAN.HTM"), Book())},
        {"", "../html/index.html",
         str::sCommandLineMissingPage().arg(kProgram, QStringLiteral("../html/index.html"), Book())},
        {"", "images", str::sCommandLineMissingPage().arg(kProgram, QStringLiteral("images"), Book())},
    };
    for (const auto& c : cases) {
        TCommandLine line;
        line.experiment = QLatin1String(c.experiment);
        line.page = QLatin1String(c.page);
        CheckStartPlace(line, kProgram, Book());
        EXPECT_EQ(line.action, c.message.isEmpty() ? TAction::Run : TAction::Refuse)
            << c.experiment << c.page;
        EXPECT_EQ(line.message, c.message) << c.experiment << c.page;
    }
}

TEST_F(CommandLineTest, TheWindowOpensAtTheExperimentAsked)
{
    frame = std::make_unique<TFrameFrm>(Book());
    frame->ConfirmClose = [](QWidget*) { return true; };
    TCommandLine line;
    line.experiment = QStringLiteral("ball");
    OpenStartPlace(*frame, line);
    ShowAndWait(frame.get());
    EXPECT_TRUE(WaitFor([this] { return frame->EWB()->url().fileName() == QStringLiteral("BALL.HTM"); }));
    EXPECT_TRUE(WaitFor([this] { return frame->CurrentExperimentId() == ids::Ball; }));
}

TEST_F(CommandLineTest, TheWindowOpensAtThePageAsked)
{
    frame = std::make_unique<TFrameFrm>(Book());
    frame->ConfirmClose = [](QWidget*) { return true; };
    TCommandLine line;
    line.page = QStringLiteral("ball-data.htm");
    line.experiment = QStringLiteral("car");
    OpenStartPlace(*frame, line);
    ShowAndWait(frame.get());
    EXPECT_TRUE(WaitFor([this] { return frame->EWB()->url().fileName() == QStringLiteral("ball-data.htm"); }))
        << "the page decides";
    EXPECT_TRUE(WaitFor([this] { return frame->CurrentExperimentId() == ids::Ball; }));
}

// The program itself: help, version and refusals need no display, so a
// technician can ask over a remote shell.
TEST(CommandLineProgram, AnswersWithoutADisplay)
{
    const struct {
        QStringList arguments;
        int exitCode;
        QString output;
    } cases[] = {
        {{"--version"}, 0, str::sCommandLineVersion().arg(QStringLiteral(BRV_VERSION))},
        {{"--help"}, 0, str::sCommandLineHelp().arg(kProgram)},
        {{"--bogus"}, 2, Unknown("--bogus")},
        {{"--page"}, 2, str::sCommandLineMissingValue().arg(kProgram, QStringLiteral("--page"))},
    };
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const auto& c : cases) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(QDir(QStringLiteral(BRV_PROGRAM_DIR)).filePath(kProgram), c.arguments);
        ASSERT_TRUE(program.waitForFinished(30000)) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(program.exitCode(), c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(QString::fromLocal8Bit(program.readAll()), c.output) << c.arguments.join(' ').toStdString();
    }
}

}  // namespace
}  // namespace brv
