// The program's help: a compiled help file (.chm) read with chmlib and shown
// in a window of our own, with the file's contents tree, its keyword index and
// its topics in a web view served straight from the file.
#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QWebEngineProfile;
class QWebEngineView;
struct chmFile;

namespace brv {

// The URL scheme the help topics are served under ("brvhelp:/topic.htm").
inline constexpr const char* kHelpScheme = "brvhelp";

// Makes the help scheme known to the web engine; only possible before the
// QApplication is created.
void RegisterHelpScheme();

class TChmFile {
public:
    explicit TChmFile(const QString& path);
    ~TChmFile();
    TChmFile(const TChmFile&) = delete;
    TChmFile& operator=(const TChmFile&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    // The object stored at path ("/intro.htm"; a missing leading "/" is
    // added); empty when the file holds no such object.
    std::optional<QByteArray> Read(const QString& path) const;

    // From the file's system record, or by looking for the usual extensions.
    QString ContentsFile() const { return contentsFile_; }
    QString IndexFile() const { return indexFile_; }
    QString DefaultTopic() const { return defaultTopic_; }
    QString Title() const { return title_; }

private:
    void readSystemRecord();
    void findSitemapsByName();
    chmFile* file_ = nullptr;
    QString contentsFile_;
    QString indexFile_;
    QString defaultTopic_;
    QString title_;
};

// "Available" means the file exists and chmlib opens it.
bool HelpFileAvailable(const QString& path);

// One entry of a contents (.hhc) or keyword index (.hhk) file.
struct THelpEntry {
    QString name;
    QString local;  // topic inside the file, may be empty for a heading
    std::vector<THelpEntry> children;
};
// Parses the HTML-like sitemap format of both files; tolerant of the loose
// markup help compilers write.
std::vector<THelpEntry> ParseSitemap(const QByteArray& text);

// The address of a topic of the open help file.
QString HelpTopicUrl(const QString& local);

class THelpSchemeHandler;

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    // Opens path; the window stays empty if it does not open.
    explicit THelpWindow(const QString& path, QWidget* parent = nullptr);
    ~THelpWindow() override;

    // "Contents": the contents tree.
    void ShowContents();
    // "Search for help on": the keyword index with an empty search box.
    void ShowSearch();
    void OpenTopic(const QString& local);

    QTabWidget* Tabs = nullptr;
    QTreeWidget* ContentsTree = nullptr;
    QLineEdit* SearchBox = nullptr;
    QListWidget* KeywordList = nullptr;
    QWebEngineView* Topic = nullptr;

private:
    void buildContents();
    void buildIndex();
    void searchTextChanged(const QString& text);
    void keywordChosen(QListWidgetItem* item);
    void bringToFront();
    std::shared_ptr<TChmFile> chm_;
    QWebEngineProfile* profile_ = nullptr;
    THelpSchemeHandler* handler_ = nullptr;
    bool topicShown_ = false;
};

}  // namespace brv
