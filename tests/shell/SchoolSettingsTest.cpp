// The school's settings for every user of a computer: each value the pupil has
// none of their own for comes from the school's file in the system's
// configuration folders, the pupil's own value wins, and a school file that
// cannot be used is ignored whole and named.
#include "experiments/ExperimentCatalogue.h"
#include "experiments/physics/uBall.h"
#include "runtime/BRV_StrConstants.h"
#include "shell/FrameTestSupport.h"
#include "shell/uFrame.h"
#include "shell/uLessonPane.h"
#include "shell/uLessonToolbar.h"
#include "shell/uMenuToolbar.h"
#include "shell/uSettings.h"
#include "shell/uThemes.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace brv {
namespace {

using namespace frametest;

QString Book()
{
    return QDir(test::DataPath(QStringLiteral("lesson"))).absolutePath();
}

// Each test has system configuration folders of its own: the school's files
// never come from the machine's real /etc/xdg, nor from another test.
class SchoolSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedDirs_ = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_DIRS", (First() + QLatin1Char(':') + Second()).toUtf8());
        ClearSettings();
        RegisterExperiments();
    }
    void TearDown() override
    {
        frame.reset();
        FlushDeferredDeletes();
        ClearSettings();
        ApplyTheme(DefaultThemeName());
        qputenv("XDG_CONFIG_DIRS", savedDirs_);
    }

    QString First() const { return system_.filePath(QStringLiteral("first")); }
    QString Second() const { return system_.filePath(QStringLiteral("second")); }

    // Writes the school's file in folder as a technician's editor would.
    static QString PutSchoolFile(const QString& folder, const QByteArray& text)
    {
        const QString path = QDir(folder).filePath(QStringLiteral("Karvelle/BRV_v4.conf"));
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    TFrameFrm& Start()
    {
        frame = std::make_unique<TFrameFrm>(Book());
        frame->ConfirmClose = [](QWidget*) { return true; };
        frame->ShowError = [this](const QString& message) { errors.push_back(message); };
        ShowAndWait(frame.get());
        return *frame;
    }

    QTemporaryDir system_;
    QByteArray savedDirs_;
    std::unique_ptr<TFrameFrm> frame;
    std::vector<QString> errors;
};

// The "position" line as QSettings writes it, bytes escaped.
QByteArray PositionLine(const QRect& bounds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("position.conf"));
    {
        QSettings writer(path, QSettings::IniFormat);
        writer.setValue(QStringLiteral("position"), EncodePosition(bounds));
    }
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith("position="))
            return line;
    return {};
}

QRect SomeBounds()
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    return QRect(area.topLeft() + QPoint(10, 20), QSize(500, 400));
}

struct TValueCase {
    const char* key;
    QByteArray schoolLine;  // the school's value, written as in the file
    QVariant own;           // the pupil's own value of the same key
    std::function<bool(const TSavedSettings&)> isSchools;
    std::function<bool(const TSavedSettings&)> isOwn;
};

TEST_F(SchoolSettingsTest, EveryValueComesFromTheSchoolUnlessThePupilHasOne)
{
    const std::vector<TValueCase> cases = {
        {"zoom", "zoom=4", 1, [](auto& s) { return s.zoom == 4; }, [](auto& s) { return s.zoom == 1; }},
        {"textbgnd", "textbgnd=#D9EAFF", QStringLiteral("#FFFFE0"),
         [](auto& s) { return s.textBackground == QStringLiteral("#D9EAFF"); },
         [](auto& s) { return s.textBackground == QStringLiteral("#FFFFE0"); }},
        {"TBTop", "TBTop=0", 1, [](auto& s) { return s.toolbarsAtTop == false; },
         [](auto& s) { return s.toolbarsAtTop == true; }},
        {"Skin", "Skin=High contrast", QStringLiteral("Office 2003"),
         [](auto& s) { return s.skin == QStringLiteral("High contrast"); },
         [](auto& s) { return s.skin == QStringLiteral("Office 2003"); }},
        {"Large", "Large=1", 0, [](auto& s) { return s.large == true; },
         [](auto& s) { return s.large == false; }},
        {"position", PositionLine(SomeBounds()), EncodePosition(SomeBounds().translated(30, 0)),
         [](auto& s) { return s.position == SomeBounds(); },
         [](auto& s) { return s.position == SomeBounds().translated(30, 0); }},
        {"page", "page=BALL-PLAN.HTM", QStringLiteral("CAR.HTM"),
         [](auto& s) { return s.page == QStringLiteral("BALL-PLAN.HTM"); },
         [](auto& s) { return s.page == QStringLiteral("CAR.HTM"); }},
        {"experiment", "experiment=20", 1, [](auto& s) { return s.experiment == 20; },
         [](auto& s) { return s.experiment == 1; }},
        {"split", "split=2", 1, [](auto& s) { return s.split == 2; }, [](auto& s) { return s.split == 1; }},
    };
    for (const TValueCase& c : cases) {
        // A folder of its own for each case: Qt keeps what it read of a file
        // by its name.
        QTemporaryDir folder;
        qputenv("XDG_CONFIG_DIRS", folder.path().toUtf8());
        PutSchoolFile(folder.path(), "[General]\n" + c.schoolLine + "\n");
        ClearSettings();
        const std::optional<TSavedSettings> schools = ReadSettings();
        ASSERT_TRUE(schools.has_value()) << c.key;
        EXPECT_TRUE(c.isSchools(*schools)) << c.key << ": the school's value without one of the pupil's";

        PutSetting(QString::fromLatin1(c.key), c.own);
        const std::optional<TSavedSettings> own = ReadSettings();
        ASSERT_TRUE(own.has_value()) << c.key;
        EXPECT_TRUE(c.isOwn(*own)) << c.key << ": the pupil's own value wins";
    }
}

TEST_F(SchoolSettingsTest, TheFirstSystemFolderWinsAndTheOthersFillIn)
{
    PutSchoolFile(First(), "[General]\nzoom=0\n");
    // Written by an editor that starts with a byte-order mark.
    PutSchoolFile(Second(), "\xEF\xBB\xBF[General]\nzoom=4\nLarge=1\n");
    EXPECT_EQ(SchoolSettingsFiles().size(), 2);
    const std::optional<TSavedSettings> saved = ReadSettings();
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->zoom, 0);
    EXPECT_EQ(saved->large, true);
    EXPECT_TRUE(IgnoredSchoolSettingsFiles().isEmpty());
}

TEST_F(SchoolSettingsTest, TheWindowShowsTheSchoolsValuesUnderThePupilsOwn)
{
    PutSchoolFile(First(),
                  "; set by the school's technician\n"
                  "[General]\n"
                  "zoom=4\n"
                  "textbgnd=#D9EAFF\n"
                  "TBTop=0\n"
                  "Skin=High contrast\n"
                  "Large=1\n"
                  "split=2\n"
                  "page=ball-data.htm\n" +
                      PositionLine(SomeBounds()) + "\n");
    // The pupil chose a theme and a text size of their own.
    PutSetting(QStringLiteral("Skin"), QStringLiteral("Office 2003"));
    PutSetting(QStringLiteral("zoom"), 1);

    TFrameFrm& f = Start();
    EXPECT_EQ(CurrentThemeName(), QStringLiteral("Office 2003"));
    EXPECT_EQ(f.EWBPanel()->ZoomLevel(), 1);
    EXPECT_EQ(f.EWBPanel()->TextBackground(), QStringLiteral("#D9EAFF"));
    EXPECT_EQ(f.toolBarArea(f.HTMLToolbar()), Qt::BottomToolBarArea);
    EXPECT_TRUE(f.MenuToolbar()->Bottom1()->isChecked());
    EXPECT_TRUE(f.MenuToolbar()->Large1()->isChecked());
    EXPECT_EQ(f.HTMLToolbar()->iconSize(), QSize(48, 48));
    EXPECT_EQ(f.geometry(), SomeBounds());
    EXPECT_TRUE(WaitFor([&] { return f.EWB()->url().fileName() == QStringLiteral("ball-data.htm"); }));
    EXPECT_TRUE(WaitFor([&] { return f.CurrentExperimentId() == ids::Ball; }));
    EXPECT_TRUE(WaitFor([&] { return f.MaxRightBtn()->isChecked(); }));
    EXPECT_TRUE(errors.empty()) << errors.front().toStdString();
}

TEST_F(SchoolSettingsTest, ALockedValueIsTheSchoolsWhateverThePupilChose)
{
    PutSchoolFile(First(), "[General]\nSkin=High contrast\nLarge=1\nlocked=Skin, zoom\n");
    PutSchoolFile(Second(), "[General]\nlocked=TBTop\nTBTop=0\n");
    PutSetting(QStringLiteral("Skin"), QStringLiteral("Office 2003"));
    PutSetting(QStringLiteral("Large"), 0);
    PutSetting(QStringLiteral("zoom"), 4);
    PutSetting(QStringLiteral("TBTop"), 1);
    const std::optional<TSavedSettings> saved = ReadSettings();
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->skin, QStringLiteral("High contrast")) << "locked";
    EXPECT_EQ(saved->large, false) << "not locked: the pupil's own";
    EXPECT_EQ(saved->zoom, std::nullopt) << "locked without a value of the school's: the built-in one";
    EXPECT_EQ(saved->toolbarsAtTop, false) << "locked in the second folder";

    TFrameFrm& f = Start();
    EXPECT_EQ(CurrentThemeName(), QStringLiteral("High contrast"));
    EXPECT_EQ(f.EWBPanel()->ZoomLevel(), 2);
    EXPECT_FALSE(f.MenuToolbar()->Large1()->isChecked());
    EXPECT_TRUE(f.MenuToolbar()->Bottom1()->isChecked());
}

struct TDamageCase {
    const char* name;
    QByteArray text;  // empty: a folder stands where the file should be
};

TEST_F(SchoolSettingsTest, AnUnusableSchoolFileIsIgnoredWholeAndNamed)
{
    const TDamageCase cases[] = {
        {"a line that is not a setting", "[General]\nLarge=1\nthis is not a setting\n"},
        {"an unclosed heading", "[General\nLarge=1\n"},
        {"binary garbage", QByteArray("\xff\xfe\x00\x01garbage\x00\nLarge=1\n", 21)},
        {"a word for a number", "[General]\nLarge=1\nzoom=big\n"},
        {"a number out of range", "[General]\nLarge=1\nsplit=7\n"},
        {"a theme that does not exist", "[General]\nLarge=1\nSkin=Windows 95\n"},
        {"a page outside the book", "[General]\nLarge=1\npage=../../etc/passwd\n"},
        {"a lock on a value that does not exist", "[General]\nLarge=1\nlocked=Skin, Colour\n"},
        {"a file that cannot be read", {}},
    };
    // The pupil's own value still counts.
    PutSetting(QStringLiteral("zoom"), 3);
    for (const TDamageCase& c : cases) {
        QTemporaryDir folder;
        QString path = QDir(folder.path()).filePath(QStringLiteral("Karvelle/BRV_v4.conf"));
        if (c.text.isEmpty())
            QDir().mkpath(path);
        else
            path = PutSchoolFile(folder.path(), c.text);
        qputenv("XDG_CONFIG_DIRS", folder.path().toUtf8());

        EXPECT_EQ(IgnoredSchoolSettingsFiles(), QStringList{path}) << c.name;
        TFrameFrm& f = Start();
        EXPECT_TRUE(WaitFor([this] { return !errors.empty(); })) << c.name;
        EXPECT_EQ(errors, std::vector<QString>{str::sSchoolSettingsIgnored().arg(path)}) << c.name;
        EXPECT_FALSE(f.MenuToolbar()->Large1()->isChecked())
            << c.name << ": none of the file's values is taken";
        EXPECT_EQ(CurrentThemeName(), DefaultThemeName()) << c.name;
        EXPECT_EQ(f.EWBPanel()->ZoomLevel(), 3) << c.name;
        frame->ConfirmClose = [](QWidget*) { return false; };
        frame.reset();
        FlushDeferredDeletes();
        errors.clear();
    }
}

}  // namespace
}  // namespace brv
