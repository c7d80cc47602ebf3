#include "shell/BRVrw.h"

#include "common/Application.h"
#include "experiments/ExperimentCatalogue.h"
#include "experiments/ResultsTables.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/DataMod.h"
#include "shell/BigPic.h"
#include "shell/uFrame.h"
#include "shell/uHelp.h"

#include <QApplication>
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

int RunBrevalis(int argc, char** argv)
{
    // The Flash panel's player and the help viewer are web views: the engine
    // must be prepared before anything else exists.
    PrepareWebEngine();
    TBrevalisApplication app(argc, argv);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    QApplication::setApplicationName(str::sApplicationTitle());

    RegisterExperiments();
    RegisterResultsTables();
    auto* window = new TFrameFrm;
    window->setAttribute(Qt::WA_DeleteOnClose);
    TDataMod::Instance();
    // The start-up's own picture viewer is never shown: each picture link
    // opens a viewer of its own.
    TBigPicFrm bigPicFrm;

    window->show();
    return QApplication::exec();
}

}  // namespace brv
