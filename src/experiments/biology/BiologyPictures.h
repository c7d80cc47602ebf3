// The pictures the biology experiments draw with: dimples, the lamp and the
// pondweed, kept as drawings in this folder's resources and rendered at the
// pixel sizes the experiments were laid out for.
#pragma once

#include "runtime/Bitmap32.h"

#include <QString>

namespace brv {

// Renders the drawing name (":/brv/biology/<name>.svg") into b at width ×
// height pixels: over background, or with transparent surroundings when
// background has alpha 0.  False (and b that size and background) when the
// drawing is missing.
bool LoadBiologyPicture(TBitmap32& b, const QString& name, int width, int height, TColor32 background);

// A picture drawn scaled into a rectangle, resampled only when the
// rectangle's size changes: a lamp dragged along the bench or a tray of
// dimples repainted costs a copy, not a Lanczos filter, per paint.
class TScaledPicture {
public:
    // As source.StretchTo(target, r) draws it, by source's DrawMode and
    // Resampler; source must stay the same picture between calls.
    void Draw(TBitmap32& source, TBitmap32& target, const TRect& r);

private:
    TBitmap32 scaled_;
};

}  // namespace brv
