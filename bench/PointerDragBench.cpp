// Drags of the pointer across the picture at 1920 × 1080, as the pupil's hand
// makes them: the resistance wire's contact along the metre rule, and the
// photosynthesis lamp along the bench.  One mouse move with the button held
// per iteration, sent to the picture as a real event, then the repaint of
// what the move marked; the pointer sweeps the whole travel and back.  Each
// against a Clear of the same size; a frame's budget is 16 ms.
#include "BenchPeers.h"

#include "experiments/biology/uPhotosynthesis.h"
#include "experiments/biology/uPhotosynthesisModel.h"
#include "experiments/physics/uReswire.h"
#include "runtime/Image32.h"

#include <QApplication>
#include <QMouseEvent>

#include <algorithm>
#include <memory>

namespace brv {

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

template <class Form>
std::unique_ptr<Form> FormAtFullHd()
{
    auto form = CreateForm<Form>();
    bench::SizePicture(*form->Pic(), kWidth, kHeight);
    return form;
}

void SendMouse(QWidget* w, QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Presses at grip and, once taken (the form says so), moves the held pointer
// between grip.x + from and grip.x + to, a few pixels per iteration,
// repainting after each move.
template <class Taken>
void DragAcross(benchmark::State& state, TImage32* pic, QPointF grip, double from, double to, Taken taken)
{
    TBitmap32 buffer;
    pic->PaintPending(buffer);
    SendMouse(pic, QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    if (!taken()) {
        state.SkipWithError("the press took nothing");
        return;
    }
    constexpr double kStep = 3;
    double dx = from;
    double direction = 1;
    for (auto _ : state) {
        dx += direction * kStep;
        if (dx > to || dx < from) {
            direction = -direction;
            dx = std::clamp(dx, from, to);
        }
        SendMouse(pic, QEvent::MouseMove, grip + QPointF(dx, 0), Qt::NoButton, Qt::LeftButton);
        pic->PaintPending(buffer);
        benchmark::DoNotOptimize(buffer.Bits());
    }
    SendMouse(pic, QEvent::MouseButtonRelease, grip + QPointF(dx, 0), Qt::LeftButton, Qt::NoButton);
}

void ReswireContactDrag(benchmark::State& state)
{
    const auto form = FormAtFullHd<TReswireFrm>();
    const TRect rule = form->RuleRect();
    const QPointF zero(rule.Left, (rule.Top + rule.Bottom) / 2.0);
    DragAcross(state, form->Pic(), zero, 0, 100 * form->Scale(), [&] { return form->Dragging(); });
}

void PhotoLampDrag(benchmark::State& state)
{
    const auto form = FormAtFullHd<TPhotoFrm>();
    const TRect lamp = form->LampLayer->PixelRect();
    const QPointF grip((lamp.Left + lamp.Right) / 2.0, (lamp.Top + lamp.Bottom) / 2.0);
    const double s = form->Scale();
    const double offset = form->Model().LampOffset;
    DragAcross(state, form->Pic(), grip, -offset * s, (TPhotosynthesisModel::MaxLampOffset - offset) * s,
               [&] { return form->DragMode() == TPhotoFrm::TDragMode::Lamp; });
}

const bool kPointerDrags = [] {
    bench::MeasureAgainstClear("ReswireContactDrag1920x1080", ReswireContactDrag, kWidth, kHeight);
    bench::MeasureAgainstClear("PhotoLampDrag1920x1080", PhotoLampDrag, kWidth, kHeight);
    return true;
}();

}  // namespace

}  // namespace brv
