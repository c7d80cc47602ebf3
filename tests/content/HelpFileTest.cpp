// The compiled help file: a real .chm that chmlib opens, with a contents file
// and a keyword index whose every topic is inside it.
#include "runtime/ProgramFolder.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <chm_lib.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

QString HelpPath()
{
    return brv::ResolveInFolder(QStringLiteral(BRV_PROGRAM_DIR), "Help\\BRVhelp.chm");
}

struct ChmCloser {
    void operator()(chmFile* f) const { chm_close(f); }
};
using Chm = std::unique_ptr<chmFile, ChmCloser>;

QByteArray ReadObject(chmFile* chm, const QString& name)
{
    chmUnitInfo info;
    const QByteArray path = name.toUtf8();
    if (chm_resolve_object(chm, path.constData(), &info) != CHM_RESOLVE_SUCCESS)
        return {};
    QByteArray data(qsizetype(info.length), '\0');
    const LONGINT64 got = chm_retrieve_object(chm, &info, reinterpret_cast<unsigned char*>(data.data()), 0,
                                              LONGINT64(info.length));
    return got == LONGINT64(info.length) ? data : QByteArray();
}

QStringList LocalTopics(const QByteArray& sitemap)
{
    static const QRegularExpression local(R"re(<param\s+name="Local"\s+value="([^"]+)")re",
                                          QRegularExpression::CaseInsensitiveOption);
    QStringList topics;
    for (auto it = local.globalMatch(QString::fromUtf8(sitemap)); it.hasNext();)
        topics << it.next().captured(1);
    return topics;
}

TEST(HelpFile, IsACompiledHelpFile)
{
    QFile f(HelpPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << HelpPath().toStdString();
    EXPECT_EQ(f.read(4), QByteArray("ITSF"));
}

TEST(HelpFile, ContentsAndKeywordIndexLeadToTopicsInsideIt)
{
    Chm chm(chm_open(QFile::encodeName(HelpPath()).constData()));
    ASSERT_TRUE(chm) << "chmlib cannot open the help file";
    const QByteArray contents = ReadObject(chm.get(), "/BRVhelp.hhc");
    const QByteArray keywords = ReadObject(chm.get(), "/BRVhelp.hhk");
    ASSERT_FALSE(contents.isEmpty());
    ASSERT_FALSE(keywords.isEmpty());
    EXPECT_FALSE(ReadObject(chm.get(), "/#SYSTEM").isEmpty());

    const QStringList fromContents = LocalTopics(contents);
    const QStringList fromKeywords = LocalTopics(keywords);
    EXPECT_GE(fromContents.size(), 10);
    EXPECT_GE(fromKeywords.size(), 30);
    QSet<QString> topics(fromContents.begin(), fromContents.end());
    topics.unite(QSet<QString>(fromKeywords.begin(), fromKeywords.end()));
    static const QRegularExpression title(R"(<title>\s*\S.*</title>)",
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression link(R"re(\b(?:href|src)="([^"]+)")re",
                                         QRegularExpression::CaseInsensitiveOption);
    for (const QString& topic : topics) {
        const QByteArray page = ReadObject(chm.get(), "/" + topic.section('#', 0, 0));
        EXPECT_FALSE(page.isEmpty()) << topic.toStdString() << " is not in the help file";
        EXPECT_TRUE(title.match(QString::fromUtf8(page)).hasMatch())
            << topic.toStdString() << " has no title";
        // Links between topics stay inside the help file.
        for (auto it = link.globalMatch(QString::fromUtf8(page)); it.hasNext();) {
            const QString target = it.next().captured(1).section('#', 0, 0);
            if (!target.isEmpty()) {
                EXPECT_FALSE(ReadObject(chm.get(), "/" + target).isEmpty())
                    << topic.toStdString() << " links to " << target.toStdString();
            }
        }
    }
}

}  // namespace
