#include "notebook/ResultsGraph.h"

#include "notebook/ResultsModel.h"
#include "notebook/TypedValue.h"
#include "runtime/BRV_StrConstants.h"

#include <algorithm>
#include <cmath>

namespace brv {

namespace {

constexpr int kCurveSamples = 100;

// Significant figures enough to read a gradient off: three.
QString Rounded(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    const int magnitude = int(std::floor(std::log10(std::abs(value))));
    return FormatFixed(value, std::clamp(2 - magnitude, 0, 6), QLocale());
}

QCPRange Padded(double low, double high, bool fromZero)
{
    if (fromZero) {
        low = std::min(0.0, low);
        high = std::max(0.0, high);
    }
    double span = high - low;
    if (span <= 0)
        span = std::max(1.0, std::abs(high));
    const double margin = span * 0.08;
    QCPRange range(fromZero && low >= 0 ? low : low - margin, high + margin);
    if (fromZero && low >= 0)
        range.lower = 0;
    return range;
}

}  // namespace

QString GradientUnit(const QString& yUnit, const QString& xUnit)
{
    if (xUnit.isEmpty())
        return yUnit;
    return (yUnit.isEmpty() ? QStringLiteral("1") : yUnit) + QLatin1Char('/') + xUnit;
}

TResultsGraph::TResultsGraph(QWidget* parent) : QCustomPlot(parent)
{
    setObjectName(QStringLiteral("ResultsGraph"));
    setFocusPolicy(Qt::NoFocus);
    setMinimumSize(120, 100);
    points_ = addGraph();
    points_->setLineStyle(QCPGraph::lsNone);
    points_->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssCross, QPen(QColor(0x1f, 0x4e, 0x9c), 1.5), Qt::NoBrush, 9));
    errors_ = new QCPErrorBars(xAxis, yAxis);
    errors_->setDataPlottable(points_);
    errors_->setPen(QPen(QColor(0x1f, 0x4e, 0x9c), 1));
    errors_->setWhiskerWidth(7);
    fitCurve_ = addGraph();
    fitCurve_->setPen(QPen(QColor(0xc0, 0x30, 0x20), 1.5));
    QFont labelFont = font();
    labelFont.setPointSizeF(labelFont.pointSizeF() * 0.95);
    xAxis->setLabelFont(labelFont);
    yAxis->setLabelFont(labelFont);
}

void TResultsGraph::setFitText(const QString& text)
{
    if (text == fitText_)
        return;
    fitText_ = text;
    emit FitTextChanged(text);
}

void TResultsGraph::ShowNothing()
{
    points_->data()->clear();
    errors_->data()->clear();
    fitCurve_->data()->clear();
    xAxis->setLabel(QString());
    yAxis->setLabel(QString());
    setFitText(QString());
    replot(rpQueuedReplot);
}

void TResultsGraph::Show(const TResultsModel& model, TFitKind fit, bool fromZero, RefreshPriority replotWhen)
{
    const TResultsTableDeclaration& d = model.Declaration();
    xAxis->setLabel(TResultsModel::Titled(d.independent));
    yAxis->setLabel(model.ColumnTitle(model.MeanColumn()));

    std::vector<TGraphPoint> points = model.GraphPoints();
    std::sort(points.begin(), points.end(),
              [](const TGraphPoint& a, const TGraphPoint& b) { return a.x < b.x; });
    QVector<double> xs, ys, bars;
    xs.reserve(qsizetype(points.size()));
    ys.reserve(qsizetype(points.size()));
    bars.reserve(qsizetype(points.size()));
    double xLow = 0, xHigh = 0, yLow = 0, yHigh = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const TGraphPoint& p = points[i];
        xs << p.x;
        ys << p.mean;
        bars << p.uncertainty;
        xLow = i == 0 ? p.x : std::min(xLow, p.x);
        xHigh = i == 0 ? p.x : std::max(xHigh, p.x);
        yLow = i == 0 ? p.mean - p.uncertainty : std::min(yLow, p.mean - p.uncertainty);
        yHigh = i == 0 ? p.mean + p.uncertainty : std::max(yHigh, p.mean + p.uncertainty);
    }
    points_->setData(xs, ys, true);
    errors_->setData(bars);

    if (points.empty() && !d.suggested.empty()) {
        // An empty graph still spans the values the lesson suggests.
        xLow = *std::min_element(d.suggested.begin(), d.suggested.end());
        xHigh = *std::max_element(d.suggested.begin(), d.suggested.end());
    }
    xAxis->setRange(Padded(xLow, xHigh, fromZero));
    drawFit(model, fit, xAxis->range().lower, xAxis->range().upper);
    for (const QCPGraphData& p : *fitCurve_->data()) {
        yLow = std::min(yLow, p.value);
        yHigh = std::max(yHigh, p.value);
    }
    yAxis->setRange(Padded(yLow, yHigh, fromZero));
    replot(replotWhen);
}

void TResultsGraph::drawFit(const TResultsModel& model, TFitKind fit, double xLow, double xHigh)
{
    fitCurve_->data()->clear();
    lineFit_ = {};
    curveFit_ = {};
    if (fit == TFitKind::None) {
        setFitText(QString());
        return;
    }
    std::vector<stats::TPoint> points;
    for (const TGraphPoint& p : model.GraphPoints())
        points.push_back({p.x, p.mean});
    const TResultsTableDeclaration& d = model.Declaration();
    if (fit == TFitKind::Curve) {
        curveFit_ = stats::FitSmoothCurve(points);
        if (!curveFit_.Ok()) {
            setFitText(str::sResultsNotEnoughForCurve().arg(d.independent.name.toLower()));
            return;
        }
        double low = points.front().x, high = points.front().x;
        for (const stats::TPoint& p : points) {
            low = std::min(low, p.x);
            high = std::max(high, p.x);
        }
        QVector<double> xs, ys;
        for (int i = 0; i <= kCurveSamples; ++i) {
            const double x = low + (high - low) * i / kCurveSamples;
            xs << x;
            ys << curveFit_.At(x);
        }
        fitCurve_->setData(xs, ys, true);
        setFitText(str::sResultsCurve());
        return;
    }
    lineFit_ =
        fit == TFitKind::ThroughOrigin ? stats::FitThroughOrigin(points) : stats::FitStraightLine(points);
    if (!lineFit_.Ok()) {
        setFitText(str::sResultsNotEnoughData());
        return;
    }
    fitCurve_->setData(QVector<double>{xLow, xHigh}, QVector<double>{lineFit_.At(xLow), lineFit_.At(xHigh)},
                       true);
    QString text = str::sResultsGradient().arg(Rounded(lineFit_.gradient),
                                               GradientUnit(d.dependent.unit, d.independent.unit));
    if (fit == TFitKind::Line)
        text += QStringLiteral(", ") +
                str::sResultsIntercept().arg(Rounded(lineFit_.intercept), d.dependent.unit);
    setFitText(text.trimmed());
}

}  // namespace brv
