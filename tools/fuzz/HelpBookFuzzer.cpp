// Feeds arbitrary bytes to the program's own reading of a help file, in this
// process: the reader's reply is checked and decoded, the system record read,
// the contents and keyword files parsed and their topics looked up.  chmlib
// is left out (its faults on damaged files are the reader process's to
// survive, and brv-fuzz-help covers that road); without a process per input
// this target runs thousands of inputs a second.
//
// An input that starts as a reply is decoded as one.  Any other input is cut
// at "|||" into the objects of a small help file, in the order the system
// record, contents file, keyword file and a topic, so that the fuzzer reaches
// the parsers without first having to build a valid reply.
#include "shell/uHelpFile.h"
#include "shell/uHelpReply.h"

#include <QByteArray>
#include <QList>
#include <QtEndian>

#include <cstddef>
#include <cstdint>

namespace {

QByteArray U32(std::uint32_t value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray ReplyOf(const QList<QByteArray>& objects)
{
    static const char* const paths[] = {"/#SYSTEM", "/toc.hhc", "/index.hhk", "/intro.htm"};
    QByteArray reply(brv::helpreply::Magic, brv::helpreply::MagicLength);
    std::uint32_t count = 0;
    for (const QByteArray& data : objects) {
        const QByteArray path =
            count < 4 ? QByteArray(paths[count]) : "/topic" + QByteArray::number(count) + ".htm";
        reply += brv::helpreply::ObjectTag + U32(std::uint32_t(path.size())) + path +
                 U32(std::uint32_t(data.size())) + data;
        ++count;
    }
    return reply + brv::helpreply::EndTag + U32(count);
}

QList<QByteArray> Objects(const QByteArray& input)
{
    QList<QByteArray> objects;
    qsizetype from = 0;
    for (qsizetype cut = input.indexOf("|||"); cut >= 0; cut = input.indexOf("|||", from)) {
        objects << input.mid(from, cut - from);
        from = cut + 3;
    }
    objects << input.mid(from);
    return objects;
}

void Walk(const brv::THelpBook& book, const std::vector<brv::THelpEntry>& entries)
{
    for (const brv::THelpEntry& entry : entries) {
        (void)book.Object(entry.local.section(QLatin1Char('#'), 0, 0));
        (void)brv::HelpTopicUrl(entry.local);
        Walk(book, entry.children);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray reply =
        input.startsWith(QByteArrayView(brv::helpreply::Magic, brv::helpreply::MagicLength))
            ? input
            : ReplyOf(Objects(input));
    const brv::THelpBook book = brv::DecodeHelpReply(QStringLiteral("/fuzz/help.chm"), reply);
    Walk(book, book.Contents);
    Walk(book, book.Keywords);
    (void)book.Object(book.DefaultTopic);
    return 0;
}
