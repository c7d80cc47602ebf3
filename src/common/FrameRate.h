// How often a picture can change on the screen: the screen's refresh rate.
// Pictures are painted, and free-running clocks ticked, at most this often:
// more would be frames that no screen shows, at the cost of the CPU.
#pragma once

#include <QtGlobal>

class QScreen;

namespace brv {

// Frames a second of screen (the primary screen when null), 60 where it
// tells none; or the rate SetFrameRate chose.
qreal FrameRate(const QScreen* screen = nullptr);
// One rate for every screen, picture and clock (tests); 0 restores the
// screens' own.
void SetFrameRate(qreal perSecond);
// The length of a frame, in nanoseconds.
qint64 FrameNanoseconds(const QScreen* screen = nullptr);

}  // namespace brv
