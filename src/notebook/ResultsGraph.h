// The graph of a results table: the mean of each row against its independent
// value, an error bar for the range of its repeats, and the chosen line of
// best fit with its gradient and intercept.  Drawn by QCustomPlot, which
// draws error bars and writes PNG and PDF itself.
#pragma once

#include "notebook/ResultsFile.h"
#include "notebook/Statistics.h"

#include <qcustomplot.h>

namespace brv {

class TResultsModel;

class TResultsGraph : public QCustomPlot {
    Q_OBJECT
public:
    explicit TResultsGraph(QWidget* parent = nullptr);

    // Draws model's points with the fit and the axes' option; replot says
    // when (queued: once before the next paint).
    void Show(const TResultsModel& model, TFitKind fit, bool fromZero,
              RefreshPriority replot = rpQueuedReplot);
    void ShowNothing();

    QCPGraph* Points() const { return points_; }
    QCPErrorBars* ErrorBars() const { return errors_; }
    QCPGraph* FitCurve() const { return fitCurve_; }
    // The fit's description: "gradient = 0.62 cm/cm, intercept = 1.3 cm", or
    // why there is none.
    QString FitText() const { return fitText_; }
    const stats::TLineFit& LineFit() const { return lineFit_; }
    const stats::TCurveFit& CurveFit() const { return curveFit_; }

signals:
    void FitTextChanged(const QString& text);

private:
    void drawFit(const TResultsModel& model, TFitKind fit, double xLow, double xHigh);
    void setFitText(const QString& text);

    QCPGraph* points_ = nullptr;
    QCPErrorBars* errors_ = nullptr;
    QCPGraph* fitCurve_ = nullptr;
    stats::TLineFit lineFit_;
    stats::TCurveFit curveFit_;
    QString fitText_;
};

// "cm/cm", "cm³/ºC", "N" … the unit of a gradient.
QString GradientUnit(const QString& yUnit, const QString& xUnit);

}  // namespace brv
