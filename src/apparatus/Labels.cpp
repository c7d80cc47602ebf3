#include "apparatus/Labels.h"

namespace brv {

void SetLabelFont(TBitmap32& b, int heightPx, bool bold)
{
    b.Font.Name = QStringLiteral("arial");
    b.Font.Height = heightPx;
    b.Font.Style = bold ? fsBold : fsNone;
}

}  // namespace brv
