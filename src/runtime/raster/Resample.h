// Scaling a bitmap into a rectangle.  Both resamplers map the centre of
// target pixel i of the rectangle to source position (i + ½) × source size ÷
// rectangle size.
#pragma once

#include "runtime/Bitmap32.h"

#include <vector>

namespace brv::raster {

// The pixels of `visible` (a part of `target`) of source scaled into `target`,
// row by row.  Nearest neighbour takes the source pixel under each centre.
void ResampleNearest(const TBitmap32& source, const TRect& target, const TRect& visible,
                     std::vector<TColor32>& pixels);

// Lanczos-3 (sinc windowed by a three times wider sinc), widened by the
// reduction factor when shrinking; colours are weighted by their alpha.
void ResampleLanczos(const TBitmap32& source, const TRect& target, const TRect& visible,
                     std::vector<TColor32>& pixels);

// The Lanczos-3 kernel at x.
double Lanczos3(double x);

}  // namespace brv::raster
