// The results notebook: one cell of a 500-row table typed over, and
// everything that follows it before the next frame — the undo step, the row's
// mean, the file written, the graph's points and fit replotted, the table's
// rows repainted.  The goal is one frame (16 ms); the peer is a plain Clear
// of a 1920 × 1080 bitmap.
#include "BenchPeers.h"

#include "notebook/ResultsGraph.h"
#include "notebook/ResultsPanel.h"

#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace brv;

TResultsTableDeclaration BenchTable()
{
    TResultsTableDeclaration d;
    d.key = QStringLiteral("bench");
    d.question = QStringLiteral("x → y");
    d.independent = {QStringLiteral("x"), QStringLiteral("Drop height"), QStringLiteral("cm"), {}, 0, 1e6, 1};
    d.dependent = {QStringLiteral("y"), QStringLiteral("Bounce height"), QStringLiteral("cm"), {}, 0, 1e6, 1};
    d.controls = {{QStringLiteral("t"), QStringLiteral("Temperature"), QStringLiteral("ºC"), {}, 0, 100, 0}};
    return d;
}

void EditOneCellOf500Rows(benchmark::State& state)
{
    constexpr ExperimentId kBenchId = 9999;
    TResultsTables::Instance().Register(kBenchId,
                                        [] { return std::vector<TResultsTableDeclaration>{BenchTable()}; });
    QTemporaryDir folder;
    TResultsPanel panel(nullptr, TResultsStore(folder.path()));
    panel.resize(1200, 400);
    panel.SetExperiment(kBenchId, nullptr, QStringLiteral("Bench"));
    panel.FitCB->setCurrentIndex(panel.FitCB->findData(int(TFitKind::Curve)));
    TResultsModel* model = panel.Model();
    std::vector<TResultsRow> rows;
    for (int i = 0; i < 500; ++i) {
        TResultsRow row = model->EmptyRow();
        row.independent = i;
        row.repeats = {{0.6 * i + 1}, {0.6 * i + 1.2}, {0.6 * i + 0.9}};
        row.controls = {QStringLiteral("20 ºC")};
        rows.push_back(row);
    }
    model->RestoreRows(rows);
    panel.show();
    panel.Table->scrollTo(model->index(250, 1));
    const QModelIndex cell = model->index(250, model->RepeatColumn(1));
    int typed = 0;
    for (auto _ : state) {
        model->setData(cell, QString::number(150 + (++typed % 10)));
        panel.Graph->replot(QCustomPlot::rpImmediateRefresh);
        panel.Table->viewport()->repaint();
    }
    TResultsTables::Instance().Unregister(kBenchId);
}

const bool kRegistered = bench::MeasureAgainstClear("NotebookEdit500", EditOneCellOf500Rows, 1920, 1080);

}  // namespace
