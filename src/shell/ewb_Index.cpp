#include "shell/ewb_Index.h"

#include "runtime/BRV_StrConstants.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace brv {

namespace {

QString IndexFileMessage(const QString& reason, const QString& fileName)
{
    if (fileName.isEmpty())
        return str::sIndexUnusable().arg(reason);
    return str::sIndexFileUnusable().arg(QDir::toNativeSeparators(fileName), reason);
}

}  // namespace

EBadIndexFile::EBadIndexFile(const QString& reason, const QString& fileName)
    : std::runtime_error(IndexFileMessage(reason, fileName).toStdString()),
      reason_(reason),
      fileName_(fileName)
{
}

namespace {

using Index = TEWBHTMLIndex;

// A bounds-checked little-endian cursor over the file's bytes.  Every read
// checks what is left before it touches or allocates anything, so a damaged
// count or length can neither run past the end nor reserve memory the file
// could not fill.
class TIndexReader {
public:
    explicit TIndexReader(QByteArrayView data) : data_(data) {}

    std::int32_t ReadInt32()
    {
        require(4);
        const auto value = qFromLittleEndian<std::int32_t>(data_.data() + pos_);
        pos_ += 4;
        return value;
    }

    void SkipByte()
    {
        require(1);
        pos_ += 1;
    }

    // A count of headings or entries: a negative one means the file is
    // damaged, one over limit (with tooMany's reason) that it is no index.
    std::int32_t ReadCount(std::int32_t limit, const QString& tooMany)
    {
        const std::int32_t count = ReadInt32();
        if (count < 0)
            throw EBadIndexFile(str::sIndexNegativeCount());
        if (count > limit)
            throw EBadIndexFile(tooMany.arg(count).arg(limit));
        return count;
    }

    QString ReadString()
    {
        const qsizetype units = readStringLength();
        QString text(units, Qt::Uninitialized);
        const char* bytes = data_.data() + pos_;
        for (qsizetype i = 0; i < units; ++i)
            text[i] = QChar(qFromLittleEndian<char16_t>(bytes + 2 * i));
        pos_ += 2 * units;
        return text;
    }

    void SkipString() { pos_ += 2 * readStringLength(); }

private:
    qsizetype readStringLength()
    {
        const std::int32_t units = ReadInt32();
        if (units < 0)
            throw EBadIndexFile(str::sIndexNegativeCount());
        if (units > Index::MaxTextLength)
            throw EBadIndexFile(str::sIndexTextTooLong().arg(units).arg(Index::MaxTextLength));
        require(2 * qsizetype(units));
        return units;
    }

    void require(qsizetype bytes) const
    {
        if (bytes > data_.size() - pos_)
            throw EBadIndexFile(str::sIndexCutShort());
    }

    QByteArrayView data_;
    qsizetype pos_ = 0;
};

TEWBChildItem ReadEntry(TIndexReader& reader, bool extended)
{
    TEWBChildItem entry;
    entry.Caption = reader.ReadString();
    entry.Page = reader.ReadString();
    if (extended)
        reader.SkipString();
    return entry;
}

TEWBHeading ReadHeading(TIndexReader& reader, bool extended, std::int32_t& entriesLeft)
{
    TEWBHeading heading;
    heading.Number = reader.ReadInt32();
    heading.Caption = reader.ReadString();
    if (extended) {
        reader.SkipString();
        reader.SkipString();
    }
    // No reserve: the count is only trusted as far as the file backs it.
    const std::int32_t entries =
        reader.ReadCount(Index::MaxEntriesPerHeading, str::sIndexTooManyEntriesInHeading());
    if (entries > entriesLeft)
        throw EBadIndexFile(str::sIndexTooManyEntries().arg(Index::MaxEntries));
    entriesLeft -= entries;
    for (std::int32_t e = 0; e < entries; ++e)
        heading.Entries.push_back(ReadEntry(reader, extended));
    return heading;
}

bool SamePage(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

void TEWBHTMLIndex::Load(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EBadIndexFile(str::sIndexCannotOpen().arg(file.errorString()), fileName);
    // Refused before a byte of it is read into memory.
    if (file.size() > MaxFileBytes)
        throw EBadIndexFile(str::sIndexTooLarge().arg(file.size()).arg(MaxFileBytes), fileName);
    folder_ = QFileInfo(fileName).absolutePath();
    const QByteArray data = file.read(MaxFileBytes + 1);
    try {
        LoadFromData(data);
    } catch (const EBadIndexFile& error) {
        throw EBadIndexFile(error.Reason(), fileName);
    }
}

void TEWBHTMLIndex::LoadFromData(QByteArrayView data)
{
    if (data.size() > MaxFileBytes)
        throw EBadIndexFile(str::sIndexTooLarge().arg(data.size()).arg(MaxFileBytes));
    TIndexReader reader(data);
    const std::int32_t magic = reader.ReadInt32();
    if (magic != PlainMagic && magic != ExtendedMagic)
        throw EBadIndexFile(str::sIndexNotAnIndex());
    const bool extended = magic == ExtendedMagic;

    headings_.clear();
    if (extended) {
        reader.SkipString();
        reader.SkipString();
        reader.SkipByte();
    }
    const std::int32_t count = reader.ReadCount(MaxHeadings, str::sIndexTooManyHeadings());
    std::int32_t entriesLeft = MaxEntries;
    for (std::int32_t h = 0; h < count; ++h)
        headings_.push_back(ReadHeading(reader, extended, entriesLeft));
}

namespace {

QString PageHref(const QString& page)
{
    const QString escaped = page.toHtmlEscaped();
    return page.contains(QLatin1Char(':')) ? QLatin1String("./") + escaped : escaped;
}

}  // namespace

QString TEWBHTMLIndex::Render() const
{
    QString html;
    for (int i = 0; i < HeadingCount(); ++i) {
        const TEWBHeading& heading = headings_[std::size_t(i)];
        const QString number = QString::number(i);
        html += heading.Open ? QLatin1String("<div class=\"level1exp\"><span id=\"")
                             : QLatin1String("<div class=\"level1\"><span id=\"");
        html += number + QLatin1String("\"></span><a href=\"!") + number + QLatin1String("\">") +
                heading.Caption.toHtmlEscaped() + QLatin1String("</a></div>");
        if (!heading.Open)
            continue;
        for (const TEWBChildItem& entry : heading.Entries) {
            html += entry.Selected ? QLatin1String("<div class=\"level2selected\"><a href=\"")
                                   : QLatin1String("<div class=\"level2\"><a href=\"");
            html += PageHref(entry.Page) + QLatin1String("\">") + entry.Caption.toHtmlEscaped() +
                    QLatin1String("</a></div>");
        }
    }
    return html;
}

void TEWBHTMLIndex::closeOthersIfOneOpen(int i)
{
    if (!oneHeadingOpen_)
        return;
    for (int h = 0; h < HeadingCount(); ++h)
        if (h != i)
            headings_[std::size_t(h)].Open = false;
}

void TEWBHTMLIndex::Toggle(int i)
{
    if (!validHeading(i))
        return;
    closeOthersIfOneOpen(i);
    TEWBHeading& heading = headings_[std::size_t(i)];
    heading.Open = !heading.Open;
}

void TEWBHTMLIndex::Expand(int i)
{
    if (!validHeading(i))
        return;
    closeOthersIfOneOpen(i);
    headings_[std::size_t(i)].Open = true;
}

void TEWBHTMLIndex::ExpandAll()
{
    oneHeadingOpen_ = false;
    for (TEWBHeading& heading : headings_)
        heading.Open = true;
}

void TEWBHTMLIndex::CollapseAll()
{
    for (TEWBHeading& heading : headings_)
        heading.Open = false;
}

int TEWBHTMLIndex::FindHeading(const QString& page) const
{
    for (int i = 0; i < HeadingCount(); ++i)
        for (const TEWBChildItem& entry : headings_[std::size_t(i)].Entries)
            if (SamePage(entry.Page, page))
                return i;
    return -1;
}

void TEWBHTMLIndex::Select(const QString& page)
{
    for (TEWBHeading& heading : headings_)
        for (TEWBChildItem& entry : heading.Entries)
            entry.Selected = SamePage(entry.Page, page);
}

}  // namespace brv
