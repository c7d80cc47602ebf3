// What every experiment form offers the main window, and the pieces of that
// contract the forms share: the never-closable toolbar, the large-buttons rule
// and the picture scale shapes.
#pragma once

#include <QToolBar>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

namespace brv {

class TImage32;
class TNGLCadencer;

// A dockable toolbar that can float but never be closed: a close request
// (ToolbarCloseQuery) docks it back where it was last docked.
class TExperimentToolbar : public QToolBar {
    Q_OBJECT
public:
    explicit TExperimentToolbar(const QString& title, QWidget* parent = nullptr);
    // Docks the toolbar back into the area it last sat in (or the top area).
    void ToolbarCloseQuery();
    Qt::ToolBarArea LastDockArea() const { return lastArea_; }

protected:
    bool event(QEvent* e) override;

private:
    void rememberDockArea();
    Qt::ToolBarArea lastArea_ = Qt::TopToolBarArea;
};

class TExperimentForm : public QWidget {
    Q_OBJECT
public:
    explicit TExperimentForm(QWidget* parent = nullptr);
    ~TExperimentForm() override;

    // The toolbar the host docks into its own dock; null for a form that keeps
    // its controls in panels of its own (heat of neutralisation).
    virtual QToolBar* Toolbar() { return nullptr; }
    virtual TImage32* Pic() { return nullptr; }
    virtual void SetLargeButtons(bool large) = 0;
    // Forms without a Toolbar show or hide their own panels instead.
    virtual void ShowToolPanels(bool /*visible*/) {}

    // Developer tools drive a form through these: press its start control and
    // reach its animation clock (null when it has none).
    virtual void PressStart() {}
    virtual TNGLCadencer* Cadencer() { return nullptr; }

    // The large-buttons flag last applied (false when created).
    bool LargeApplied() const { return largeApplied_; }

    // Runs once, right after the constructor of the most derived form (see
    // CreateForm): the work every form of a kind ends its creation with, such
    // as a clock form entering its Ready state, which needs the form's own
    // controls and overrides in place and so cannot run in a base constructor.
    virtual void FormCreated() {}

protected:
    // Step 1 of the rule: true when the routine has nothing to do.  Forms
    // whose widths scale with the screen's dots per inch pass dpiScaled, so
    // they return early only at 96 dots per inch.
    bool LargeButtonsUnchanged(bool large, bool dpiScaled) const;
    void RememberLarge(bool large) { largeApplied_ = large; }

private:
    bool largeApplied_ = false;
};

// Creates a form as the host does: constructed, then FormCreated.
template <class Form>
std::unique_ptr<Form> CreateForm()
{
    auto form = std::make_unique<Form>();
    form->FormCreated();
    return form;
}

// One item of a toolbar whose width and font follow the button size.
struct TLargeItem {
    QWidget* item = nullptr;
    int smallWidth = 0;  // 0: width left alone
    int largeWidth = 0;
    // Font percentages of this item where they differ from the toolbar's
    // (a temperature editor at 150 % / 300 %); 0: the toolbar's.
    int smallPercent = 0;
    int largePercent = 0;
};

// Steps 3-7 of the rule: image list (the small one throughout when
// largeImages is false), font percentages and widths round(w × dpi / 96) of
// each item, layout suspended meanwhile.
void ApplyLargeButtons(QToolBar* toolbar, bool large, const std::vector<TLargeItem>& items,
                       int largePercent = 150, int smallPercent = 100, bool scaleByDpi = true,
                       bool largeImages = true);

// Dots per inch of the screen the program runs on (tests may pin it).
int ScreenDpi();
void SetScreenDpiOverride(int dpi);  // 0 restores the real value
// Width of the screen the program runs on, in the screen's own pixels (tests
// may pin it); 0 when there is no screen.
int ScreenPixelWidth();
void SetScreenWidthOverride(int pixels);  // 0 restores the real value
// f = dpi / 96 in single precision, width round(w × f).
int DpiScaled(int width);

// The picture scale shapes: Scale in pixels per scene unit.
namespace scale {
// Scale = H × k; if W < Scale × n then Scale = W / n.
float FromHeightCappedByWidth(int w, int h, float k, float n);
// w' = W, or round(H × 14 / 10) when W > 1.4 × H; Scale = w' × k.
float FromWidthCappedByHeight(int w, int h, float k);
// Scale = min(W, H) × k.
float FromSmallerSide(int w, int h, float k);
// The smaller side with a factor of its own for each case: W × kNarrow when
// the picture is narrower than high, else H × kWide.
float FromSmallerSide(int w, int h, float kNarrow, float kWide);
// The same told in scene units along the smaller side: H / unitsDown when
// the picture is wider than high, else W / unitsAcross.
float FromSmallerSideUnits(int w, int h, float unitsAcross, float unitsDown);
// Scale = H × k.
float FromHeight(int h, float k);
// The same told in scene units down the picture: Scale = H / units.
float FromHeightUnits(int h, float units);
}  // namespace scale

}  // namespace brv
