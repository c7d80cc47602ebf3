#include "shell/html_FileUtils.h"

#include "runtime/ProgramFolder.h"

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

QString DollarPicturePath(const QString& programFolder, const QString& segment)
{
    // The name starts after the link's leading "$".
    const QString name = QUrl::fromPercentEncoding(segment.mid(1).toUtf8());
    if (name.isEmpty())
        return {};
    // ResolveInFolder refuses ".." and "." components, so the result can only
    // lie inside the images folder.
    return ResolveInFolder(programFolder, QStringLiteral("html\\images\\") + name);
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
