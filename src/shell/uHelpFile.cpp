#include "shell/uHelpFile.h"

#include "runtime/BRV_StrConstants.h"
#include "runtime/ProgramFolder.h"
#include "shell/uHelpReply.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringDecoder>
#include <QUrl>
#include <QtEndian>

namespace brv {

namespace {

// Record codes of the "#SYSTEM" object.
enum : quint16 { kSysContents = 0, kSysIndex = 1, kSysDefaultTopic = 2, kSysTitle = 3 };

QString InsidePath(const QString& path)
{
    return path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path;
}

// Help compilers write UTF-8 or the Windows code page of the author.
QString DecodeText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder latin1(QStringDecoder::Latin1);
    return latin1(bytes);
}

QString RecordText(const char* data, int length)
{
    int end = 0;
    while (end < length && data[end] != '\0')
        ++end;
    return DecodeText(QByteArray(data, end));
}

}  // namespace

// --- sitemaps ----------------------------------------------------------------------

namespace {

QString DecodeEntities(QString text)
{
    static const std::pair<const char*, const char*> named[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&apos;", "'"}, {"&nbsp;", " "}};
    for (const auto& [entity, plain] : named)
        text.replace(QLatin1String(entity), QLatin1String(plain), Qt::CaseInsensitive);
    // Numeric references other than the ones above.
    for (qsizetype at = text.indexOf(QLatin1String("&#")); at >= 0;
         at = text.indexOf(QLatin1String("&#"), at + 1)) {
        const qsizetype end = text.indexOf(QLatin1Char(';'), at);
        if (end < 0 || end - at > 8)
            continue;
        bool ok = false;
        const char32_t code = text.mid(at + 2, end - at - 2).toUInt(&ok);
        if (ok && code > 0 && code <= 0x10FFFF)
            text.replace(at, end - at + 1, QString::fromUcs4(&code, 1));
    }
    return text.replace(QLatin1String("&amp;"), QLatin1String("&"), Qt::CaseInsensitive);
}

// name="value", name='value' or name=value inside one tag.
QString Attribute(const QString& tag, const QString& name)
{
    qsizetype at = 0;
    while ((at = tag.indexOf(name, at, Qt::CaseInsensitive)) >= 0) {
        const bool startsWord = at > 0 && tag[at - 1].isSpace();
        qsizetype pos = at + name.size();
        at = pos;
        if (!startsWord)
            continue;
        while (pos < tag.size() && tag[pos].isSpace())
            ++pos;
        if (pos >= tag.size() || tag[pos] != QLatin1Char('='))
            continue;
        ++pos;
        while (pos < tag.size() && tag[pos].isSpace())
            ++pos;
        if (pos >= tag.size())
            return {};
        const QChar quote = tag[pos];
        if (quote == QLatin1Char('"') || quote == QLatin1Char('\'')) {
            const qsizetype end = tag.indexOf(quote, pos + 1);
            return DecodeEntities(tag.mid(pos + 1, end < 0 ? -1 : end - pos - 1));
        }
        qsizetype end = pos;
        while (end < tag.size() && !tag[end].isSpace() && tag[end] != QLatin1Char('>'))
            ++end;
        return DecodeEntities(tag.mid(pos, end - pos));
    }
    return {};
}

QString TagName(const QString& tag)
{
    qsizetype end = 1;
    while (end < tag.size() && !tag[end].isSpace() && tag[end] != QLatin1Char('>'))
        ++end;
    return tag.mid(1, end - 1).toLower();
}

class TSitemapReader {
public:
    std::vector<THelpEntry> Read(const QString& text)
    {
        levels_.push_back(&root_);
        for (qsizetype at = text.indexOf(QLatin1Char('<')); at >= 0;
             at = text.indexOf(QLatin1Char('<'), at + 1)) {
            if (text.mid(at, 4) == QLatin1String("<!--")) {
                at = text.indexOf(QLatin1String("-->"), at);
                if (at < 0)
                    break;
                continue;
            }
            const qsizetype end = text.indexOf(QLatin1Char('>'), at);
            if (end < 0)
                break;
            tag(text.mid(at, end - at + 1));
            at = end;
        }
        return std::move(root_);
    }

private:
    void tag(const QString& tag)
    {
        const QString name = TagName(tag);
        if (name == QLatin1String("ul"))
            openList();
        else if (name == QLatin1String("/ul"))
            closeList();
        else if (name == QLatin1String("object"))
            inEntry_ = Attribute(tag, QStringLiteral("type"))
                           .compare(QLatin1String("text/sitemap"), Qt::CaseInsensitive) == 0;
        else if (name == QLatin1String("param") && inEntry_)
            param(Attribute(tag, QStringLiteral("name")), Attribute(tag, QStringLiteral("value")));
        else if (name == QLatin1String("/object"))
            closeEntry();
    }

    // Only the innermost list ever grows, so the pointers below it stay valid.
    // Lists nested deeper than any help file's are read as part of the
    // deepest allowed one: the tree is walked and freed recursively.
    void openList()
    {
        if (levels_.size() > kMaxDepth) {
            ++flattened_;
            return;
        }
        std::vector<THelpEntry>* current = levels_.back();
        levels_.push_back(current->empty() ? current : &current->back().children);
    }

    void closeList()
    {
        if (flattened_ > 0)
            --flattened_;
        else if (levels_.size() > 1)
            levels_.pop_back();
    }

    void param(const QString& name, const QString& value)
    {
        if (name.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0 && entry_.name.isEmpty())
            entry_.name = value;
        else if (name.compare(QLatin1String("Local"), Qt::CaseInsensitive) == 0 && entry_.local.isEmpty())
            entry_.local = value;
    }

    void closeEntry()
    {
        if (inEntry_ && !entry_.name.isEmpty())
            levels_.back()->push_back(std::move(entry_));
        entry_ = THelpEntry();
        inEntry_ = false;
    }

    static constexpr std::size_t kMaxDepth = 32;

    std::vector<THelpEntry> root_;
    std::vector<std::vector<THelpEntry>*> levels_;
    int flattened_ = 0;
    THelpEntry entry_;
    bool inEntry_ = false;
};

}  // namespace

std::vector<THelpEntry> ParseSitemap(const QByteArray& text)
{
    return TSitemapReader().Read(DecodeText(text));
}

QString HelpTopicUrl(const QString& local)
{
    // A topic may carry an anchor ("page.htm#part").
    const qsizetype hash = local.indexOf(QLatin1Char('#'));
    QUrl url;
    url.setScheme(QLatin1String(kHelpScheme));
    url.setPath(InsidePath(hash < 0 ? local : local.left(hash)).replace(QLatin1Char('\\'), QLatin1Char('/')));
    if (hash >= 0)
        url.setFragment(local.mid(hash + 1));
    return url.toString();
}

// --- the book -------------------------------------------------------------------------

std::optional<QByteArray> THelpBook::Object(const QString& path) const
{
    const auto found = objects_.constFind(InsidePath(path).toLower());
    if (found == objects_.constEnd())
        return std::nullopt;
    return *found;
}

void THelpBook::AddObject(const QString& path, const QByteArray& data)
{
    objects_.insert(InsidePath(path).toLower(), data);
}

bool HelpFileAvailable(const QString& path)
{
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly);
}

QString DefaultHelpReader()
{
    return HelperProgram(QStringLiteral("brv-helpreader"));
}

namespace {

using namespace helpreply;

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

THelpBook Failed(const QString& file, const QString& error, const QByteArray& log = {})
{
    THelpBook book;
    book.FileName = file;
    book.Error = error;
    book.ReaderLog = log;
    return book;
}

// A bounds-checked cursor over the reply.
class TReplyReader {
public:
    explicit TReplyReader(QByteArrayView reply) : reply_(reply) {}

    bool AtEnd() const { return pos_ == reply_.size(); }
    bool Fits(qsizetype bytes) const { return bytes >= 0 && bytes <= reply_.size() - pos_; }

    std::optional<QByteArrayView> Bytes(qsizetype count)
    {
        if (!Fits(count))
            return std::nullopt;
        const QByteArrayView bytes = reply_.sliced(pos_, count);
        pos_ += count;
        return bytes;
    }

    std::optional<std::uint32_t> U32()
    {
        const std::optional<QByteArrayView> bytes = Bytes(4);
        if (!bytes)
            return std::nullopt;
        return qFromLittleEndian<std::uint32_t>(bytes->data());
    }

    std::optional<char> Tag()
    {
        const std::optional<QByteArrayView> bytes = Bytes(1);
        if (!bytes)
            return std::nullopt;
        return bytes->at(0);
    }

private:
    QByteArrayView reply_;
    qsizetype pos_ = 0;
};

// Reads the objects into book; false at the first flaw.
bool ReadObjects(TReplyReader& reader, THelpBook& book)
{
    const std::optional<QByteArrayView> magic = reader.Bytes(MagicLength);
    if (!magic || *magic != QByteArrayView(Magic, MagicLength))
        return false;
    std::uint32_t objects = 0;
    std::uint64_t total = 0;
    for (;;) {
        const std::optional<char> tag = reader.Tag();
        if (tag == EndTag) {
            const std::optional<std::uint32_t> count = reader.U32();
            return count && *count == objects && reader.AtEnd();
        }
        if (tag != ObjectTag || ++objects > MaxObjects)
            return false;
        const std::optional<std::uint32_t> pathLength = reader.U32();
        if (!pathLength || *pathLength > MaxPathBytes)
            return false;
        const std::optional<QByteArrayView> path = reader.Bytes(*pathLength);
        const std::optional<std::uint32_t> length = path ? reader.U32() : std::nullopt;
        if (!length || *length > MaxObjectBytes || (total += *length) > MaxTotalBytes)
            return false;
        const std::optional<QByteArrayView> data = reader.Bytes(*length);
        if (!data)
            return false;
        book.AddObject(QString::fromUtf8(*path), data->toByteArray());
    }
}

void ReadSystemRecord(THelpBook& book)
{
    const std::optional<QByteArray> system = book.Object(QStringLiteral("/#SYSTEM"));
    if (!system || system->size() < 4)
        return;
    const char* data = system->constData();
    const int size = int(system->size());
    for (int at = 4; at + 4 <= size;) {
        const quint16 code = qFromLittleEndian<quint16>(data + at);
        const int length = qFromLittleEndian<quint16>(data + at + 2);
        at += 4;
        if (length > size - at)
            break;
        const QString text = RecordText(data + at, length);
        switch (code) {
            case kSysContents:
                book.ContentsFile = text;
                break;
            case kSysIndex:
                book.IndexFile = text;
                break;
            case kSysDefaultTopic:
                book.DefaultTopic = text;
                break;
            case kSysTitle:
                book.Title = text;
                break;
            default:
                break;
        }
        at += length;
    }
}

// The first object whose name ends in suffix, in name order so the choice
// does not depend on the reply's order.
QString FirstWithSuffix(const QStringList& names, const QString& suffix)
{
    for (const QString& name : names)
        if (name.endsWith(suffix, Qt::CaseInsensitive))
            return name;
    return {};
}

void FindSitemaps(THelpBook& book, QStringList names)
{
    names.sort();
    if (book.ContentsFile.isEmpty() || !book.Object(book.ContentsFile))
        book.ContentsFile = FirstWithSuffix(names, QStringLiteral(".hhc"));
    if (book.IndexFile.isEmpty() || !book.Object(book.IndexFile))
        book.IndexFile = FirstWithSuffix(names, QStringLiteral(".hhk"));
    if (!book.ContentsFile.isEmpty())
        book.Contents = ParseSitemap(book.Object(book.ContentsFile).value_or(QByteArray()));
    if (!book.IndexFile.isEmpty())
        book.Keywords = ParseSitemap(book.Object(book.IndexFile).value_or(QByteArray()));
}

bool HasTopics(const QStringList& names)
{
    for (const QString& name : names)
        if (name.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive) ||
            name.endsWith(QLatin1String(".html"), Qt::CaseInsensitive))
            return true;
    return false;
}

// A compiled help file starts with this signature; one that does but will not
// open is damaged rather than something else.
bool StartsAsHelpFile(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) && f.read(4) == "ITSF";
}

}  // namespace

THelpBook DecodeHelpReply(const QString& file, QByteArrayView reply)
{
    THelpBook book;
    book.FileName = file;
    TReplyReader reader(reply);
    if (!ReadObjects(reader, book))
        return Failed(file, str::sHelpFileDamaged().arg(Shown(file)));
    const QStringList names = book.ObjectNames();
    if (!HasTopics(names))
        return Failed(file, str::sHelpFileEmpty().arg(Shown(file)));
    ReadSystemRecord(book);
    FindSitemaps(book, names);
    return book;
}

THelpBook ReadHelpBook(const QString& file, const QString& reader, int timeoutMs)
{
    const QString missingReader = str::sHelpReaderMissing().arg(Shown(reader));
    if (!QFileInfo(reader).isExecutable())
        return Failed(file, missingReader);
    QProcess process;
    process.setProgram(reader);
    process.setArguments({file});
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(timeoutMs))
        return Failed(file, missingReader);

    // The reply is collected as it comes, so neither a reader that goes on
    // writing nor one that never ends can hold the program.
    constexpr qsizetype kMaxReply =
        qsizetype(MaxTotalBytes) + qsizetype(MaxObjects) * (MaxPathBytes + 9) + 64;
    constexpr qsizetype kMaxLog = 64 * 1024;
    QByteArray reply;
    QByteArray log;
    bool overran = false;
    bool late = false;
    QElapsedTimer clock;
    clock.start();
    while (process.state() != QProcess::NotRunning) {
        process.waitForFinished(50);
        reply += process.readAllStandardOutput();
        log += process.readAllStandardError().left(kMaxLog - log.size());
        overran = reply.size() > kMaxReply;
        late = clock.elapsed() > timeoutMs;
        if (overran || late) {
            process.kill();
            process.waitForFinished();
            break;
        }
    }
    reply += process.readAllStandardOutput();
    log += process.readAllStandardError().left(kMaxLog - log.size());

    if (overran)
        return Failed(file, str::sHelpFileTooLarge().arg(Shown(file), QString::number(MaxTotalBytes >> 20)),
                      log);
    if (late || process.exitStatus() != QProcess::NormalExit)
        return Failed(file, str::sHelpFileDamaged().arg(Shown(file)), log);
    switch (process.exitCode()) {
        case Read: {
            THelpBook book = DecodeHelpReply(file, reply);
            book.ReaderLog = log;
            return book;
        }
        case NotAHelpFile:
            return Failed(
                file,
                (StartsAsHelpFile(file) ? str::sHelpFileDamaged() : str::sHelpFileNotHelp()).arg(Shown(file)),
                log);
        case TooLarge:
            return Failed(
                file, str::sHelpFileTooLarge().arg(Shown(file), QString::number(MaxTotalBytes >> 20)), log);
        default:
            return Failed(file, str::sHelpFileDamaged().arg(Shown(file)), log);
    }
}

}  // namespace brv
