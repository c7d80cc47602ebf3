// The help file as the program reads it: through the help reader, a process
// of its own.  The bundled file gives its contents, keywords and topics; cut
// and damaged copies, the damaged corpus under tests/data/help/damaged (files
// that crash chmlib itself) and flawed replies each end in a message naming
// the file, never in a crash of the reading program.
#include "runtime/BRV_StrConstants.h"
#include "runtime/ProgramFolder.h"
#include "shell/uHelpFile.h"
#include "shell/uHelpReply.h"
#include "support/SanitizerLog.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace brv {
namespace {

QString HelpPath()
{
    return ResolveInFolder(QStringLiteral(BRV_PROGRAM_DIR), "Help\\BRVhelp.chm");
}

QByteArray HelpBytes()
{
    QFile f(HelpPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QStringList LocalTopics(const std::vector<THelpEntry>& entries)
{
    QStringList topics;
    for (const THelpEntry& entry : entries) {
        if (!entry.local.isEmpty())
            topics << entry.local;
        topics << LocalTopics(entry.children);
    }
    return topics;
}

TEST(HelpFile, IsACompiledHelpFile)
{
    QFile f(HelpPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << HelpPath().toStdString();
    EXPECT_EQ(f.read(4), QByteArray("ITSF"));
    EXPECT_TRUE(HelpFileAvailable(HelpPath()));
}

TEST(HelpFile, ContentsAndKeywordIndexLeadToTopicsInsideIt)
{
    const THelpBook book = ReadHelpBook(HelpPath());
    ASSERT_TRUE(book.Ok()) << book.Error.toStdString();
    EXPECT_TRUE(book.Object(QStringLiteral("/#SYSTEM")).has_value());
    EXPECT_TRUE(book.ContentsFile.endsWith(QStringLiteral("BRVhelp.hhc"), Qt::CaseInsensitive));
    EXPECT_TRUE(book.IndexFile.endsWith(QStringLiteral("BRVhelp.hhk"), Qt::CaseInsensitive));

    const QStringList fromContents = LocalTopics(book.Contents);
    const QStringList fromKeywords = LocalTopics(book.Keywords);
    EXPECT_GE(fromContents.size(), 10);
    EXPECT_GE(fromKeywords.size(), 30);
    QSet<QString> topics(fromContents.begin(), fromContents.end());
    topics.unite(QSet<QString>(fromKeywords.begin(), fromKeywords.end()));
    static const QRegularExpression title(R"(<title>\s*\S.*</title>)",
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression link(R"re(\b(?:href|src)="([^"]+)")re",
                                         QRegularExpression::CaseInsensitiveOption);
    for (const QString& topic : topics) {
        const QByteArray page = book.Object(topic.section('#', 0, 0)).value_or(QByteArray());
        EXPECT_FALSE(page.isEmpty()) << topic.toStdString() << " is not in the help file";
        EXPECT_TRUE(title.match(QString::fromUtf8(page)).hasMatch())
            << topic.toStdString() << " has no title";
        // Links between topics stay inside the help file.
        for (auto it = link.globalMatch(QString::fromUtf8(page)); it.hasNext();) {
            const QString target = it.next().captured(1).section('#', 0, 0);
            if (!target.isEmpty()) {
                EXPECT_TRUE(book.Object(target).has_value())
                    << topic.toStdString() << " links to " << target.toStdString();
            }
        }
    }
}

// --- files that are not a sound help file -------------------------------------------------

class HelpFileCopies : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    QTemporaryDir dir;
};

TEST_F(HelpFileCopies, AvailableMeansThereAndReadableWithoutReadingIt)
{
    EXPECT_FALSE(HelpFileAvailable(dir.filePath(QStringLiteral("missing.chm"))));
    EXPECT_FALSE(HelpFileAvailable(dir.path())) << "a folder";
    // Whether it is a help file is only found out when Help is opened.
    EXPECT_TRUE(HelpFileAvailable(Write(QStringLiteral("text.chm"), QByteArray(4000, 'x'))));
}

TEST_F(HelpFileCopies, WhatIsNotAHelpFileIsSaidToBeSo)
{
    for (const char* name : {"empty.chm", "text.chm"}) {
        const QString file =
            Write(QLatin1String(name), QByteArray(name == QLatin1String("empty.chm") ? 0 : 4000, 'x'));
        EXPECT_EQ(ReadHelpBook(file).Error, str::sHelpFileNotHelp().arg(Shown(file))) << name;
    }
    // One that starts as a help file is a damaged one.
    const QString file = Write(QStringLiteral("signature-only.chm"), QByteArray("ITSF but not really"));
    EXPECT_EQ(ReadHelpBook(file).Error, str::sHelpFileDamaged().arg(Shown(file)));
}

// Cut at any point, the file is reported damaged: never an empty window, never
// half a contents tree.
TEST_F(HelpFileCopies, ACutShortFileIsDamaged)
{
    const QByteArray whole = HelpBytes();
    ASSERT_FALSE(whole.isEmpty());
    for (const double part : {0.25, 0.5, 0.75, 0.95}) {
        const QString file =
            Write(QStringLiteral("cut-%1.chm").arg(part), whole.left(qsizetype(whole.size() * part)));
        const THelpBook book = ReadHelpBook(file);
        EXPECT_EQ(book.Error, str::sHelpFileDamaged().arg(Shown(file))) << part;
        EXPECT_TRUE(book.Contents.empty());
    }
}

TEST_F(HelpFileCopies, AMissingReaderIsNamed)
{
    const QString reader = dir.filePath(QStringLiteral("no-reader"));
    const THelpBook book = ReadHelpBook(HelpPath(), reader);
    EXPECT_EQ(book.Error, str::sHelpReaderMissing().arg(Shown(reader)));
}

TEST_F(HelpFileCopies, AReaderThatNeverEndsIsStopped)
{
    const QString reader = Write(QStringLiteral("stuck-reader"), "#!/bin/sh\nexec sleep 60\n");
    QFile::setPermissions(reader, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QElapsedTimer clock;
    clock.start();
    const THelpBook book = ReadHelpBook(HelpPath(), reader, 500);
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(book.Error, str::sHelpFileDamaged().arg(Shown(HelpPath())));
}

// --- the damaged corpus: files on which chmlib 0.40 crashes or reads past its
// buffers, found by damaging bytes of the bundled help file ------------------

struct TDamagedHelp {
    const char* file;
    // chmlib dies on it in any build (a null LZX window, a division by zero);
    // the others read past a buffer, which only a sanitizer sees.
    bool crashes;
};

void PrintTo(const TDamagedHelp& c, std::ostream* out)
{
    *out << c.file;
}

class DamagedHelpFile : public ::testing::TestWithParam<TDamagedHelp> {};

TEST_P(DamagedHelpFile, IsReportedAndNeverTakesTheReaderDown)
{
    const TDamagedHelp& c = GetParam();
    const QString file = test::DataPath(QStringLiteral("help/damaged/") + QLatin1String(c.file));
    ASSERT_TRUE(QFileInfo(file).isFile()) << c.file;
    ASSERT_TRUE(HelpFileAvailable(file));
    const THelpBook book = ReadHelpBook(file);
    if (c.crashes || !book.Ok()) {
        EXPECT_EQ(book.Error, str::sHelpFileDamaged().arg(Shown(file))) << book.ReaderLog.toStdString();
    }
    // chmlib may die on the file; our own code in the reader may not.
    EXPECT_FALSE(test::SanitizerFaultOfOurs(book.ReaderLog)) << book.ReaderLog.toStdString();
    // Whatever was read stays within the file's own objects.
    for (const QString& topic : LocalTopics(book.Contents))
        (void)book.Object(topic);
}

INSTANTIATE_TEST_SUITE_P(Corpus, DamagedHelpFile,
                         ::testing::Values(TDamagedHelp{"lzx-reset-1.chm", true},
                                           TDamagedHelp{"lzx-reset-2.chm", true},
                                           TDamagedHelp{"open-divides-by-zero.chm", true},
                                           TDamagedHelp{"retrieve-reads-past-buffer-1.chm", false},
                                           TDamagedHelp{"retrieve-reads-past-buffer-2.chm", false}),
                         [](const ::testing::TestParamInfo<TDamagedHelp>& info) {
                             return test::CaseNameOfFile(info.param.file);
                         });

// --- faults of ours in the reader ------------------------------------------------------------

TEST(ReaderFaults, ASanitizerReportIsOursOnlyWhenItsFirstFrameIs)
{
    const std::pair<const char*, bool> logs[] = {
        {"", false},
        {"some text\nwithout a trace\n", false},
        {"==1==ERROR: AddressSanitizer: heap-buffer-overflow on address 0x602\n"
         "    #0 0x55d1 in brv::(anonymous namespace)::CopyObject(chmFile*) /src/shell/uHelpReader.cpp:97\n"
         "    #1 0x55d2 in chm_enumerate (/usr/lib/x86_64-linux-gnu/libchm.so.1+0x4c1d)\n",
         true},
        {"==1==ERROR: AddressSanitizer: heap-buffer-overflow\n"
         "    #0 0x7f01 in __interceptor_memcpy ../../../../src/libsanitizer/sanitizer_common.inc:827\n"
         "    #1 0x55d1 in brv::CopyAll(chmFile*) /src/shell/uHelpReader.cpp:150\n",
         true},
        {"==1==ERROR: AddressSanitizer: SEGV on unknown address 0x000000000000\n"
         "    #0 0x7f03 (/usr/lib/x86_64-linux-gnu/libchm.so.1+0x3a1b)\n"
         "    #1 0x55d1 in brv::CopyObject(chmFile*) /src/shell/uHelpReader.cpp:97\n",
         false},
        {"==1==ERROR: AddressSanitizer: FPE on unknown address\n"
         "    #0 0x7f03 in chm_open (/usr/lib/x86_64-linux-gnu/libchm.so.1+0x2f10)\n"
         "    #1 0x55d1 in brv::RunHelpReader(int, char**) /src/shell/uHelpReader.cpp:180\n",
         false},
        {"==1==ERROR: AddressSanitizer: heap-buffer-overflow\n"
         "    #0 0x55d1 in CopyObject ../src/shell/uHelpReader.cpp:97\n"
         "    #1 0x7f03 in chm_enumerate (/usr/lib/x86_64-linux-gnu/libchm.so.1+0x4c1d)\n",
         true},
        {"==1==ERROR: AddressSanitizer: SEGV on unknown address\n"
         "    #0 0x7f03 in __memcpy_avx_unaligned_erms ../sysdeps/x86_64/multiarch/memmove.S:317\n"
         "    #1 0x55d1 in CopyObject ../src/shell/uHelpReader.cpp:97\n",
         false},
        {"/src/shell/uHelpReader.cpp:61:20: runtime error: load of misaligned address\n", true},
    };
    for (const auto& [log, ours] : logs)
        EXPECT_EQ(test::SanitizerFaultOfOurs(QByteArray(log)), ours) << log;
}

// The same check the corpus passes catches a fault planted in our reader code.
TEST(ReaderFaults, APlantedFaultInTheReaderIsCaught)
{
    const QString reader = QStringLiteral(BRV_BINARY_DIR "/tests/brv-faultyhelpreader");
    ASSERT_TRUE(QFileInfo(reader).isExecutable()) << reader.toStdString();
    const THelpBook book = ReadHelpBook(HelpPath(), reader);
    EXPECT_EQ(book.Error, str::sHelpFileDamaged().arg(Shown(HelpPath())));
    EXPECT_TRUE(test::SanitizerFaultOfOurs(book.ReaderLog)) << book.ReaderLog.toStdString();
}

TEST(DamagedHelpCorpus, EveryFileIsInTheTable)
{
    const QStringList files = QDir(test::DataPath(QStringLiteral("help/damaged")))
                                  .entryList({QStringLiteral("*.chm")}, QDir::Files);
    EXPECT_EQ(files.size(), 5) << "add new corpus files to DamagedHelpFile's table";
}

// --- the reply -------------------------------------------------------------------------------

QByteArray U32(std::uint32_t v)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(v, bytes.data());
    return bytes;
}

QByteArray Object(const QByteArray& path, const QByteArray& data)
{
    return helpreply::ObjectTag + U32(std::uint32_t(path.size())) + path + U32(std::uint32_t(data.size())) +
           data;
}

QByteArray Magic()
{
    return QByteArray(helpreply::Magic, helpreply::MagicLength);
}

QByteArray End(std::uint32_t objects)
{
    return helpreply::EndTag + U32(objects);
}

// A system record: its four-byte version, then code, length, text.
QByteArray SystemRecord(quint16 code, const QByteArray& text)
{
    QByteArray record(4, '\0');
    qToLittleEndian(code, record.data());
    qToLittleEndian(quint16(text.size() + 1), record.data() + 2);
    return record + text + '\0';
}

const QByteArray kSitemap =
    "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Intro\">"
    "<param name=\"Local\" value=\"intro.htm\"></OBJECT></UL>";

QByteArray SoundReply()
{
    const QByteArray system =
        QByteArray(4, '\x03') + SystemRecord(0, "toc.hhc") + SystemRecord(3, "Fixture help");
    return Magic() + Object("/#SYSTEM", system) + Object("/toc.hhc", kSitemap) +
           Object("/Intro.htm", "<title>Intro</title>") + End(3);
}

TEST(HelpReply, ASoundReplyGivesTheBook)
{
    const THelpBook book = DecodeHelpReply(QStringLiteral("/x/help.chm"), SoundReply());
    ASSERT_TRUE(book.Ok()) << book.Error.toStdString();
    EXPECT_EQ(book.Title, QStringLiteral("Fixture help"));
    ASSERT_EQ(book.Contents.size(), 1u);
    EXPECT_EQ(book.Contents[0].local, QStringLiteral("intro.htm"));
    EXPECT_EQ(book.Object(QStringLiteral("intro.htm")), QByteArray("<title>Intro</title>"))
        << "case is ignored as in the file's directory";
    EXPECT_FALSE(book.Object(QStringLiteral("/outro.htm")).has_value());
}

TEST(HelpReply, EveryFlawMeansTheFileIsDamaged)
{
    const QByteArray sound = SoundReply();
    const QByteArray start = Magic() + Object("/a.htm", "x");
    const std::pair<const char*, QByteArray> cases[] = {
        {"nothing", QByteArray()},
        {"wrong magic", "BRVHELP0" + sound.mid(8)},
        {"no end: the reader stopped", sound.left(sound.size() - 5)},
        {"cut inside an object", sound.left(40)},
        {"end counts other objects", start + End(2)},
        {"bytes after the end", sound + 'O'},
        {"unknown tag", start + 'X'},
        {"object longer than the reply",
         Magic() + helpreply::ObjectTag + U32(6) + "/a.htm" + U32(0x7fffffff)},
        {"object over the limit",
         Magic() + helpreply::ObjectTag + U32(6) + "/a.htm" + U32(helpreply::MaxObjectBytes + 1)},
        {"path over the limit", Magic() + helpreply::ObjectTag + U32(helpreply::MaxPathBytes + 1)},
    };
    const QString file = QStringLiteral("/x/help.chm");
    for (const auto& [what, reply] : cases) {
        const THelpBook book = DecodeHelpReply(file, reply);
        EXPECT_EQ(book.Error, str::sHelpFileDamaged().arg(Shown(file))) << what;
    }
}

TEST(HelpReply, AFileWithoutPagesHasNothingToShow)
{
    const QString file = QStringLiteral("/x/help.chm");
    const THelpBook book = DecodeHelpReply(file, Magic() + Object("/toc.hhc", kSitemap) + End(1));
    EXPECT_EQ(book.Error, str::sHelpFileEmpty().arg(Shown(file)));
}

}  // namespace
}  // namespace brv
