#include "apparatus/Wires.h"

namespace brv {

void DrawWire(TBitmap32& bitmap, std::initializer_list<TPoint> points, TColor32 colour)
{
    const TPoint* previous = nullptr;
    for (const TPoint& p : points) {
        if (previous != nullptr) {
            if (p.Y != previous->Y || p.X == previous->X) {
                bitmap.VertLine(p.X, previous->Y, p.Y, colour);
                bitmap.VertLine(p.X - 1, previous->Y, p.Y, colour);
            }
            if (p.X != previous->X) {
                bitmap.HorzLine(previous->X, previous->Y, p.X, colour);
                bitmap.HorzLine(previous->X, previous->Y - 1, p.X, colour);
            }
        }
        previous = &p;
    }
}

}  // namespace brv
