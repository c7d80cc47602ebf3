// The six saved values: the position's byte layout, every kind of damage
// falling back to the default, and a store that cannot be written.
#include "shell/uSettings.h"

#include "runtime/BRV_StrConstants.h"
#include "shell/FrameTestSupport.h"
#include "shell/uFrame.h"
#include "shell/uLessonPane.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <vector>

namespace brv {
namespace {

using namespace frametest;

QByteArray Sides(qint64 left, qint64 top, qint64 right, qint64 bottom)
{
    QByteArray bytes;
    for (qint64 side : {left, top, right, bottom}) {
        const auto v = quint32(qint32(side));
        for (int i = 0; i < 4; ++i)
            bytes.append(char((v >> (8 * i)) & 0xFF));
    }
    return bytes;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    void TearDown() override
    {
        ClearSettings();
        if (!blocked.isEmpty())
            QDir(blocked).removeRecursively();
    }

    TSavedSettings ReadWith(const QString& key, const QVariant& value)
    {
        PutSetting(key, value);
        // One sound value keeps the store from counting as absent.
        PutSetting(QStringLiteral("unrelated"), 1);
        std::optional<TSavedSettings> saved = ReadSettings();
        EXPECT_TRUE(saved.has_value());
        ClearSettings();
        return saved.value_or(TSavedSettings());
    }

    QString blocked;
};

TEST_F(SettingsTest, PositionIsSixteenLittleEndianBytesOfLeftTopRightBottom)
{
    const QByteArray bytes = EncodePosition(QRect(1, -2, 300, 200));
    EXPECT_EQ(bytes, Sides(1, -2, 301, 198));
    EXPECT_EQ(bytes.toHex(), QByteArray("01000000feffffff2d010000c6000000"));
    EXPECT_EQ(DecodePosition(bytes), QRect(1, -2, 300, 200));
}

// Test programs run side by side: each must keep its settings in the config
// folder the test entry made for it, never in a folder they share.
TEST_F(SettingsTest, TheStoreLivesInThisTestProgramsOwnFolder)
{
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_FALSE(config.isEmpty());
    ASSERT_TRUE(config.startsWith(QDir::tempPath())) << config.toStdString();
    std::unique_ptr<QSettings> store(NewSettingsStore());
    EXPECT_TRUE(store->fileName().startsWith(config + QLatin1Char('/'))) << store->fileName().toStdString();
}

TEST_F(SettingsTest, AMissingStoreReadsAsAbsent)
{
    EXPECT_FALSE(ReadSettings().has_value());
}

TEST_F(SettingsTest, SoundValuesAreRead)
{
    const QRect onScreen = QGuiApplication::primaryScreen()->availableGeometry().adjusted(5, 5, -5, -5);
    PutSetting(QStringLiteral("zoom"), 4);
    PutSetting(QStringLiteral("textbgnd"), QStringLiteral("#d9eaff"));
    PutSetting(QStringLiteral("TBTop"), 0);
    PutSetting(QStringLiteral("Skin"), QStringLiteral("High contrast"));
    PutSetting(QStringLiteral("Large"), 1);
    PutSetting(QStringLiteral("position"), EncodePosition(onScreen));
    const std::optional<TSavedSettings> saved = ReadSettings();
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->zoom, 4);
    EXPECT_EQ(saved->textBackground, QStringLiteral("#D9EAFF"));
    EXPECT_EQ(saved->toolbarsAtTop, false);
    EXPECT_EQ(saved->skin, QStringLiteral("High contrast"));
    EXPECT_EQ(saved->large, true);
    EXPECT_EQ(saved->position, onScreen);
}

// Each damaged value is dropped, and the window keeps its default for it.
TEST_F(SettingsTest, DamagedValuesReadAsAbsent)
{
    struct Case {
        const char* what;
        QString key;
        QVariant value;
    };
    const QString zoom = QStringLiteral("zoom");
    const QString colour = QStringLiteral("textbgnd");
    const QString top = QStringLiteral("TBTop");
    const QString skin = QStringLiteral("Skin");
    const QString large = QStringLiteral("Large");
    const QString position = QStringLiteral("position");
    const Case cases[] = {
        {"zoom above 4", zoom, 5},
        {"zoom below 0", zoom, -1},
        {"zoom as text", zoom, QStringLiteral("medium")},
        {"zoom as a fraction", zoom, QStringLiteral("2.5")},
        {"zoom as bytes", zoom, QByteArray("\x02\x00\x00\x00", 4)},
        {"zoom beyond 32 bits", zoom, QStringLiteral("4294967298")},
        {"colour not one of the three", colour, QStringLiteral("#123456")},
        {"colour as a number", colour, 16777215},
        {"colour as bytes", colour, QByteArray("#FFFFFF")},
        {"toolbar place as text", top, QStringLiteral("bottom")},
        {"toolbar place as bytes", top, QByteArray(1, '\0')},
        {"unknown skin", skin, QStringLiteral("Windows 95")},
        {"empty skin", skin, QString()},
        {"skin as bytes", skin, QByteArray("Office 2003")},
        {"large as text", large, QStringLiteral("yes")},
        {"position of 15 bytes", position, QByteArray(15, '\0')},
        {"position of 17 bytes", position, Sides(0, 0, 400, 300) + '\0'},
        {"position as text", position, QStringLiteral("0123456789abcdef")},
        {"position as a number", position, 16},
        {"position inside out", position, Sides(500, 100, 100, 400)},
        {"position of no width", position, Sides(100, 100, 100, 400)},
        {"position spanning all of 32 bits", position, Sides(INT_MIN, 0, INT_MAX, 300)},
        {"position off every screen", position, Sides(-30000, -30000, -29000, -29000)},
        {"position a sliver on screen", position, Sides(-795, 0, 5, 600)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TSavedSettings saved = ReadWith(c.key, c.value);
        EXPECT_FALSE(saved.zoom.has_value());
        EXPECT_FALSE(saved.textBackground.has_value());
        EXPECT_FALSE(saved.toolbarsAtTop.has_value());
        EXPECT_FALSE(saved.skin.has_value());
        EXPECT_FALSE(saved.large.has_value());
        EXPECT_FALSE(saved.position.has_value());
    }
}

// Bounds saved on a larger display, or damaged, are made to fit the work area
// of the screen they land on: the window and its close confirmation stay
// reachable and the engine is never asked for a window of gigapixels.
TEST_F(SettingsTest, SavedBoundsAreFittedIntoTheWorkArea)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case {
        const char* what;
        QRect saved;
        QRect read;
    };
    const Case cases[] = {
        {"inside: kept exactly", area.adjusted(10, 20, -30, -40), area.adjusted(10, 20, -30, -40)},
        {"the largest side accepted", QRect(area.topLeft(), QSize(65536, 65536)), area},
        {"50 000 pixels square", QRect(area.left() + 100, area.top() + 100, 50000, 50000), area},
        {"8 192 square from a desk display", QRect(area.left() - 4000, area.top() - 4000, 8192, 8192), area},
        {"too wide only", QRect(area.left() + 40, area.top() + 30, area.width() + 500, 300),
         QRect(area.left(), area.top() + 30, area.width(), 300)},
        {"hanging over the right and bottom edges", QRect(area.right() - 99, area.bottom() - 99, 400, 300),
         QRect(area.right() + 1 - 400, area.bottom() + 1 - 300, 400, 300)},
        {"hanging over the left and top edges", QRect(area.left() - 200, area.top() - 100, 400, 300),
         QRect(area.topLeft(), QSize(400, 300))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FitOnScreen(c.saved), c.read);
        EXPECT_EQ(ReadWith(QStringLiteral("position"), EncodePosition(c.saved)).position, c.read);
    }
}

// Damaged values are set aside one by one, the rest kept, and the user is
// told once which file held which.
TEST_F(SettingsTest, UnusableValuesAreNamedWithTheirFile)
{
    PutSetting(QStringLiteral("zoom"), 9);
    PutSetting(QStringLiteral("textbgnd"), QStringLiteral("#D9EAFF"));
    PutSetting(QStringLiteral("Skin"), QStringLiteral("No such theme"));
    PutSetting(QStringLiteral("position"), QByteArray("short"));
    PutSetting(QStringLiteral("experiment"), 0);  // written when no experiment was shown: sound
    PutSetting(QStringLiteral("Large"), 1);
    std::optional<TSavedSettings> saved = ReadSettings();
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->textBackground, QStringLiteral("#D9EAFF"));
    EXPECT_EQ(saved->large, true);
    EXPECT_EQ(saved->unusable,
              (QStringList{QStringLiteral("zoom"), QStringLiteral("Skin"), QStringLiteral("position")}));
    std::unique_ptr<QSettings> store(NewSettingsStore());
    const QString message = UnusableSettingsMessage(*saved);
    EXPECT_EQ(message, str::sSettingsUnusable().arg(QDir::toNativeSeparators(store->fileName()),
                                                    QStringLiteral("\"zoom\", \"Skin\", \"position\"")));

    std::vector<QString> errors;
    {
        TProgramFolder folder;
        TFrameFrm frame(folder.Path());
        frame.ShowError = [&errors](const QString& m) { errors.push_back(m); };
        frame.ConfirmClose = [](QWidget*) { return true; };
        Pump(100);
        EXPECT_EQ(frame.EWBPanel()->TextBackground(), QStringLiteral("#D9EAFF"))
            << "the sound values are kept";
        frame.close();
    }
    EXPECT_EQ(errors, std::vector<QString>{message});
    // Written afresh at exit, the file has nothing more to say.
    saved = ReadSettings();
    ASSERT_TRUE(saved.has_value());
    EXPECT_TRUE(saved->unusable.isEmpty()) << saved->unusable.join(QLatin1Char(',')).toStdString();
}

TEST_F(SettingsTest, OnlyZeroPutsTheToolbarsAtTheBottom)
{
    EXPECT_EQ(ReadWith(QStringLiteral("TBTop"), 0).toolbarsAtTop, false);
    EXPECT_EQ(ReadWith(QStringLiteral("TBTop"), 1).toolbarsAtTop, true);
    EXPECT_EQ(ReadWith(QStringLiteral("TBTop"), 7).toolbarsAtTop, true);
    EXPECT_EQ(ReadWith(QStringLiteral("Large"), 0).large, false);
    EXPECT_EQ(ReadWith(QStringLiteral("Large"), -3).large, true);
}

TEST_F(SettingsTest, AnUnwritableStoreIsSilentlyNotSaved)
{
    // Even root cannot write a file where a folder stands.
    std::unique_ptr<QSettings> store(NewSettingsStore());
    blocked = store->fileName();
    store.reset();
    QFile::remove(blocked);
    ASSERT_TRUE(QDir().mkpath(blocked));
    TSettingsToSave values;
    values.skin = QStringLiteral("Office 2003");
    values.position = QRect(0, 0, 640, 480);
    EXPECT_FALSE(WriteSettings(values));
    EXPECT_TRUE(QFileInfo(blocked).isDir());

    // The window closes all the same.
    TProgramFolder folder;
    TFrameFrm frame(folder.Path());
    frame.ConfirmClose = [](QWidget*) { return true; };
    ShowAndWait(&frame);
    EXPECT_TRUE(frame.close());
}

}  // namespace
}  // namespace brv
