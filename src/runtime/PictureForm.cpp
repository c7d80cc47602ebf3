#include "runtime/PictureForm.h"

#include "runtime/BRV_StrConstants.h"
#include "runtime/Image32.h"

#include <QAbstractButton>
#include <QAction>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QVBoxLayout>

#include <utility>

namespace brv {

TPictureForm::TPictureForm(QWidget* parent) : TExperimentForm(parent) {}

TPictureForm::~TPictureForm() = default;

void TPictureForm::SetLargeButtons(bool large)
{
    if (LargeButtonsUnchanged(large, largeRule_.scaleByDpi))
        return;
    RememberLarge(large);
    ApplyLargeButtons(toolbar_, large, largeItems_, largeRule_.largePercent, largeRule_.smallPercent,
                      largeRule_.scaleByDpi, largeRule_.largeImages);
}

void TPictureForm::SetLargeItems(std::vector<TLargeItem> items, TLargeRule rule)
{
    largeItems_ = std::move(items);
    largeRule_ = rule;
    ApplyLargeButtons(toolbar_, LargeApplied(), largeItems_, largeRule_.largePercent, largeRule_.smallPercent,
                      largeRule_.scaleByDpi, largeRule_.largeImages);
}

void TPictureForm::CreateToolbar()
{
    toolbar_ = new TExperimentToolbar(str::sToolbarTitle(), this);
}

void TPictureForm::CreatePic()
{
    Pic_ = new TImage32(this);
    Pic_->setObjectName(QStringLiteral("Pic"));
    Pic_->setMinimumSize(40, 40);
    Pic_->OnResize = [this] { PicResize(); };
}

void TPictureForm::LayOutPicture(std::initializer_list<QWidget*> left, std::initializer_list<QWidget*> right,
                                 QWidget* bottom)
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (QWidget* w : left)
        row->addWidget(w);
    row->addWidget(Pic_, 1);
    for (QWidget* w : right)
        row->addWidget(w);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(row, 1);
    if (bottom != nullptr)
        column->addWidget(bottom);
}

void TPictureForm::PicResize()
{
    Pic_->FitBitmapToControl();
    const TBitmap32& b = Pic_->Bitmap();
    Scale_ = ComputeScale(b.Width(), b.Height());
    PlaceLayers();
    RedrawBackground();
}

void TPictureForm::RedrawBackground()
{
    if (Pic_ == nullptr)
        return;
    TBitmap32& b = Pic_->Bitmap();
    if (b.Empty())
        return;
    b.BeginUpdate();
    b.Clear(clWhite32);
    DrawBackground(b);
    b.FrameRect(b.BoundsRect(), clBorder32);
    b.EndUpdate();
    Pic_->Repaint();
}

// --- redrawn on every change ----------------------------------------------------

void TRedrawnForm::Redraw()
{
    Recompute();
    RedrawBackground();
}

void TRedrawnForm::RedrawOn(QSpinBox* spin, std::function<void()> then)
{
    connect(spin, &QSpinBox::valueChanged, this, [this, then = std::move(then)] {
        if (then)
            then();
        Redraw();
    });
}

void TRedrawnForm::RedrawOn(QDoubleSpinBox* spin, std::function<void()> then)
{
    connect(spin, &QDoubleSpinBox::valueChanged, this, [this, then = std::move(then)] {
        if (then)
            then();
        Redraw();
    });
}

void TRedrawnForm::RedrawOn(QAction* action, std::function<void()> then)
{
    connect(action, &QAction::triggered, this, [this, then = std::move(then)] {
        if (then)
            then();
        Redraw();
    });
}

void TRedrawnForm::RedrawOn(QAbstractButton* button, std::function<void()> then)
{
    connect(button, &QAbstractButton::toggled, this, [this, then = std::move(then)] {
        if (then)
            then();
        Redraw();
    });
}

}  // namespace brv
