#include "runtime/StepAnimation.h"

#include <QString>
#include <QTimer>
#include <QWidget>

namespace brv {

TStepAnimation::TStepAnimation(QWidget* form, const QString& timerName, int idleMs,
                               std::function<bool()> step)
    : timer_(new QTimer(form)), step_(std::move(step))
{
    timer_->setObjectName(timerName);
    timer_->setInterval(idleMs);
    QObject::connect(timer_, &QTimer::timeout, timer_, [this] { Tick(); });
}

TStepAnimation::~TStepAnimation()
{
    // No tick may reach a form that is going.
    timer_->stop();
}

bool TStepAnimation::Running() const
{
    return timer_->isActive();
}

void TStepAnimation::Start(QWidget* toolbar, int intervalMs)
{
    toolbar_ = toolbar;
    if (toolbar_ != nullptr)
        toolbar_->setEnabled(false);
    timer_->start(intervalMs);
}

void TStepAnimation::Tick()
{
    if (step_())
        Finish();
}

void TStepAnimation::Finish()
{
    timer_->stop();
    if (toolbar_ != nullptr)
        toolbar_->setEnabled(true);
}

}  // namespace brv
