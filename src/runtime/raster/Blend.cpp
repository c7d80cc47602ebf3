#include "runtime/raster/Blend.h"

namespace brv::raster {

void BlendRow(TColor32* dst, const TColor32* src, int count, unsigned master)
{
    if (master >= 255) {
        for (int i = 0; i < count; ++i) {
            TColor32 s = src[i];
            unsigned a = AlphaOf(s);
            if (a == 255)
                dst[i] = s;
            else if (a != 0)
                dst[i] = BlendColor(s, dst[i], a);
        }
        return;
    }
    if (master == 0)
        return;
    for (int i = 0; i < count; ++i) {
        TColor32 s = src[i];
        unsigned a = MulDiv255(AlphaOf(s), master);
        if (a != 0)
            dst[i] = BlendColor(s, dst[i], a);
    }
}

}  // namespace brv::raster
