// Brevalis installed as a school installs it: into a scratch prefix by
// "cmake --install" (or, when BRV_INSTALLED_PREFIX names one, the /usr of an
// unpacked package).  The book, the help file and the movies then come from
// the installed data folder, never from the build folder, and the fence that
// keeps local pages inside the book is that folder.
#include "experiments/ExperimentCatalogue.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/Catalogue.h"
#include "runtime/ProgramFolder.h"
#include "shell/FrameTestSupport.h"
#include "shell/uFlashPanel.h"
#include "shell/uFrame.h"
#include "shell/uHelpFile.h"
#include "shell/uLessonPane.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <memory>

namespace brv {
namespace {

using namespace frametest;

class InstalledLayout : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        prefix_ = qEnvironmentVariable("BRV_INSTALLED_PREFIX");
        if (!prefix_.isEmpty())
            return;
        scratch_ = std::make_unique<QTemporaryDir>();
        prefix_ = scratch_->path();
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QStringLiteral(BRV_CMAKE_COMMAND),
                      {QStringLiteral("--install"), QStringLiteral(BRV_BINARY_DIR),
                       QStringLiteral("--prefix"), prefix_});
        installed_ = install.waitForFinished(120000) && install.exitStatus() == QProcess::NormalExit &&
                     install.exitCode() == 0;
        installLog_ = QString::fromLocal8Bit(install.readAll());
    }
    static void TearDownTestSuite() { scratch_.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(installed_) << installLog_.toStdString();
        RegisterExperiments();
        ClearSettings();
    }
    void TearDown() override { ClearSettings(); }

    static QString Installed(const QString& relative) { return QDir(prefix_).filePath(relative); }
    static QString Bin() { return Installed(QStringLiteral("bin")); }
    static QString Data() { return Installed(QStringLiteral("share/brevalis")); }

    // Runs the installed program; its exit code, what it wrote in output.
    static int RunInstalled(const QStringList& arguments, QString& output)
    {
        QProcess program;
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(QDir(Bin()).filePath(QStringLiteral("brevalis")), arguments);
        if (!program.waitForFinished(60000)) {
            program.kill();
            program.waitForFinished();
            return -1;
        }
        output = QString::fromLocal8Bit(program.readAll());
        return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    }

    static inline std::unique_ptr<QTemporaryDir> scratch_;
    static inline QString prefix_;
    static inline bool installed_ = true;
    static inline QString installLog_;
};

TEST_F(InstalledLayout, EveryFileIsInItsPlace)
{
    const char* const files[] = {
        "bin/brevalis",
        "libexec/brevalis/brv-helpreader",
        "share/brevalis/html/index.html",
        "share/brevalis/html/index.ux",
        "share/brevalis/html/BALL.HTM",
        "share/brevalis/html/Images/Splash.png",
        "share/brevalis/Help/BRVhelp.chm",
        "share/brevalis/Flash/Voltage.swf",
        "share/brevalis/Flash/EnergyBall.swf",
        "share/brevalis/Flash/Electrons.swf",
        "share/brevalis/Flash/Enzyme.swf",
        "share/brevalis/Flash/Amylase.swf",
        "share/brevalis/ruffle/FlashHost.html",
        "share/brevalis/ruffle/ruffle.js",
        "share/applications/example.karvelle.Brevalis.desktop",
        "share/metainfo/example.karvelle.Brevalis.metainfo.xml",
        "share/icons/hicolor/scalable/apps/example.karvelle.Brevalis.svg",
        "share/icons/hicolor/16x16/apps/example.karvelle.Brevalis.png",
        "share/icons/hicolor/48x48/apps/example.karvelle.Brevalis.png",
        "share/icons/hicolor/256x256/apps/example.karvelle.Brevalis.png",
        "share/man/man1/brevalis.1.gz",
        "share/doc/brevalis/copyright",
    };
    for (const char* file : files)
        EXPECT_TRUE(ExistsInFolder(prefix_, QLatin1String(file))) << file;
    EXPECT_TRUE(QFileInfo(Installed(QStringLiteral("bin/brevalis"))).isExecutable());
    EXPECT_TRUE(QFileInfo(Installed(QStringLiteral("libexec/brevalis/brv-helpreader"))).isExecutable());
    EXPECT_EQ(QDir(Bin()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"brevalis"})
        << "only the program goes into bin/";
}

TEST_F(InstalledLayout, TheProgramFolderIsTheDataFolderInstalledAndTheBuildFolderBuilt)
{
    EXPECT_EQ(ProgramFolderFor(Bin()), QDir::cleanPath(Data()));
    EXPECT_EQ(HelperProgramFor(Bin(), QStringLiteral("brv-helpreader")),
              QDir::cleanPath(Installed(QStringLiteral("libexec/brevalis/brv-helpreader"))));
    EXPECT_EQ(ProgramFolderFor(QStringLiteral(BRV_PROGRAM_DIR)),
              QDir::cleanPath(QStringLiteral(BRV_PROGRAM_DIR)));
    EXPECT_EQ(HelperProgramFor(QStringLiteral(BRV_PROGRAM_DIR), QStringLiteral("brv-helpreader")),
              QDir(QStringLiteral(BRV_PROGRAM_DIR)).filePath(QStringLiteral("brv-helpreader")));
}

TEST_F(InstalledLayout, TheInstalledProgramAnswersFromItsOwnPlace)
{
    QString output;
    EXPECT_EQ(RunInstalled({QStringLiteral("--version")}, output), 0);
    EXPECT_EQ(output.trimmed(), QStringLiteral("Brevalis " BRV_VERSION));
    // A page the book lacks is refused with the folder the program looked
    // in: the installed data folder, found from the installed executable.
    EXPECT_EQ(RunInstalled({QStringLiteral("--page"), QStringLiteral("NO-SUCH-PAGE.HTM")}, output), 2);
    EXPECT_TRUE(output.contains(QDir::cleanPath(Data()))) << output.toStdString();
}

TEST_F(InstalledLayout, TheWindowOpensTheBookHelpAndMoviesOfTheInstalledFolder)
{
    TFrameFrm frame(ProgramFolderFor(Bin()));
    frame.ConfirmClose = [](QWidget*) { return true; };
    std::vector<QString> errors;
    frame.ShowError = [&errors](const QString& message) { errors.push_back(message); };
    ShowAndWait(&frame);

    const QUrl startPage = QUrl::fromLocalFile(QDir(Data()).filePath(QStringLiteral("html/index.html")));
    ASSERT_TRUE(
        WaitFor([&] { return frame.EWB()->url() == startPage && !frame.EWB()->title().isEmpty(); }, 30000))
        << frame.EWB()->url().toString().toStdString();

    EXPECT_TRUE(frame.HelpAvailable());
    const THelpBook help = ReadHelpBook(QDir(Data()).filePath(QStringLiteral("Help/BRVhelp.chm")),
                                        HelperProgramFor(Bin(), QStringLiteral("brv-helpreader")));
    EXPECT_TRUE(help.Ok()) << help.Error.toStdString();
    EXPECT_FALSE(help.Contents.empty());

    frame.ShowExperiment(ids::VoltageMovie);
    ASSERT_NE(frame.FlashPanel()->Flash(), nullptr);
    const QString movie = QUrl::fromPercentEncoding(frame.FlashPanel()->Flash()->url().toEncoded());
    EXPECT_TRUE(
        frame.FlashPanel()->Flash()->url().toLocalFile().startsWith(QDir(Data()).filePath("ruffle/")));
    EXPECT_TRUE(movie.contains(QDir(Data()).filePath(QStringLiteral("Flash/Voltage.swf"))))
        << movie.toStdString();
    EXPECT_TRUE(
        WaitFor([&] { return frame.FlashPanel()->Flash()->title() == QStringLiteral("loaded"); }, 30000));
    EXPECT_TRUE(errors.empty()) << errors.front().toStdString();
}

TEST_F(InstalledLayout, LocalPagesOutsideTheInstalledBookAreRefused)
{
    TFrameFrm frame(ProgramFolderFor(Bin()));
    frame.ConfirmClose = [](QWidget*) { return true; };
    std::vector<QString> errors;
    frame.ShowError = [&errors](const QString& message) { errors.push_back(message); };

    EXPECT_TRUE(frame.EWBPanel()->RouteNavigation(
        QUrl::fromLocalFile(QDir(Data()).filePath(QStringLiteral("html/BALL-PLAN.HTM")))));
    // The build folder's own copy of the book is outside the installed one.
    const QString buildPage =
        QDir(QStringLiteral(BRV_PROGRAM_DIR)).filePath(QStringLiteral("html/BALL-PLAN.HTM"));
    EXPECT_FALSE(frame.EWBPanel()->RouteNavigation(QUrl::fromLocalFile(buildPage)));
    Pump(50);
    EXPECT_EQ(errors,
              std::vector<QString>{str::sLocalFileRefused().arg(QDir::toNativeSeparators(buildPage))});
}

}  // namespace
}  // namespace brv
