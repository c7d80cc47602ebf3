#include "runtime/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace brv {

QString DefaultProgramFolder()
{
    return ProgramFolderFor(QCoreApplication::applicationDirPath());
}

QString ProgramFolderFor(const QString& executableFolder)
{
    if (HoldsLessonBook(executableFolder))
        return QDir::cleanPath(executableFolder);
    const QString installed =
        QDir::cleanPath(QDir(executableFolder).filePath(QStringLiteral(BRV_INSTALLED_DATA_DIR)));
    return HoldsLessonBook(installed) ? installed : QDir::cleanPath(executableFolder);
}

bool HoldsLessonBook(const QString& folder)
{
    return QFileInfo(ResolveInFolder(folder, QStringLiteral("html"))).isDir();
}

QString HelperProgramFor(const QString& executableFolder, const QString& name)
{
    const QString beside = QDir(executableFolder).filePath(name);
    if (QFileInfo(beside).isFile())
        return beside;
    const QString installed =
        QDir::cleanPath(QDir(executableFolder).filePath(QStringLiteral(BRV_INSTALLED_HELPER_DIR "/") + name));
    return QFileInfo(installed).isFile() ? installed : beside;
}

QString HelperProgram(const QString& name)
{
    return HelperProgramFor(QCoreApplication::applicationDirPath(), name);
}

namespace {

// The entry of dir whose name equals name ignoring case; name itself when
// nothing matches.
QString MatchEntry(const QDir& dir, const QString& name)
{
    if (QFileInfo::exists(dir.filePath(name)))
        return name;
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return name;
}

}  // namespace

QString ResolveInFolder(const QString& folder, const QString& relative)
{
    QString path = relative;
    path.replace('\\', '/');
    const QStringList parts = path.split('/', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return {};
    QString result = QDir::cleanPath(folder);
    for (const QString& part : parts) {
        if (part == QLatin1String("..") || part == QLatin1String("."))
            return {};
        result = QDir(result).filePath(MatchEntry(QDir(result), part));
    }
    return result;
}

bool ExistsInFolder(const QString& folder, const QString& relative)
{
    const QString path = ResolveInFolder(folder, relative);
    return !path.isEmpty() && QFileInfo(path).isFile();
}

}  // namespace brv
