#include "shell/BRVrw.h"

#include "common/Application.h"
#include "experiments/ExperimentCatalogue.h"
#include "experiments/ResultsTables.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/DataMod.h"
#include "runtime/ProgramFolder.h"
#include "shell/BigPic.h"
#include "shell/uCommandLine.h"
#include "shell/uFrame.h"
#include "shell/uHelp.h"

#include <QApplication>
#include <QFileInfo>
#include <QLoggingCategory>

#include <unistd.h>

namespace brv {

void PrepareWebEngine()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QuietWebEngine();
    RegisterHelpScheme();
}

// A program started from a terminal prints nothing there in normal use: not
// the engine's start-up report, not its graphics complaints about each movie,
// not what lesson pages and the Flash player write to their consoles.
// Settings of the developer's own (QT_LOGGING_RULES, a log level in the
// engine's flags) still win.
void QuietWebEngine()
{
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext=false\njs=false"));
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--log-level")) {
        flags += flags.isEmpty() ? "" : " ";
        flags += "--log-level=3";
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    }
}

namespace {

QStringList ArgumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

QString ProgramName(int argc, char** argv)
{
    return argc > 0 ? QFileInfo(QString::fromLocal8Bit(argv[0])).fileName() : QStringLiteral("brevalis");
}

}  // namespace

int RunBrevalis(int argc, char** argv)
{
    // --help, --version and a mistyped option are answered before anything
    // needs a display: a technician may ask over a remote shell.
    const QString program = ProgramName(argc, argv);
    if (const TCommandLine early =
            ParseCommandLine(ArgumentsOf(argc, argv), program, TQtOptions::StillPresent);
        early.action != TCommandLine::TAction::Run)
        return FinishCommandLine(early);

    // The Flash panel's player and the help viewer are web views: the engine
    // must be prepared before anything else exists.
    PrepareWebEngine();
    TBrevalisApplication app(argc, argv);
    RegisterExperiments();
    TCommandLine commandLine =
        ParseCommandLine(QCoreApplication::arguments().mid(1), program, TQtOptions::Removed);
    if (commandLine.action == TCommandLine::TAction::Run)
        CheckStartPlace(commandLine, program, DefaultProgramFolder());
    if (commandLine.action != TCommandLine::TAction::Run)
        return FinishCommandLine(commandLine);

    QApplication::setOverrideCursor(Qt::BusyCursor);
    QApplication::setApplicationName(str::sApplicationTitle());

    RegisterResultsTables();
    auto* window = new TFrameFrm;
    window->setAttribute(Qt::WA_DeleteOnClose);
    OpenStartPlace(*window, commandLine);
    TDataMod::Instance();
    // The start-up's own picture viewer is never shown: each picture link
    // opens a viewer of its own.
    TBigPicFrm bigPicFrm;

    window->show();
    return QApplication::exec();
}

}  // namespace brv
