#include "Snapshot.h"

#include "apparatus/ApparatusSheet.h"
#include "common/CadencerEx.h"
#include "notebook/ResultsGraph.h"
#include "notebook/ResultsPanel.h"
#include "runtime/Catalogue.h"
#include "runtime/ExperimentForm.h"
#include "runtime/Image32.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QRegularExpression>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTextStream>

#include <cmath>
#include <memory>
#include <optional>
#include <type_traits>

namespace brv::snapshot {

namespace {

constexpr int kMaxSide = 8192;
// Simulated time handed to the clock per frame while running ahead.
constexpr double kFrameSeconds = 1.0 / 60.0;

bool ParseSize(const QString& text, QSize& size)
{
    static const QRegularExpression re(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return false;
    const int w = m.captured(1).toInt();
    const int h = m.captured(2).toInt();
    if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide)
        return false;
    size = QSize(w, h);
    return true;
}

// Steps the form's clock through `seconds` of simulated time on a time source
// of our own, so the result does not depend on how fast this machine is.
void RunClock(TExperimentForm& form, double seconds)
{
    double now = 0;
    TNGLCadencer::SetPerformanceCounterSource([&now] { return now; });
    form.PressStart();
    QCoreApplication::processEvents();
    if (TNGLCadencer* clock = form.Cadencer()) {
        const double end = now + seconds;
        while (now < end) {
            now = std::min(end, now + kFrameSeconds);
            if (!clock->Enabled())
                break;
            clock->Progress();
        }
    }
    QCoreApplication::processEvents();
    TNGLCadencer::SetPerformanceCounterSource({});
}

bool WritePng(const QImage& image, const QString& path, QTextStream& err)
{
    QImageWriter writer(path, "png");
    if (!writer.write(image)) {
        err << "brv-snapshot: cannot write " << path << ": " << writer.errorString() << "\n";
        return false;
    }
    return true;
}

// The experiment pane as the window shows it with its Results panel open:
// the form above, the panel with the file's tables in the lower two fifths.
int RenderWithResults(const Options& options, std::unique_ptr<TExperimentForm> form, QTextStream& err)
{
    QTemporaryDir folder;
    const TResultsStore store(folder.path());
    QDir().mkpath(store.Folder());
    if (!QFile::copy(options.results, store.FilePath(options.experimentId))) {
        err << "brv-snapshot: cannot read the results file " << options.results << "\n";
        return 2;
    }
    QSplitter column(Qt::Vertical);
    column.setAttribute(Qt::WA_DontShowOnScreen);
    TExperimentForm* shown = form.release();  // the column's now
    column.addWidget(shown);
    auto* panel = new TResultsPanel(&column, store);
    column.addWidget(panel);
    panel->SetExperiment(options.experimentId, shown,
                         TCatalogue::Instance().Find(options.experimentId)->menuCaption);
    if (!panel->Message().isEmpty()) {
        err << "brv-snapshot: " << panel->Message() << "\n";
        return 2;
    }
    column.resize(options.size);
    column.show();
    const int panelHeight = options.size.height() * 2 / 5;
    column.setSizes({options.size.height() - panelHeight, panelHeight});
    QCoreApplication::processEvents();
    if (options.runSeconds > 0)
        RunClock(*shown, options.runSeconds);
    panel->Graph->replot(QCustomPlot::rpImmediateRefresh);
    const QImage shot = column.grab().toImage();
    return WritePng(shot, options.out, err) ? 0 : 2;
}

int RenderExperiment(const Options& options, QTextStream& err)
{
    const TCatalogueEntry* entry = TCatalogue::Instance().Find(options.experimentId);
    if (entry == nullptr || !entry->create) {
        err << "brv-snapshot: no experiment form has id " << options.experimentId << "\n";
        return 2;
    }
    std::unique_ptr<TExperimentForm> form(entry->create());
    if (form == nullptr || form->Pic() == nullptr) {
        err << "brv-snapshot: experiment " << options.experimentId << " has no picture\n";
        return 2;
    }
    if (!options.results.isEmpty())
        return RenderWithResults(options, std::move(form), err);
    form->setAttribute(Qt::WA_DontShowOnScreen);
    form->show();
    // The form's own controls take what they need; the picture gets exactly
    // the asked size.
    TImage32* pic = form->Pic();
    const QSize extra = form->size() - pic->size();
    form->resize(options.size + QSize(std::max(0, extra.width()), std::max(0, extra.height())));
    QCoreApplication::processEvents();
    if (pic->size() != options.size) {
        pic->setFixedSize(options.size);
        QCoreApplication::processEvents();
    }
    if (options.runSeconds > 0)
        RunClock(*form, options.runSeconds);

    TBitmap32 picture(pic->width(), pic->height());
    pic->PaintTo(picture);
    return WritePng(picture.Image(), options.out, err) ? 0 : 2;
}

int RenderApparatusSheet(const Options& options, QTextStream& err)
{
    const TPoint size = ApparatusSheetSize(options.sheetScale);
    if (size.X < 1 || size.Y < 1 || size.X > kMaxSide || size.Y > kMaxSide) {
        err << "brv-snapshot: scale " << options.sheetScale << " gives no usable sheet\n";
        return 2;
    }
    TBitmap32 sheet(size.X, size.Y);
    DrawApparatusSheet(sheet, options.sheetScale, options.readings);
    return WritePng(sheet.Image(), options.out, err) ? 0 : 2;
}

}  // namespace

QString Usage()
{
    return QStringLiteral(
        "usage: brv-snapshot --experiment ID --size WxH --out FILE.png [--run SECONDS] [--results "
        "FILE.json]\n"
        "       brv-snapshot --apparatus-sheet [--scale PIXELS_PER_UNIT] [--temperature DEGREES_C]\n"
        "                    [--volume CM3] [--voltage VOLTS] [--seconds SECONDS] --out FILE.png\n");
}

// A reading for the apparatus sheet: a number within ±limit.  Readings off
// an instrument's scale are allowed, to see how the routines take them.
template <typename Number>
bool ParseReading(const QString& name, const QString& text, double limit, std::optional<Number>& reading,
                  QTextStream& err)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !(std::abs(v) <= limit) || (std::is_integral_v<Number> && v != std::trunc(v))) {
        err << "brv-snapshot: bad " << name << " \"" << text << "\" ("
            << (std::is_integral_v<Number> ? "a whole number " : "") << "from " << -limit << " to " << limit
            << ")\n";
        return false;
    }
    reading = Number(v);
    return true;
}

bool ParseArguments(const QStringList& args, Options& options, QTextStream& err)
{
    bool haveId = false;
    bool haveReading = false;
    bool haveSize = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString& out) {
            if (i + 1 >= args.size()) {
                err << "brv-snapshot: " << a << " needs a value\n";
                return false;
            }
            out = args[++i];
            return true;
        };
        QString v;
        // "--temperature 37" and the like: the option's name is the reading's.
        auto reading = [&](auto& target, double limit) {
            haveReading = true;
            return value(v) && ParseReading(a.mid(2), v, limit, target, err);
        };
        if (a == QLatin1String("--experiment")) {
            if (!value(v))
                return false;
            bool ok = false;
            options.experimentId = v.toInt(&ok);
            if (!ok) {
                err << "brv-snapshot: experiment id must be a number, not \"" << v << "\"\n";
                return false;
            }
            haveId = true;
        } else if (a == QLatin1String("--size")) {
            if (!value(v))
                return false;
            if (!ParseSize(v, options.size)) {
                err << "brv-snapshot: bad size \"" << v << "\" (expected WxH, 1 to " << kMaxSide
                    << " pixels each)\n";
                return false;
            }
            haveSize = true;
        } else if (a == QLatin1String("--out")) {
            if (!value(options.out))
                return false;
        } else if (a == QLatin1String("--run")) {
            if (!value(v))
                return false;
            bool ok = false;
            options.runSeconds = v.toDouble(&ok);
            if (!ok || !(options.runSeconds >= 0) || options.runSeconds > 3600) {
                err << "brv-snapshot: bad run time \"" << v << "\" (0 to 3600 seconds)\n";
                return false;
            }
        } else if (a == QLatin1String("--results")) {
            if (!value(options.results))
                return false;
        } else if (a == QLatin1String("--apparatus-sheet")) {
            options.apparatusSheet = true;
        } else if (a == QLatin1String("--scale")) {
            if (!value(v))
                return false;
            bool ok = false;
            options.sheetScale = v.toFloat(&ok);
            if (!ok || !(options.sheetScale >= 1) || options.sheetScale > 20) {
                err << "brv-snapshot: bad scale \"" << v << "\" (1 to 20)\n";
                return false;
            }
        } else if (a == QLatin1String("--temperature")) {
            if (!reading(options.readings.Temperature, 1000))
                return false;
        } else if (a == QLatin1String("--volume")) {
            if (!reading(options.readings.Volume, 1000))
                return false;
        } else if (a == QLatin1String("--voltage")) {
            if (!reading(options.readings.Voltage, 1000))
                return false;
        } else if (a == QLatin1String("--seconds")) {
            if (!reading(options.readings.Seconds, 1e6))
                return false;
        } else {
            err << "brv-snapshot: unknown argument \"" << a << "\"\n";
            return false;
        }
    }
    if (haveReading && !options.apparatusSheet) {
        err << "brv-snapshot: readings are for the apparatus sheet (--apparatus-sheet)\n";
        return false;
    }
    if (options.apparatusSheet) {
        if (options.out.isEmpty()) {
            err << "brv-snapshot: --out is required\n";
            return false;
        }
        return true;
    }
    if (!haveId || !haveSize || options.out.isEmpty()) {
        err << "brv-snapshot: --experiment, --size and --out are required\n";
        return false;
    }
    return true;
}

int Run(const Options& options, QTextStream& err)
{
    return options.apparatusSheet ? RenderApparatusSheet(options, err) : RenderExperiment(options, err);
}

}  // namespace brv::snapshot
