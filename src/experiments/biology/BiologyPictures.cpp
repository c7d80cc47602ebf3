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

}  // namespace brv
