#include "experiments/biology/BiologyPictures.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

// The drawings live in this static library's resources, which a linker keeps
// only when something refers to them: this reference is it.
static void RegisterBiologyResources()
{
    Q_INIT_RESOURCE(biology);
}

namespace brv {

bool LoadBiologyPicture(TBitmap32& b, const QString& name, int width, int height, TColor32 background)
{
    static const bool registered = (RegisterBiologyResources(), true);
    (void)registered;
    QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
    picture.fill(QColor::fromRgba(background));
    QSvgRenderer renderer(QStringLiteral(":/brv/biology/%1.svg").arg(name));
    const bool ok = renderer.isValid();
    if (ok) {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, width, height));
    }
    b.Assign(picture.convertToFormat(QImage::Format_ARGB32));
    return ok;
}

void TScaledPicture::Draw(TBitmap32& source, TBitmap32& target, const TRect& r)
{
    if (r.IsEmpty() || source.Empty())
        return;
    if (scaled_.Width() != r.Width() || scaled_.Height() != r.Height()) {
        scaled_.SetSize(r.Width(), r.Height(), true);
        // Resampled as it is, alpha and all; combined with the target below.
        const TDrawMode mode = source.DrawMode;
        source.DrawMode = TDrawMode::dmOpaque;
        source.StretchTo(scaled_, scaled_.BoundsRect());
        source.DrawMode = mode;
    }
    scaled_.DrawMode = source.DrawMode;
    scaled_.MasterAlpha = source.MasterAlpha;
    scaled_.DrawTo(target, r.Left, r.Top);
}

}  // namespace brv
