// The font of the apparatus's numbers and captions.
#pragma once

#include "runtime/Bitmap32.h"

namespace brv {

// "arial" of heightPx pixels (the text's cell, ascent + descent), bold unless
// told otherwise.  The colour is left as it is: most callers draw in black,
// a few number a scale in another colour.
void SetLabelFont(TBitmap32& b, int heightPx, bool bold = true);

}  // namespace brv
