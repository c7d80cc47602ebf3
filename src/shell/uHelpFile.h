// The program's help file (a compiled .chm) as the help window needs it: its
// title, contents tree, keyword index and topics.
//
// The file is never decompressed in the program's own process.  A reader
// process (uHelpReader.h) copies its objects out and the program checks and
// parses what it receives, so a damaged file that crashes chmlib costs the
// reader, not the program, and the pupil is told the file is damaged.  At
// start-up the program only checks that the file is there and can be opened.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace brv {

// One entry of a contents (.hhc) or keyword index (.hhk) file.
struct THelpEntry {
    QString name;
    QString local;  // topic inside the file, may be empty for a heading
    std::vector<THelpEntry> children;
};
// Parses the HTML-like sitemap format of both files; tolerant of the loose
// markup help compilers write.
std::vector<THelpEntry> ParseSitemap(const QByteArray& text);

// The URL scheme the help topics are served under ("brvhelp:/topic.htm").
inline constexpr const char* kHelpScheme = "brvhelp";
// The address of a topic of the help file.
QString HelpTopicUrl(const QString& local);

// "Available": the file exists and opens for reading.  Nothing of it is
// decompressed; that waits until Help is opened.
bool HelpFileAvailable(const QString& path);

class THelpBook {
public:
    QString FileName;
    // Why the file cannot be shown, for the pupil: which file, what is wrong
    // and what still works.  Empty when it was read.
    QString Error;
    // What the reader wrote on its error output (a crash report, for one).
    QByteArray ReaderLog;

    // From the file's system record, or found by their extensions.
    QString Title;
    QString ContentsFile;
    QString IndexFile;
    QString DefaultTopic;
    std::vector<THelpEntry> Contents;
    std::vector<THelpEntry> Keywords;

    bool Ok() const { return Error.isEmpty(); }
    // The object at path ("/intro.htm"; a missing leading "/" is added, case
    // is ignored as the file's own directory does); empty when there is none.
    std::optional<QByteArray> Object(const QString& path) const;
    // The objects' paths, in lower case.
    QStringList ObjectNames() const { return objects_.keys(); }
    void AddObject(const QString& path, const QByteArray& data);

private:
    QHash<QString, QByteArray> objects_;
};

// The help reader: beside the executable, or in the installed helper folder.
QString DefaultHelpReader();

// Reads file through reader and returns the book, or one whose Error says why
// there is none.  Waits for the reader at most timeoutMs.
THelpBook ReadHelpBook(const QString& file, const QString& reader = DefaultHelpReader(),
                       int timeoutMs = 20000);

// The book from what the reader wrote; any flaw in the reply means the file
// is damaged.
THelpBook DecodeHelpReply(const QString& file, QByteArrayView reply);

}  // namespace brv
