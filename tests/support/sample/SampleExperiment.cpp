#include "support/sample/SampleExperiment.h"

#include "runtime/Catalogue.h"

#include <QVBoxLayout>

namespace brv::test {

int TSampleFrm::Alive = 0;

TSampleFrm::TSampleFrm(QWidget* parent) : TExperimentForm(parent)
{
    ++Alive;
    toolbar_ = new TExperimentToolbar(QStringLiteral("Sample"), this);
    StartBtn = toolbar_->addAction(QStringLiteral("Start"));
    StartBtn->setProperty("imageIndex", 7);
    StopBtn = toolbar_->addAction(QStringLiteral("Stop"));
    StopBtn->setProperty("imageIndex", 6);
    SpeedSE = new QSpinBox;
    SpeedSE->setRange(1, 100);
    SpeedSE->setValue(50);
    toolbar_->addWidget(SpeedSE);

    pic_ = new TImage32(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pic_);

    dot_ = &pic_->AddLayer();
    dot_->OnPaint = [](TPositionedLayer& layer, TBitmap32& buffer) {
        const TRect r = layer.PixelRect();
        buffer.FillRect(r, 0xFFFF0000);
    };

    clock_ = std::make_unique<TNGLCadencer>();
    clock_->FixedDeltaTime = 0.001;
    clock_->OnProgress = [this](TNGLCadencer*, double dt, double) {
        ++Steps;
        X += SpeedSE->value() * dt;
        dot_->SetLocation({float(X), 20, float(X) + 10, 30});
    };
    connect(StartBtn, &QAction::triggered, this, [this] { clock_->SetEnabled(true); });
    connect(StopBtn, &QAction::triggered, this, [this] { clock_->SetEnabled(false); });
    pic_->OnResize = [this] {
        pic_->FitBitmapToControl();
        drawBackground();
    };
    dot_->SetLocation({float(X), 20, float(X) + 10, 30});
}

TSampleFrm::~TSampleFrm()
{
    --Alive;
}

void TSampleFrm::drawBackground()
{
    TBitmap32& b = pic_->Bitmap();
    if (b.Empty())
        return;
    b.BeginUpdate();
    b.Clear(clWhite32);
    b.FrameRect(b.BoundsRect(), clBorder32);
    b.EndUpdate();
    pic_->Repaint();
}

void TSampleFrm::SetLargeButtons(bool large)
{
    Calls.push_back(QStringLiteral("large:%1:%2").arg(large ? 1 : 0).arg(isHidden() ? "hidden" : "shown"));
    if (LargeButtonsUnchanged(large, true))
        return;
    RememberLarge(large);
    ApplyLargeButtons(toolbar_, large, {{SpeedSE, 50, 75}});
}

void RegisterSample(int id, bool beforeShow)
{
    TCatalogueEntry e;
    e.id = id;
    e.create = [] { return new TSampleFrm; };
    e.largeButtons = beforeShow ? TLargeButtonsCall::BeforeShow : TLargeButtonsCall::AfterShow;
    // A page of its own for each id: a page leads to one experiment.
    e.mainPage = QStringLiteral("SAMPLE%1.HTM").arg(id);
    TCatalogue::Instance().Register(std::move(e));
}

}  // namespace brv::test
