// Flash movies played by the emulator in the Flash panel: the movie shown
// whole in a pane of another shape, odd file names, a missing, damaged or
// oversized movie named in the panel, and silence when the player is missing.
#include "shell/uFlashPanel.h"

#include "runtime/BRV_StrConstants.h"
#include "shell/FrameTestSupport.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace brv {
namespace {

using namespace frametest;

bool Loaded(const TFlashPanel& panel)
{
    return panel.Flash() != nullptr && panel.Flash()->title() == QStringLiteral("loaded");
}

bool Near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) < 24 && std::abs(a.green() - b.green()) < 24 &&
           std::abs(a.blue() - b.blue()) < 24;
}

class FlashPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.AddPlayer();
        panel.resize(600, 200);
    }

    TProgramFolder folder;
    TFlashPanel panel{folder.Path()};
};

TEST_F(FlashPanelTest, PlaysTheMovieScaledToShowAllOfIt)
{
    ASSERT_TRUE(panel.PlayerAvailable()) << "run scripts/setup to install the Flash player";
    // A 320 × 240 stage covered in blue, on red, in a 600 × 200 pane: shown
    // whole it is 267 pixels wide and centred; red shows beside it.
    const QString movie =
        folder.Add(QStringLiteral("Flash/Voltage.swf"), MakeSwf(320, 240, Qt::red, Qt::blue));
    ShowAndWait(&panel);
    panel.LoadMovie(movie);
    ASSERT_TRUE(WaitFor([this] { return Loaded(panel); }, 30000)) << panel.Flash()->title().toStdString();
    QImage shot;
    const auto painted = [&] {
        shot = panel.Flash()->grab().toImage();
        return Near(shot.pixelColor(300, 100), Qt::blue);
    };
    ASSERT_TRUE(WaitFor(painted, 10000));
    test::SavePicture(shot, QStringLiteral("flash-panel"));
    const double stage = 200.0 * 320 / 240;
    const int left = int(300 - stage / 2);
    const int right = int(300 + stage / 2);
    EXPECT_TRUE(Near(shot.pixelColor(20, 100), Qt::red));
    EXPECT_TRUE(Near(shot.pixelColor(left - 8, 100), Qt::red)) << "not shown at its own size";
    EXPECT_TRUE(Near(shot.pixelColor(left + 8, 100), Qt::blue));
    EXPECT_TRUE(Near(shot.pixelColor(right - 8, 100), Qt::blue));
    EXPECT_TRUE(Near(shot.pixelColor(right + 8, 100), Qt::red)) << "not stretched to fit";
    EXPECT_TRUE(Near(shot.pixelColor(300, 3), Qt::blue)) << "the whole height is used";
}

TEST_F(FlashPanelTest, AHiddenPanelStopsItsMovieAndShowingItPlaysItAgain)
{
    ASSERT_TRUE(panel.PlayerAvailable()) << "run scripts/setup to install the Flash player";
    const QString movie =
        folder.Add(QStringLiteral("Flash/Voltage.swf"), MakeSwf(320, 240, Qt::red, Qt::blue));
    ShowAndWait(&panel);
    panel.LoadMovie(movie);
    ASSERT_TRUE(WaitFor([this] { return Loaded(panel); }, 30000));
    panel.hide();
    EXPECT_FALSE(panel.Playing());
    EXPECT_TRUE(WaitFor([this] { return panel.Flash()->title() != QStringLiteral("loaded"); }, 10000))
        << "the player page is still running";
    panel.show();
    EXPECT_TRUE(WaitFor([this] { return Loaded(panel); }, 30000));
    EXPECT_TRUE(panel.Playing());
    EXPECT_EQ(panel.Flash()->url(), panel.PlayerUrl(movie));
}

TEST_F(FlashPanelTest, OddFileNamesReachThePlayerIntact)
{
    ASSERT_TRUE(panel.PlayerAvailable());
    const QString movie =
        folder.Add(QStringLiteral("Flash/a b&c=d+e%20f#g.swf"), MakeSwf(100, 100, Qt::green, Qt::green));
    ShowAndWait(&panel);
    panel.LoadMovie(movie);
    EXPECT_TRUE(WaitFor([this] { return Loaded(panel); }, 30000));
    EXPECT_EQ(panel.MoviePath(), movie);
}

TEST_F(FlashPanelTest, AMissingMovieLoadsNothingAndIsNamed)
{
    const QString missing = QDir(folder.Path()).filePath(QStringLiteral("Flash/Nothing.swf"));
    panel.LoadMovie(missing);
    EXPECT_EQ(panel.Flash(), nullptr);
    EXPECT_TRUE(panel.MoviePath().isEmpty());
    EXPECT_EQ(panel.Notice(), str::sMovieMissing().arg(QDir::toNativeSeparators(missing)));
}

TEST_F(FlashPanelTest, AnOversizedMovieIsNotHandedToThePlayer)
{
    const QString movie = folder.Add(QStringLiteral("Flash/Huge.swf"), QByteArray());
    QFile file(movie);
    ASSERT_TRUE(file.resize(TFlashPanel::MaxMovieBytes + 1));  // sparse: costs no disk
    panel.LoadMovie(movie);
    EXPECT_EQ(panel.Flash(), nullptr);
    EXPECT_EQ(panel.Notice(), str::sMovieTooLarge()
                                  .arg(QDir::toNativeSeparators(movie))
                                  .arg(64)
                                  .arg(TFlashPanel::MaxMovieBytes >> 20));
}

// The player's own failure page names nothing; the panel names the file, and
// a sound movie loaded after it plays.
TEST_F(FlashPanelTest, ADamagedMovieIsNamedAndTheNextMoviePlays)
{
    ASSERT_TRUE(panel.PlayerAvailable()) << "run scripts/setup to install the Flash player";
    const QByteArray sound = MakeSwf(320, 240, Qt::red, Qt::blue);
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"Flash/Text.swf", QByteArray("this is not a movie").repeated(20)},
        {"Flash/Cut.swf", sound.left(sound.size() / 2)},
        {"Flash/Empty.swf", QByteArray()},
    };
    ShowAndWait(&panel);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString movie = folder.Add(QLatin1String(c.name), c.bytes);
        panel.LoadMovie(movie);
        const QString damaged = str::sMovieDamaged().arg(QDir::toNativeSeparators(movie));
        EXPECT_TRUE(WaitFor([&] { return panel.Notice() == damaged; }, 30000))
            << panel.Notice().toStdString();
    }
    const QString good = folder.Add(QStringLiteral("Flash/Voltage.swf"), sound);
    panel.LoadMovie(good);
    EXPECT_TRUE(panel.Notice().isEmpty());
    EXPECT_TRUE(WaitFor([this] { return Loaded(panel); }, 30000));
}

TEST_F(FlashPanelTest, WithoutThePlayerNothingIsLoaded)
{
    TProgramFolder bare;
    TFlashPanel alone(bare.Path());
    const QString movie = bare.Add(QStringLiteral("Flash/Voltage.swf"), MakeSwf(100, 100, Qt::red, Qt::red));
    EXPECT_FALSE(alone.PlayerAvailable());
    alone.LoadMovie(movie);
    EXPECT_EQ(alone.Flash(), nullptr);
}

}  // namespace
}  // namespace brv
