#include "shell/uPictureFile.h"

#include <QFile>
#include <QImageReader>

namespace brv {

namespace {

// Files copied through some tools end in padding after the picture's own end.
QByteArray TailWithoutPadding(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    constexpr qint64 kTail = 4096;
    f.seek(std::max<qint64>(0, f.size() - kTail));
    QByteArray tail = f.readAll();
    while (!tail.isEmpty() && (tail.back() == '\0' || tail.back() == '\n' || tail.back() == '\r'))
        tail.chop(1);
    return tail;
}

bool EndsWhole(const QString& file, const QByteArray& format)
{
    if (format == "jpeg" || format == "jpg")
        return TailWithoutPadding(file).endsWith("\xFF\xD9");
    if (format == "gif")
        return TailWithoutPadding(file).endsWith(';');
    return true;
}

}  // namespace

QImage ReadWholePicture(const QString& file)
{
    QImageReader reader(file);
    const QByteArray format = reader.format();
    QImage picture = reader.read();
    if (picture.isNull() || !EndsWhole(file, format))
        return {};
    return picture;
}

}  // namespace brv
