// What every experiment form with a toolbar and a picture shares: the
// never-closable toolbar, the picture control named Pic, the picture's scale,
// the large-buttons table and the full redraw of the background.  The three
// kinds of form build on it: TAnimatedForm (run on a clock), TRedrawnForm
// (redrawn on every change) and TTimeScrubbedForm (moved through time on a
// scroll bar).
#pragma once

#include "runtime/ExperimentForm.h"
#include "runtime/ToolbarItems.h"

#include <functional>
#include <initializer_list>
#include <vector>

class QAbstractButton;

namespace brv {

class TBitmap32;
class TImage32;

// How a form's SetLargeButtons applies its table (the general rule with the
// variations experiments ask for).
struct TLargeRule {
    int largePercent = 150;
    int smallPercent = 100;
    // Widths round(w × dpi / 96); such forms return early on an unchanged
    // flag only at 96 dots per inch.
    bool scaleByDpi = true;
    // False for a form whose buttons keep their small pictures.
    bool largeImages = true;
};

class TPictureForm : public TExperimentForm {
    Q_OBJECT
public:
    explicit TPictureForm(QWidget* parent = nullptr);
    ~TPictureForm() override;

    QToolBar* Toolbar() override { return toolbar_; }
    TImage32* Pic() override { return Pic_; }
    // The large-buttons rule over the table given to SetLargeItems.
    void SetLargeButtons(bool large) override;
    // Pixels per scene unit, as the last PicResize computed it.
    float Scale() const { return Scale_; }

    TImage32* Pic_ = nullptr;

    // Fits the bitmap to the control, recomputes Scale (ComputeScale), puts
    // the layers in place (PlaceLayers) and redraws the background.
    virtual void PicResize();

protected:
    // The toolbar, named Toolbar; the form adds its items.
    void CreateToolbar();
    // The picture, named Pic, with OnResize calling PicResize.
    void CreatePic();
    // The picture fills the form, with the given scroll bars (or other
    // widgets) down its left and right sides and along its bottom.
    void LayOutPicture(std::initializer_list<QWidget*> left, std::initializer_list<QWidget*> right = {},
                       QWidget* bottom = nullptr);
    // The experiment's large-buttons table: the text items whose font and
    // the spin edits whose width follow the button size.  Applied small at
    // once, so the toolbar starts with its design widths.
    void SetLargeItems(std::vector<TLargeItem> items, TLargeRule rule = {});

    // Scale from the bitmap's size by one of the shapes of namespace scale.
    virtual float ComputeScale(int width, int height) = 0;
    // Puts the layers where the new Scale puts them.
    virtual void PlaceLayers() {}
    // Draws the background onto a bitmap already cleared to white; the
    // frame round it comes afterwards.
    virtual void DrawBackground(TBitmap32& b) = 0;
    // The full redraw of the background: nothing while the bitmap is empty;
    // otherwise white, DrawBackground, the dark-grey frame round the whole
    // picture, and the picture repainted.
    void RedrawBackground();

    TExperimentToolbar* toolbar_ = nullptr;
    float Scale_ = 1;

private:
    std::vector<TLargeItem> largeItems_;
    TLargeRule largeRule_;
};

// A form that computes its state in closed form from its settings and draws
// it again on every change.  Redraw is its one redraw entry point.
class TRedrawnForm : public TPictureForm {
    Q_OBJECT
public:
    using TPictureForm::TPictureForm;

    // Recomputes whatever follows from the settings, then redraws the
    // background: every change of a control ends here.
    virtual void Redraw();

protected:
    // After the control's value changes: then() (a new scatter, a model
    // update; may be empty), then Redraw.
    void RedrawOn(QSpinBox* spin, std::function<void()> then = {});
    void RedrawOn(QDoubleSpinBox* spin, std::function<void()> then = {});
    void RedrawOn(QAction* action, std::function<void()> then = {});
    // A check box or radio button, on every change of its state (a radio
    // button of a pair: once, for the one switched on or off).
    void RedrawOn(QAbstractButton* button, std::function<void()> then = {});
    // Work before the background is drawn again; nothing by default.
    virtual void Recompute() {}
};

}  // namespace brv
