#include "support/TestSupport.h"

#include <QDir>

namespace brv::test {

QString DataPath(const QString& relative)
{
    QString root = QStringLiteral(BRV_TEST_DATA);
    return relative.isEmpty() ? root : root + '/' + relative;
}

QString SavePicture(const QImage& image, const QString& name)
{
    QDir dir(QStringLiteral(BRV_BINARY_DIR "/tests/pictures"));
    dir.mkpath(QStringLiteral("."));
    QString path = dir.filePath(name + ".png");
    image.save(path);
    return path;
}

std::string CaseNameOfFile(const std::string& file)
{
    std::string name = file.substr(0, file.find('.'));
    for (char& ch : name)
        if (ch == '-')
            ch = '_';
    return name;
}

}  // namespace brv::test
