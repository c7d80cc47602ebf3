// Feeds arbitrary bytes to the results-file reader, as the bouncing ball's
// file.  A damaged file may only end in a reason; whatever was read must
// then fill a table model, give its means, fair-test notes and fits, and be
// written back, without touching memory it does not own or making a NaN.
#include "experiments/ResultsTables.h"
#include "experiments/physics/uBall.h"
#include "notebook/ResultsFile.h"
#include "notebook/Statistics.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<brv::TResultsTableDeclaration> tables = brv::BallTables();
    const brv::TDecodedNotebook decoded = brv::DecodeNotebook(
        QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), brv::ids::Ball, tables);
    if (!decoded.contents) {
        if (decoded.error.isEmpty())
            std::abort();  // refused without a reason
        return 0;
    }
    for (const brv::TResultsTableDeclaration& d : tables) {
        brv::TResultsModel model(d);
        const auto found = decoded.contents->tables.find(d.key);
        if (found != decoded.contents->tables.end())
            model.RestoreRows(found->second);
        std::vector<brv::stats::TPoint> points;
        for (const brv::TGraphPoint& p : model.GraphPoints()) {
            if (!std::isfinite(p.mean) || !std::isfinite(p.uncertainty))
                std::abort();
            points.push_back({p.x, p.mean});
        }
        for (int r = 0; r < model.rowCount(); ++r)
            for (int c = 0; c < model.columnCount(); ++c)
                (void)model.CellText(r, c);
        const brv::stats::TLineFit line = brv::stats::FitStraightLine(points);
        const brv::stats::TCurveFit curve = brv::stats::FitSmoothCurve(points);
        if ((line.Ok() && !std::isfinite(line.gradient)) || (curve.Ok() && !std::isfinite(curve.c2)))
            std::abort();
    }
    (void)brv::EncodeNotebook(brv::ids::Ball, *decoded.contents);
    return 0;
}
