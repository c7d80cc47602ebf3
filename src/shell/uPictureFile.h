// Reading a picture of the lesson book (a "$" picture, the start-up picture)
// whole or not at all.  The image readers show a JPEG or GIF that was cut
// short as far as it goes, grey or empty below; a pupil would take that half
// picture for the real one.
#pragma once

#include <QImage>
#include <QString>

namespace brv {

// The picture in file; null when it cannot be read, when it is cut short (a
// JPEG without its end marker, a GIF without its trailer) or when it is too
// large to hold.
QImage ReadWholePicture(const QString& file);

}  // namespace brv
