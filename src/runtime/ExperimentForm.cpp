#include "runtime/ExperimentForm.h"

#include "runtime/AddMaths.h"
#include "runtime/DataMod.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QScreen>

#include <algorithm>

namespace brv {

// --- toolbar ----------------------------------------------------------------

TExperimentToolbar::TExperimentToolbar(const QString& title, QWidget* parent) : QToolBar(title, parent)
{
    setObjectName(QStringLiteral("Toolbar"));
    setMovable(true);
    setFloatable(true);
    // The main window's toolbar menu must not offer to hide it.
    toggleViewAction()->setEnabled(false);
    toggleViewAction()->setVisible(false);
    connect(this, &QToolBar::topLevelChanged, this, [this] { rememberDockArea(); });
}

void TExperimentToolbar::rememberDockArea()
{
    auto* window = qobject_cast<QMainWindow*>(parentWidget());
    if (window == nullptr)
        return;
    const Qt::ToolBarArea area = window->toolBarArea(this);
    if (area != Qt::NoToolBarArea)
        lastArea_ = area;
}

void TExperimentToolbar::ToolbarCloseQuery()
{
    auto* window = qobject_cast<QMainWindow*>(parentWidget());
    if (window == nullptr)
        return;
    // The window may have moved the toolbar to another dock since it was
    // last dragged: a docked toolbar's own area is the truth.
    if (!isFloating())
        rememberDockArea();
    window->addToolBar(lastArea_, this);
    show();
}

bool TExperimentToolbar::event(QEvent* e)
{
    if (e->type() == QEvent::Close) {
        e->ignore();
        ToolbarCloseQuery();
        return true;
    }
    if (e->type() == QEvent::ParentChange)
        rememberDockArea();
    return QToolBar::event(e);
}

// --- form ---------------------------------------------------------------------

TExperimentForm::TExperimentForm(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
}

TExperimentForm::~TExperimentForm() = default;

bool TExperimentForm::LargeButtonsUnchanged(bool large, bool dpiScaled) const
{
    if (large != largeApplied_)
        return false;
    return !dpiScaled || ScreenDpi() == 96;
}

// --- large buttons ------------------------------------------------------------

namespace {

int dpiOverride = 0;
int screenWidthOverride = 0;

void ScaleFont(QWidget* item, int percent)
{
    QFont font = QApplication::font(item);
    const qreal base = font.pointSizeF() > 0 ? font.pointSizeF() : 9.0;
    font.setPointSizeF(base * percent / 100.0);
    item->setFont(font);
    // Under a style sheet a spin edit's text field keeps the font it was
    // polished with; its numbers must grow with the caption beside them.
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(item))
        for (QLineEdit* text : spin->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
            text->setFont(font);
}

}  // namespace

int ScreenDpi()
{
    if (dpiOverride > 0)
        return dpiOverride;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        return Round(screen->logicalDotsPerInch());
    return 96;
}

void SetScreenDpiOverride(int dpi)
{
    dpiOverride = dpi > 0 ? dpi : 0;
}

int ScreenPixelWidth()
{
    if (screenWidthOverride > 0)
        return screenWidthOverride;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        return Round(screen->geometry().width() * screen->devicePixelRatio());
    return 0;
}

void SetScreenWidthOverride(int pixels)
{
    screenWidthOverride = pixels > 0 ? pixels : 0;
}

int DpiScaled(int width)
{
    const float f = float(ScreenDpi()) / 96.0f;
    return Round(float(width) * f);
}

namespace {

// The widths above were chosen for a narrower font than the desktop may
// give: a spin edit never gets too narrow to show its widest value.
int WidthOfWidestValue(QWidget* item)
{
    auto* spin = qobject_cast<QAbstractSpinBox*>(item);
    return spin != nullptr ? spin->sizeHint().width() : 0;
}

}  // namespace

void ApplyLargeButtons(QToolBar* toolbar, bool large, const std::vector<TLargeItem>& items, int largePercent,
                       int smallPercent, bool scaleByDpi, bool largeImages)
{
    if (toolbar == nullptr)
        return;
    toolbar->setUpdatesEnabled(false);
    ApplyImageList(toolbar, TDataMod::Instance().Buttons(large && largeImages));
    for (const TLargeItem& it : items) {
        if (it.item == nullptr)
            continue;
        const int own = large ? it.largePercent : it.smallPercent;
        ScaleFont(it.item, own > 0 ? own : (large ? largePercent : smallPercent));
        const int w = large ? it.largeWidth : it.smallWidth;
        if (w > 0)
            it.item->setFixedWidth(std::max(scaleByDpi ? DpiScaled(w) : w, WidthOfWidestValue(it.item)));
    }
    if (QLayout* layout = toolbar->layout())
        layout->invalidate();
    toolbar->setUpdatesEnabled(true);
}

// --- picture scale shapes -----------------------------------------------------

namespace scale {

float FromHeightCappedByWidth(int w, int h, float k, float n)
{
    float s = float(h) * k;
    if (float(w) < s * n)
        s = float(w) / n;
    return s;
}

float FromWidthCappedByHeight(int w, int h, float k)
{
    int width = w;
    if (float(w) > 1.4f * float(h))
        width = Round(float(h) * 14.0f / 10.0f);
    return float(width) * k;
}

float FromSmallerSide(int w, int h, float k)
{
    return float(std::min(w, h)) * k;
}

float FromSmallerSide(int w, int h, float kNarrow, float kWide)
{
    return w < h ? float(w) * kNarrow : float(h) * kWide;
}

float FromSmallerSideUnits(int w, int h, float unitsAcross, float unitsDown)
{
    return w > h ? float(h) / unitsDown : float(w) / unitsAcross;
}

float FromHeight(int h, float k)
{
    return float(h) * k;
}

float FromHeightUnits(int h, float units)
{
    return float(h) / units;
}

}  // namespace scale

}  // namespace brv
