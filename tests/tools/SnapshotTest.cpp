// brv-snapshot renders a catalogue form offscreen, runs its clock in
// simulated time, and refuses bad input with status 2.
#include "snapshot/Snapshot.h"

#include "runtime/Catalogue.h"
#include "support/TestSupport.h"
#include "support/sample/SampleExperiment.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <initializer_list>

namespace brv {
namespace {

constexpr int kSample = 92;

// A command line brv-snapshot must refuse, and words its message holds.
struct Refused {
    QStringList args;
    const char* message;
};

// Each command line ends with status 2 and its message in errors (which run
// fills).
template <class Run>
void ExpectEachRefused(Run run, const QString& errors, std::initializer_list<Refused> cases)
{
    for (const Refused& c : cases) {
        EXPECT_EQ(run(c.args), 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(errors.contains(QLatin1String(c.message))) << errors.toStdString();
    }
}

struct SnapshotTest : ::testing::Test {
    void SetUp() override { test::RegisterSample(kSample); }
    void TearDown() override { TCatalogue::Instance().Unregister(kSample); }

    int Run(const QStringList& args)
    {
        errors.clear();
        QTextStream err(&errors);
        snapshot::Options options;
        if (!snapshot::ParseArguments(args, options, err))
            return 2;
        return snapshot::Run(options, err);
    }
    QTemporaryDir dir;
    QString errors;
};

TEST_F(SnapshotTest, RendersThePictureAtTheAskedSize)
{
    const QString out = dir.filePath(QStringLiteral("still.png"));
    ASSERT_EQ(Run({"--experiment", QString::number(kSample), "--size", "320x200", "--out", out}), 0)
        << errors.toStdString();
    QImage image(out);
    ASSERT_EQ(image.size(), QSize(320, 200));
    EXPECT_EQ(image.pixel(0, 0), 0xFF3F3F3Fu) << "the frame";
    EXPECT_EQ(image.pixel(100, 100), 0xFFFFFFFFu) << "the background";
    EXPECT_EQ(image.pixel(12, 25), 0xFFFF0000u) << "the dot layer at its start";
}

TEST_F(SnapshotTest, RunAdvancesTheClockInSimulatedTime)
{
    const QString out = dir.filePath(QStringLiteral("run.png"));
    // The sample's dot moves 50 px/s: after 2 s it starts at x = 110.
    ASSERT_EQ(
        Run({"--experiment", QString::number(kSample), "--size", "320x200", "--out", out, "--run", "2"}), 0)
        << errors.toStdString();
    QImage image(out);
    test::SavePicture(image, QStringLiteral("snapshot-sample-run"));
    EXPECT_EQ(image.pixel(12, 25), 0xFFFFFFFFu) << "the dot has left its start";
    EXPECT_EQ(image.pixel(112, 25), 0xFFFF0000u);
    EXPECT_EQ(image.pixel(118, 25), 0xFFFF0000u);
    EXPECT_EQ(image.pixel(122, 25), 0xFFFFFFFFu);
}

TEST_F(SnapshotTest, BadInputIsRefusedWithAMessage)
{
    const QString out = dir.filePath(QStringLiteral("x.png"));
    ExpectEachRefused(
        [this](const QStringList& args) { return Run(args); }, errors,
        {
            {{"--experiment", "42", "--size", "100x100", "--out", out}, "no experiment form has id 42"},
            {{"--experiment", "100", "--size", "100x100", "--out", out}, "no experiment form has id 100"},
            {{"--experiment", "x", "--size", "100x100", "--out", out}, "must be a number"},
            {{"--experiment", QString::number(kSample), "--size", "0x100", "--out", out}, "bad size"},
            {{"--experiment", QString::number(kSample), "--size", "100", "--out", out}, "bad size"},
            {{"--experiment", QString::number(kSample), "--size", "100x100", "--out",
              "/nonexistent-dir/x.png"},
             "cannot write"},
            {{"--experiment", QString::number(kSample), "--size", "100x100"}, "required"},
            {{"--experiment", QString::number(kSample), "--size", "100x100", "--out", out, "--run", "-1"},
             "bad run time"},
        });
}

TEST_F(SnapshotTest, DrawsTheApparatusSheet)
{
    const QString out = dir.filePath(QStringLiteral("sheet.png"));
    ASSERT_EQ(Run({"--apparatus-sheet", "--scale", "3", "--out", out}), 0) << errors.toStdString();
    QImage sheet(out);
    ASSERT_FALSE(sheet.isNull());
    EXPECT_GT(sheet.width(), 300);
    int coloured = 0;
    for (int y = 0; y < sheet.height(); y += 4)
        for (int x = 0; x < sheet.width(); x += 4)
            coloured += sheet.pixel(x, y) != 0xFFFFFFFFu;
    EXPECT_GT(coloured, sheet.width() * sheet.height() / 16 / 10) << "instruments were drawn";
    EXPECT_EQ(Run({"--apparatus-sheet", "--scale", "0", "--out", out}), 2);
    EXPECT_TRUE(errors.contains(QLatin1String("bad scale")));

    const QString chosen = dir.filePath(QStringLiteral("chosen.png"));
    ASSERT_EQ(Run({"--apparatus-sheet", "--scale", "3", "--temperature", "37", "--volume", "23.4",
                   "--voltage", "11", "--seconds", "61.5", "--out", chosen}),
              0)
        << errors.toStdString();
    EXPECT_EQ(QImage(chosen).size(), sheet.size());
    EXPECT_NE(QImage(chosen), sheet);
}

TEST_F(SnapshotTest, ReadingsOutsideTheirRangeOrWithoutTheSheetAreRefused)
{
    const QString out = dir.filePath(QStringLiteral("x.png"));
    ExpectEachRefused(
        [this](const QStringList& args) { return Run(args); }, errors,
        {
            {{"--apparatus-sheet", "--temperature", "warm", "--out", out}, "bad temperature"},
            {{"--apparatus-sheet", "--temperature", "nan", "--out", out}, "bad temperature"},
            {{"--apparatus-sheet", "--volume", "1e9", "--out", out}, "bad volume"},
            {{"--apparatus-sheet", "--voltage", "2.5", "--out", out}, "bad voltage"},
            {{"--apparatus-sheet", "--seconds", "-inf", "--out", out}, "bad seconds"},
            {{"--apparatus-sheet", "--seconds", "--out", out}, "bad seconds"},
            {{"--experiment", QString::number(kSample), "--size", "100x100", "--voltage", "3", "--out", out},
             "for the apparatus sheet"},
        });
    EXPECT_FALSE(QFileInfo::exists(out));
}

// The program itself, as a developer or a later build step runs it: exit
// status 0 with the picture written, or 2 with one clear line on stderr.
struct SnapshotProgramTest : ::testing::Test {
    void SetUp() override
    {
        if (!QFileInfo(program).isExecutable())
            GTEST_SKIP() << "brv-snapshot is not built in " << BRV_BINARY_DIR;
    }
    int Run(const QStringList& args)
    {
        QProcess p;
        p.start(program, args);
        if (!p.waitForFinished(60000))
            return -1;
        errors = QString::fromUtf8(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    const QString program = QStringLiteral(BRV_BINARY_DIR "/tools/brv-snapshot");
    QTemporaryDir dir;
    QString errors;
};

TEST_F(SnapshotProgramTest, ExitsWithStatusTwoAndAMessageOnBadInput)
{
    const QString out = dir.filePath(QStringLiteral("x.png"));
    ExpectEachRefused(
        [this](const QStringList& args) { return Run(args); }, errors,
        {
            {{"--experiment", "42", "--size", "100x100", "--out", out}, "no experiment form has id 42"},
            {{"--experiment", "1", "--size", "100by100", "--out", out}, "bad size"},
            {{"--experiment", "1", "--size", "100x100", "--out", dir.filePath("missing/x.png")},
             "cannot write"},
            {{"--experiment", "1"}, "required"},
            {{"--frobnicate"}, "unknown argument"},
        });
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST_F(SnapshotProgramTest, WritesTheProgramsExperimentsAtAnySize)
{
    struct Case {
        int id;
        QRgb ball;
    } cases[] = {{1, 0xFF007F00u}, {11, 0xFFFF0000u}};
    for (const Case& c : cases)
        for (const QSize size : {QSize(240, 180), QSize(1024, 768)}) {
            SCOPED_TRACE(c.id);
            SCOPED_TRACE(size.width());
            const QString out = dir.filePath(QStringLiteral("experiment.png"));
            ASSERT_EQ(Run({"--experiment", QString::number(c.id), "--size",
                           QStringLiteral("%1x%2").arg(size.width()).arg(size.height()), "--out", out}),
                      0)
                << errors.toStdString();
            const QImage image(out);
            ASSERT_EQ(image.size(), size);
            EXPECT_EQ(image.pixel(0, 0), 0xFF3F3F3Fu) << "the picture's frame";
            int ball = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    ball += image.pixel(x, y) == c.ball;
            EXPECT_GE(ball, 5) << "the ball is drawn";
        }
}

TEST_F(SnapshotProgramTest, DrawsTheResultsPanelUnderTheExperimentFromAResultsFile)
{
    const QString out = dir.filePath(QStringLiteral("results.png"));
    ASSERT_EQ(Run({"--experiment", "1", "--size", "960x960", "--results", test::DataPath("results/ball.json"),
                   "--out", out}),
              0)
        << errors.toStdString();
    const QImage image(out);
    ASSERT_EQ(image.size(), QSize(960, 960));
    // The line of best fit's red in the lower part, none in the picture above.
    const auto fitPixels = [&image](int top, int bottom) {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < image.width(); ++x)
                count += qRed(image.pixel(x, y)) > 150 && qGreen(image.pixel(x, y)) < 100 &&
                         qBlue(image.pixel(x, y)) < 100;
        return count;
    };
    EXPECT_GE(fitPixels(image.height() * 3 / 5, image.height()), 50);
    EXPECT_EQ(fitPixels(0, image.height() / 2), 0);

    const QString damaged = dir.filePath(QStringLiteral("damaged.json"));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\"format\": ");
    file.close();
    EXPECT_EQ(Run({"--experiment", "1", "--size", "400x400", "--results", damaged, "--out", out}), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("damaged"))) << errors.toStdString();
}

}  // namespace
}  // namespace brv
