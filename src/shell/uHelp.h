// The program's help: a compiled help file (.chm), read by the help reader
// (uHelpFile.h), shown in a window of our own with the file's contents tree,
// its keyword index and its topics in a web view served from the read book.
#pragma once

#include "shell/uHelpFile.h"
#include "shell/uPageGuard.h"

#include <QSet>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QWebEngineProfile;
class QWebEngineView;

namespace brv {

// Makes the help scheme known to the web engine; only possible before the
// QApplication is created.
void RegisterHelpScheme();

class THelpSchemeHandler;

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    // book must have been read (book->Ok()).
    explicit THelpWindow(std::shared_ptr<const THelpBook> book, QWidget* parent = nullptr);
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

    // Says why a link of a topic was not followed; default: the standard
    // error box over this window.  Replaceable so that a test can read it.
    std::function<void(const QString& message)> ShowError;
    // A web link clicked in a topic; default: asks, then opens it in the
    // desktop's browser.
    TWebLinkOpener OpenWebLink;

    // Routes a navigation of the topic view: the help file's own topics are
    // shown; a web link the pupil clicked is offered to OpenWebLink; anything
    // else is refused, with a word when it was a page the view was to show.
    bool RouteNavigation(const QUrl& url, bool clicked, bool isMainFrame);

private:
    void searchTextChanged(const QString& text);
    void keywordChosen(QListWidgetItem* item);
    void bringToFront();
    void placeOverOwner();
    std::shared_ptr<const THelpBook> book_;
    QWebEngineProfile* profile_ = nullptr;
    THelpSchemeHandler* handler_ = nullptr;
    bool topicShown_ = false;
    bool placed_ = false;
    bool askingWebLink_ = false;
    // The outside addresses the pupil was told of since the topic opened.
    QSet<QUrl> toldThisTopic_;
};

}  // namespace brv
