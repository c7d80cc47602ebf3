// A form's stopwatch read on real pixels: where the form draws it, in
// picture units before the form's scale, and how it must look there.
#pragma once

#include "apparatus/Meters.h"
#include "runtime/AddMaths.h"
#include "runtime/Bitmap32.h"

#include <QImage>
#include <QRect>
#include <QString>

namespace brv::test {

struct StopwatchOnPicture {
    float left = 0, top = 0, width = 0, height = 0;
    QString caption;
    float scale = 1;

    // Its pixels: from the rounded near corner to the rounded far edges.
    QRect Rect() const
    {
        return QRect(QPoint(Round(left * scale), Round(top * scale)),
                     QPoint(Round((left + width) * scale) - 1, Round((top + height) * scale) - 1));
    }
    // What the picture shows there.
    QImage On(const QImage& picture) const { return picture.copy(Rect()); }
    // The stopwatch alone on white, showing text.
    QImage Showing(const QString& text) const
    {
        const QRect r = Rect();
        TBitmap32 b(r.right() + 1, r.bottom() + 1);
        b.Clear(clWhite32);
        DrawStopwatch(b, text, caption, left * scale, top * scale, width * scale, height * scale);
        return b.Image().copy(r);
    }
};

}  // namespace brv::test
