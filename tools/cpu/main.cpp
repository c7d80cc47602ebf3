// brv-cpu: how much of a core the real main window takes, idle and while an
// experiment runs, on the display it is given.
//
//   brv-cpu [--experiment ID]... [--seconds S] [--size WxH] [--no-idle] [--results]
//   brv-cpu --look DIR
//
// It starts the program as the user would (the same composition choice, the
// lesson book beside the executable, settings in a folder of its own so the
// user's are untouched), opens each experiment through the Experiments menu,
// and reports process CPU time ÷ wall time over S seconds: idle, idle with a
// text cursor blinking in one of the experiment's spin boxes, and running
// (a run that ends is reset and started again).  Without --experiment every
// form of the catalogue that has an animation clock is measured; --results
// measures each run once more with the results panel open.  This is a
// measurement of the machine it runs on, not a test.
#include "CpuMeter.h"

#include "common/Application.h"
#include "common/CadencerEx.h"
#include "common/Composition.h"
#include "experiments/ExperimentCatalogue.h"
#include "experiments/ResultsTables.h"
#include "runtime/Catalogue.h"
#include "runtime/DataMod.h"
#include "runtime/ExperimentForm.h"
#include "runtime/ExperimentHost.h"
#include "runtime/Image32.h"
#include "shell/BRVrw.h"
#include "shell/uFrame.h"
#include "shell/uLessonPane.h"
#include "shell/uMenuToolbar.h"
#include "shell/uResultsPane.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace brv;

struct Options {
    std::vector<int> experiments;
    double seconds = 5;
    QSize size{1920, 1080};
    bool idle = true;
    bool results = false;  // each run once more with the results panel open
    QString lookFolder;
};

const char* const kUsage =
    "usage: brv-cpu [--experiment ID]... [--seconds S] [--size WxH] [--no-idle] [--results]\n"
    "       brv-cpu --look DIR [--size WxH]\n"
    "Reports the CPU the main window takes (process CPU time / wall time) on the current display;\n"
    "--look saves what the screen shows of a lesson page, a Flash movie and the print preview.\n";

bool ParseArguments(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--experiment" && hasValue) {
            bool ok = false;
            options.experiments.push_back(QString::fromLocal8Bit(argv[++i]).toInt(&ok));
            if (!ok)
                return false;
        } else if (arg == "--seconds" && hasValue) {
            bool ok = false;
            options.seconds = QString::fromLocal8Bit(argv[++i]).toDouble(&ok);
            if (!ok || options.seconds <= 0 || options.seconds > 3600)
                return false;
        } else if (arg == "--size" && hasValue) {
            static const QRegularExpression re(QStringLiteral("^(\\d{3,5})[xX](\\d{3,5})$"));
            const auto m = re.match(QString::fromLocal8Bit(argv[++i]));
            if (!m.hasMatch())
                return false;
            options.size = {m.captured(1).toInt(), m.captured(2).toInt()};
        } else if (arg == "--look" && hasValue) {
            options.lookFolder = QString::fromLocal8Bit(argv[++i]);
        } else if (arg == "--results") {
            options.results = true;
        } else if (arg == "--no-idle") {
            options.idle = false;
        } else {
            return false;
        }
    }
    return true;
}

// Lets the event loop run for a while, calling poll every 50 ms.
void RunFor(double seconds, const std::function<void()>& poll = {})
{
    QEventLoop loop;
    QTimer tick;
    if (poll) {
        QObject::connect(&tick, &QTimer::timeout, &loop, poll);
        tick.start(50);
    }
    QTimer::singleShot(int(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
}

bool WaitUntil(const std::function<bool()>& done, double seconds)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < seconds * 1000)
        RunFor(0.05);
    return done();
}

// Counts the paint events a widget receives.
class TPaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

struct TFigure {
    double wall = 0;
    double self = 0;
    double helpers = 0;
    int paints = 0;
};

void Report(const QString& what, const TFigure& f)
{
    std::printf("  %-44s %6.1f %%   %6.1f %%   %7.1f\n", qPrintable(what), 100 * f.self / f.wall,
                100 * (f.self + f.helpers) / f.wall, f.paints / f.wall);
    std::fflush(stdout);
}

// CPU over `seconds` of the event loop, with `poll` called meanwhile; paints
// counted on `picture` when there is one.
TFigure Measure(double seconds, QWidget* picture, const std::function<void()>& poll = {})
{
    TPaintCounter counter;
    if (picture != nullptr)
        picture->installEventFilter(&counter);
    QElapsedTimer wall;
    const cpu::TCpuTimes before = cpu::ReadCpuTimes();
    wall.start();
    RunFor(seconds, poll);
    const double elapsed = wall.nsecsElapsed() / 1e9;
    const cpu::TCpuTimes after = cpu::ReadCpuTimes();
    if (picture != nullptr)
        picture->removeEventFilter(&counter);
    return {elapsed, after.self - before.self, after.helpers - before.helpers, counter.paints};
}

QAction* ExperimentItem(TFrameFrm& window, int id)
{
    for (QAction* item : window.MenuToolbar()->ExperimentItems())
        if (item->data().toInt() == id)
            return item;
    return nullptr;
}

bool ShowExperiment(TFrameFrm& window, int id)
{
    if (QAction* item = ExperimentItem(window, id))
        item->trigger();  // the lesson page and, through it, the experiment
    else
        window.ShowExperiment(id);
    return WaitUntil([&] { return window.CurrentExperimentId() == id && window.Host().CurrentForm(); }, 20);
}

QAction* ActionNamed(TExperimentForm& form, const char* name)
{
    if (QToolBar* toolbar = form.Toolbar())
        for (QAction* a : toolbar->actions())
            if (a->objectName() == QLatin1String(name))
                return a;
    return nullptr;
}

QAbstractSpinBox* FirstSpinBox(TExperimentForm& form)
{
    QToolBar* toolbar = form.Toolbar();
    return toolbar != nullptr ? toolbar->findChild<QAbstractSpinBox*>() : form.findChild<QAbstractSpinBox*>();
}

std::vector<int> AnimatedForms()
{
    std::vector<int> ids;
    for (const TCatalogueEntry& entry : TCatalogue::Instance().Entries()) {
        if (!entry.HasForm())
            continue;
        std::unique_ptr<TExperimentForm> form(entry.create());
        if (form->Cadencer() != nullptr)
            ids.push_back(entry.id);
    }
    return ids;
}

// No widget holds the keyboard, so no text cursor blinks.
void ClearFocus()
{
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();
}

void MeasureIdle(TFrameFrm& window, double seconds)
{
    TExperimentForm* form = window.Host().CurrentForm();
    QWidget* picture = form != nullptr ? form->Pic() : nullptr;
    ClearFocus();
    RunFor(0.5);
    Report(QStringLiteral("idle"), Measure(seconds, picture));
    QAbstractSpinBox* spin = form != nullptr ? FirstSpinBox(*form) : nullptr;
    if (spin == nullptr) {
        std::printf("  (no spin box to blink a cursor in)\n");
        return;
    }
    spin->setFocus();
    RunFor(0.5);
    const bool blinking = spin->hasFocus() && QApplication::cursorFlashTime() > 0;
    Report(blinking ? QStringLiteral("idle, cursor blinking in a spin box")
                    : QStringLiteral("idle, spin box focused (no blinking cursor)"),
           Measure(seconds, picture));
    ClearFocus();
}

void MeasureRun(TFrameFrm& window, int id, double seconds, const QString& note = {})
{
    QPointer<TExperimentForm> form = window.Host().CurrentForm();
    if (form == nullptr || form->Cadencer() == nullptr) {
        std::printf("  experiment %d has no animation clock\n", id);
        return;
    }
    ClearFocus();
    form->PressStart();
    int restarts = 0;
    bool stuck = false;
    const auto keepRunning = [&] {
        if (form == nullptr || form->Cadencer()->Enabled())
            return;
        // The run ended: reset and go again, as a pupil repeating it would.
        if (QAction* reset = ActionNamed(*form, "ResetBtn"); reset != nullptr && reset->isEnabled())
            reset->trigger();
        form->PressStart();
        if (form->Cadencer()->Enabled())
            ++restarts;
        else
            stuck = true;
    };
    const TFigure f = Measure(seconds, form->Pic(), keepRunning);
    const QString name =
        QString::fromLatin1(form->metaObject()->className()).section(QStringLiteral("::"), -1);
    QString what = QStringLiteral("%1 (id %2) running").arg(name).arg(id);
    if (restarts > 0)
        what += QStringLiteral(", %1 restarts").arg(restarts);
    if (stuck)
        what += QStringLiteral(", stopped");
    what += note;
    Report(what, f);
    if (form != nullptr && form->Cadencer()->Enabled())
        if (QAction* stop = ActionNamed(*form, "StopBtn"))
            stop->trigger();
}

// What the screen shows of the window: the display's own pixels, after
// composition, not a fresh rendering of the widgets.
bool SaveScreen(QWidget& window, const QString& path)
{
    const QPixmap shot =
        window.screen()->grabWindow(0, window.x(), window.y(), window.width(), window.height());
    const bool saved = shot.save(path);
    std::printf("  %s %s\n", saved ? "saved" : "could not save", qPrintable(path));
    return saved;
}

// The window and its web views go before the application object.
void Close(TFrameFrm* window)
{
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

int Look(TFrameFrm& window, const QString& folder)
{
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "brv-cpu: cannot make %s\n", qPrintable(folder));
        return 2;
    }
    const QDir dir(folder);
    bool saved = true;
    if (ShowExperiment(window, 1)) {
        RunFor(3);
        saved &= SaveScreen(window, dir.filePath(QStringLiteral("look.png")));
    }
    // The first movie of the catalogue, through its lesson page as a pupil
    // would reach it.
    for (const TCatalogueEntry& entry : TCatalogue::Instance().Entries()) {
        if (!entry.IsMovie())
            continue;
        window.EWBPanel()->ShowExperimentPage(entry.id);
        WaitUntil([&] { return window.CurrentExperimentId() == entry.id; }, 20);
        RunFor(6);  // the player starts and plays a little
        saved &= SaveScreen(window, dir.filePath(QStringLiteral("flash.png")));
        break;
    }
    // The preview is modal: it is looked at and closed from the loop it runs.
    QTimer look;
    bool previewSeen = false;
    QElapsedTimer openFor;
    QObject::connect(&look, &QTimer::timeout, [&] {
        QWidget* preview = QApplication::activeModalWidget();
        if (preview == nullptr)
            return;
        if (!openFor.isValid())
            openFor.start();
        if (openFor.elapsed() < 3000)
            return;
        previewSeen = true;
        saved &= SaveScreen(*preview, dir.filePath(QStringLiteral("preview.png")));
        preview->close();
    });
    look.start(100);
    window.MenuToolbar()->Print1()->trigger();
    WaitUntil([&] { return previewSeen && QApplication::activeModalWidget() == nullptr; }, 60);
    if (!previewSeen)
        std::printf("  the print preview did not open\n");
    return saved && previewSeen ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseArguments(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    // Settings of its own: the user's window position and choices stay as
    // they are, and every measurement starts from the defaults.
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "brv-cpu: no temporary folder: %s\n", qPrintable(home.errorString()));
        return 2;
    }
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());

    const TCompositionChoice composition = ChooseComposition();
    PrepareWebEngine();
    TBrevalisApplication app(argc, argv);
    RegisterExperiments();
    RegisterResultsTables();
    if (options.experiments.empty())
        options.experiments = AnimatedForms();

    auto* window = new TFrameFrm;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->ConfirmClose = [](QWidget*) { return true; };
    TDataMod::Instance();
    window->setGeometry(QRect(QPoint(0, 0), options.size));
    window->show();
    window->activateWindow();
    WaitUntil([&] { return window->windowHandle() && window->windowHandle()->isExposed(); }, 10);
    window->resize(options.size);
    RunFor(3);  // the start page loads

    const QScreen* screen = window->screen();
    std::printf("brv-cpu: window %d x %d on a %d x %d screen at %.0f Hz (platform %s)\n", window->width(),
                window->height(), screen->geometry().width(), screen->geometry().height(),
                screen->refreshRate(), qPrintable(QGuiApplication::platformName()));
    std::printf("composition: %s (%s)\n", composition.path == TComposition::Software ? "software" : "GPU",
                qPrintable(composition.reason));
    if (!options.lookFolder.isEmpty()) {
        const int status = Look(*window, options.lookFolder);
        Close(window);
        return status;
    }
    std::printf("goal: at most 25 %% of one core while animating, about 0 when idle\n\n");
    std::printf("  %-44s %8s   %8s   %7s\n", "", "program", "+ web", "paints/s");

    bool first = true;
    for (const int id : options.experiments) {
        if (!ShowExperiment(*window, id)) {
            std::printf("  experiment %d could not be shown\n", id);
            continue;
        }
        RunFor(2);  // its page loads, its picture settles
        if (first && options.idle)
            MeasureIdle(*window, options.seconds);
        first = false;
        MeasureRun(*window, id, options.seconds);
        if (options.results) {
            window->Results()->ToggleAction()->setChecked(true);
            RunFor(1);
            MeasureRun(*window, id, options.seconds, QStringLiteral(", results open"));
            window->Results()->ToggleAction()->setChecked(false);
            RunFor(1);
        }
    }
    if (options.idle && !first) {
        // Everything stopped: nothing of the runs may keep ticking.
        RunFor(1);
        TExperimentForm* form = window->Host().CurrentForm();
        Report(QStringLiteral("idle again after the runs"),
               Measure(options.seconds, form ? form->Pic() : nullptr));
    }
    Close(window);
    return 0;
}
