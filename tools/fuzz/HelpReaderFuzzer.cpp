// Feeds arbitrary bytes to the help reading as the program does it: written to
// a file, read by the help reader in a process of its own, the reply checked
// and parsed into a book.  Whatever chmlib does with the file, this process
// must get a book, or a message naming the file, in time.
//
// The reader is built with the sanitizers too.  chmlib's own crashes on
// damaged files are expected (they are why the reader is a process of its
// own) and only reported as a damaged file; a sanitizer report whose first
// frame of substance is ours is our fault and stops the fuzzer.
#include "shell/uHelpFile.h"
#include "support/SanitizerLog.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// The scratch folder goes with the process; the application object stays
// (libFuzzer ends in exit(), where Qt's own statics are already gone).
QCoreApplication* app = nullptr;
std::unique_ptr<QTemporaryDir> folder;

void Walk(const brv::THelpBook& book, const std::vector<brv::THelpEntry>& entries)
{
    for (const brv::THelpEntry& entry : entries) {
        (void)book.Object(entry.local.section(QLatin1Char('#'), 0, 0));
        (void)brv::HelpTopicUrl(entry.local);
        Walk(book, entry.children);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    app = new QCoreApplication(*argc, *argv);
    folder = std::make_unique<QTemporaryDir>();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString file = folder->filePath(QStringLiteral("fuzz.chm"));
    {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        out.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const brv::THelpBook book = brv::ReadHelpBook(file, QStringLiteral(BRV_HELP_READER));
    if (brv::test::SanitizerFaultOfOurs(book.ReaderLog)) {
        std::fwrite(book.ReaderLog.constData(), 1, std::size_t(book.ReaderLog.size()), stderr);
        std::abort();
    }
    if (!book.Ok()) {
        if (!book.Error.contains(QDir::toNativeSeparators(file)))
            std::abort();
        return 0;
    }
    Walk(book, book.Contents);
    Walk(book, book.Keywords);
    return 0;
}
