// Small helpers shared by the tests.
#pragma once

#include <QImage>
#include <QString>

#include <string>

namespace brv::test {

// Folder of the checked-in fixtures (tests/data).
QString DataPath(const QString& relative = {});
// Writes image to <build>/tests/pictures/<name>.png so a person can look at it;
// returns the path.
QString SavePicture(const QImage& image, const QString& name);
// A corpus file's name as a test case's: "lzx-reset-1.chm" → "lzx_reset_1".
std::string CaseNameOfFile(const std::string& file);

}  // namespace brv::test
