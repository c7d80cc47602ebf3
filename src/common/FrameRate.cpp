#include "common/FrameRate.h"

#include <QGuiApplication>
#include <QScreen>

namespace brv {

namespace {

qreal gFrameRate = 0;  // 0: the screens' own
constexpr qreal kFrameRateUntold = 60;

}  // namespace

qreal FrameRate(const QScreen* screen)
{
    if (gFrameRate > 0)
        return gFrameRate;
    if (screen == nullptr && qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr)
        screen = QGuiApplication::primaryScreen();
    const qreal rate = screen != nullptr ? screen->refreshRate() : 0;
    return rate >= 1 && rate <= 1000 ? rate : kFrameRateUntold;
}

void SetFrameRate(qreal perSecond)
{
    gFrameRate = perSecond > 0 ? perSecond : 0;
}

qint64 FrameNanoseconds(const QScreen* screen)
{
    return qint64(1e9 / FrameRate(screen));
}

}  // namespace brv
