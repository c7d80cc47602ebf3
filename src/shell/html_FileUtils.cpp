#include "shell/html_FileUtils.h"

#include "runtime/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

namespace brv {

namespace {

// "/ball-data.htm#results" → "BALL-DATA.HTM".
QString NormalisedPageName(const QString& segment)
{
    QString name = segment;
    if (name.startsWith(QLatin1Char('/')))
        name.remove(0, 1);
    name = LastUrlSegment(name);
    const qsizetype anchor = name.indexOf(QLatin1Char('#'));
    if (anchor >= 0)
        name.truncate(anchor);
    return name.toUpper();
}

}  // namespace

QString LastUrlSegment(const QString& url)
{
    qsizetype slash = url.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        slash = url.lastIndexOf(QLatin1Char('\\'));
    return url.mid(slash + 1);
}

ExperimentId PageExperimentId(const QString& segment, ExperimentId current)
{
    const TCatalogueEntry* entry = TCatalogue::Instance().FindByPage(NormalisedPageName(segment));
    return entry != nullptr ? entry->id : current;
}

QString ExperimentMainPage(ExperimentId id)
{
    const TCatalogueEntry* entry = TCatalogue::Instance().Find(id);
    return entry != nullptr ? entry->mainPage : QString();
}

namespace {

// path with its symbolic links and "." and ".." resolved; for a file that
// does not exist (a link to a missing page) its folder's real path and name.
QString RealPath(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QFileInfo folder(info.absolutePath());
    if (folder.exists())
        return QDir(folder.canonicalFilePath()).filePath(info.fileName());
    return QDir::cleanPath(info.absoluteFilePath());
}

}  // namespace

QString DollarPicturePath(const QString& programFolder, const QString& segment)
{
    // The name starts after the link's leading "$".
    const QString name = QUrl::fromPercentEncoding(segment.mid(1).toUtf8());
    if (name.isEmpty())
        return {};
    // ResolveInFolder refuses ".." and "." components; a symbolic link is
    // followed to where it really leads, which must be the images folder too.
    const QString file = ResolveInFolder(programFolder, QStringLiteral("html\\images\\") + name);
    if (file.isEmpty())
        return {};
    const QString images = RealPath(ResolveInFolder(programFolder, QStringLiteral("html\\images")));
    return RealPath(file).startsWith(images + QLatin1Char('/')) ? file : QString();
}

bool IsInsideLessonBook(const QString& programFolder, const QString& file)
{
    const QString root = RealPath(programFolder);
    const QString path = RealPath(file);
    if (root.isEmpty() || !path.startsWith(root + QLatin1Char('/')))
        return false;
    const QString top = path.mid(root.size() + 1).section(QLatin1Char('/'), 0, 0);
    for (const char* folder : {"html", "Flash", "Help"})
        if (top.compare(QLatin1String(folder), Qt::CaseInsensitive) == 0)
            return path.size() > root.size() + 1 + top.size();
    return false;
}

QString PictureSourceToFile(const QString& sourceUrl)
{
    const QUrl url(sourceUrl);
    if (!url.isLocalFile())
        return {};
    return url.toLocalFile();
}

QString JsStringLiteral(const QString& text)
{
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    // json is ["..."]: keep the string between the brackets.
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

}  // namespace brv
