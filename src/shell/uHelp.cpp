#include "shell/uHelp.h"

#include "common/ErrorBox.h"
#include "runtime/BRV_StrConstants.h"

#include <QBuffer>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

#include <algorithm>

namespace brv {

// --- serving topics ------------------------------------------------------------------

void RegisterHelpScheme()
{
    QWebEngineUrlScheme scheme(kHelpScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // Local to the program.  The engine refuses a scheme without local access
    // the right to load even its own style sheets, and refuses its links to
    // the computer's files without a word to the pupil; so the scheme keeps
    // that access, and the window's guard (no scripts, every request and
    // every navigation checked) keeps a topic to the help file's own objects.
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}

namespace {

QByteArray MimeOf(const QString& path)
{
    static const std::pair<const char*, const char*> types[] = {
        {".htm", "text/html"}, {".html", "text/html"},    {".css", "text/css"},   {".js", "text/javascript"},
        {".gif", "image/gif"}, {".png", "image/png"},     {".jpg", "image/jpeg"}, {".jpeg", "image/jpeg"},
        {".bmp", "image/bmp"}, {".svg", "image/svg+xml"}, {".txt", "text/plain"}};
    for (const auto& [suffix, mime] : types)
        if (path.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return mime;
    return "application/octet-stream";
}

}  // namespace

class THelpSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    THelpSchemeHandler(std::shared_ptr<const THelpBook> book, QObject* parent)
        : QWebEngineUrlSchemeHandler(parent), book_(std::move(book))
    {
    }

    void requestStarted(QWebEngineUrlRequestJob* job) override
    {
        const QString path = job->requestUrl().path();
        const std::optional<QByteArray> data = book_->Object(path);
        if (!data) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* buffer = new QBuffer(job);
        buffer->setData(*data);
        job->reply(MimeOf(path), buffer);
    }

private:
    std::shared_ptr<const THelpBook> book_;
};

namespace {

bool IsHelpAddress(const QUrl& url)
{
    return url.scheme() == QLatin1String(kHelpScheme);
}

// Whatever a topic loads besides itself (pictures, style sheets, frames)
// comes from the help file too: a help file is content, and content must not
// reach the pupil's other files or the internet.
class THelpGuard : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        if (!IsHelpAddress(info.requestUrl()))
            info.block(true);
    }
};

class THelpPage : public TQuietPage {
public:
    THelpPage(THelpWindow& window, QWebEngineProfile* profile, QObject* parent)
        : TQuietPage(profile, parent), window_(window)
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override
    {
        return window_.RouteNavigation(url, isMainFrame && type == NavigationTypeLinkClicked, isMainFrame);
    }

    QWebEnginePage* createWindow(WebWindowType) override { return new TWindowRelay(*this); }

private:
    THelpWindow& window_;
};

// The help topics are plain pages: they need no scripts, and without them
// no topic can reach anything by a script.
void ConfineTopicSettings(QWebEngineSettings* settings)
{
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
}

}  // namespace

// --- the window --------------------------------------------------------------------------

namespace {

void AddContents(QTreeWidgetItem* parent, QTreeWidget* tree, const std::vector<THelpEntry>& entries)
{
    for (const THelpEntry& entry : entries) {
        auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, entry.name);
        // Headings look like folders, topics like pages.
        item->setIcon(0, tree->style()->standardIcon(entry.children.empty() ? QStyle::SP_FileIcon
                                                                            : QStyle::SP_DirIcon));
        item->setData(0, Qt::UserRole, entry.local);
        AddContents(item, tree, entry.children);
    }
}

void AddKeywords(QListWidget* list, const std::vector<THelpEntry>& entries, int depth)
{
    for (const THelpEntry& entry : entries) {
        auto* item = new QListWidgetItem(QString(depth * 4, QLatin1Char(' ')) + entry.name, list);
        item->setData(Qt::UserRole, entry.local);
        AddKeywords(list, entry.children, depth + 1);
    }
}

}  // namespace

THelpWindow::THelpWindow(std::shared_ptr<const THelpBook> book, QWidget* parent)
    : QWidget(parent, Qt::Window), book_(std::move(book))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(book_->Title.isEmpty() ? str::sHelpCaption() : book_->Title);
    resize(920, 640);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    Tabs = new QTabWidget(splitter);
    ContentsTree = new QTreeWidget(Tabs);
    ContentsTree->setHeaderHidden(true);
    Tabs->addTab(ContentsTree, str::sHelpContentsTab());

    auto* indexPage = new QWidget(Tabs);
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(new QLabel(str::sHelpKeywordPrompt(), indexPage));
    SearchBox = new QLineEdit(indexPage);
    indexLayout->addWidget(SearchBox);
    KeywordList = new QListWidget(indexPage);
    indexLayout->addWidget(KeywordList, 1);
    auto* display = new QPushButton(str::sHelpDisplay(), indexPage);
    indexLayout->addWidget(display, 0, Qt::AlignRight);
    Tabs->addTab(indexPage, str::sHelpIndexTab());

    // The topics are served from the help file under our own scheme, in a
    // profile of their own so the handler lives exactly as long as the window.
    Topic = new QWebEngineView(splitter);
    profile_ = new QWebEngineProfile(this);
    handler_ = new THelpSchemeHandler(book_, profile_);
    profile_->installUrlSchemeHandler(kHelpScheme, handler_);
    profile_->setUrlRequestInterceptor(new THelpGuard(profile_));
    Topic->setPage(new THelpPage(*this, profile_, Topic));
    ConfineTopicSettings(Topic->settings());
    ShowError = [this](const QString& message) { ShowErrorBox(this, message); };
    OpenWebLink = AskThenOpenInBrowser(this);
    splitter->addWidget(Tabs);
    splitter->addWidget(Topic);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 660});

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);

    connect(ContentsTree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { OpenTopic(item->data(0, Qt::UserRole).toString()); });
    connect(ContentsTree, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { OpenTopic(item->data(0, Qt::UserRole).toString()); });
    connect(SearchBox, &QLineEdit::textChanged, this, &THelpWindow::searchTextChanged);
    connect(SearchBox, &QLineEdit::returnPressed, this,
            [this] { keywordChosen(KeywordList->currentItem()); });
    connect(KeywordList, &QListWidget::itemActivated, this, &THelpWindow::keywordChosen);
    connect(display, &QPushButton::clicked, this, [this] { keywordChosen(KeywordList->currentItem()); });

    auto* closeKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    closeKey->setContext(Qt::WindowShortcut);
    connect(closeKey, &QShortcut::activated, this, &QWidget::close);

    AddContents(nullptr, ContentsTree, book_->Contents);
    AddKeywords(KeywordList, book_->Keywords, 0);
}

THelpWindow::~THelpWindow()
{
    // A page must go before the profile it was made with.
    delete Topic;
    Topic = nullptr;
}

bool THelpWindow::RouteNavigation(const QUrl& url, bool clicked, bool isMainFrame)
{
    if (IsHelpAddress(url) || url.toString() == QLatin1String("about:blank")) {
        if (isMainFrame)
            toldThisTopic_.clear();
        return true;
    }
    // Boxes open after the engine's callback has returned, one at a time.
    if (IsWebLink(url)) {
        if (clicked && !askingWebLink_) {
            askingWebLink_ = true;
            QTimer::singleShot(0, this, [this, url] {
                OpenWebLink(url);
                askingWebLink_ = false;
            });
        }
        return false;
    }
    if (isMainFrame && !toldThisTopic_.contains(url)) {
        toldThisTopic_.insert(url);
        const QString message = str::sHelpLinkRefused().arg(ShownAddress(url));
        QTimer::singleShot(0, this, [this, message] { ShowError(message); });
    }
    return false;
}

void THelpWindow::searchTextChanged(const QString& text)
{
    const QString wanted = text.trimmed();
    if (wanted.isEmpty())
        return;
    for (int i = 0; i < KeywordList->count(); ++i) {
        QListWidgetItem* item = KeywordList->item(i);
        if (item->text().trimmed().startsWith(wanted, Qt::CaseInsensitive)) {
            KeywordList->setCurrentItem(item);
            KeywordList->scrollToItem(item, QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

void THelpWindow::keywordChosen(QListWidgetItem* item)
{
    if (item != nullptr)
        OpenTopic(item->data(Qt::UserRole).toString());
}

void THelpWindow::OpenTopic(const QString& local)
{
    if (local.isEmpty())
        return;
    Topic->setUrl(QUrl(HelpTopicUrl(local)));
    topicShown_ = true;
}

// The first time it opens, over the main window rather than wherever the
// window manager puts a new window (a screen's corner).
void THelpWindow::placeOverOwner()
{
    if (placed_)
        return;
    placed_ = true;
    const QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    if (owner == nullptr || !owner->isVisible())
        return;
    QRect bounds(QPoint(), size());
    bounds.moveCenter(owner->frameGeometry().center());
    if (const QScreen* screen = owner->screen()) {
        const QRect work = screen->availableGeometry();
        bounds.moveLeft(
            std::clamp(bounds.left(), work.left(), std::max(work.left(), work.right() - width())));
        bounds.moveTop(std::clamp(bounds.top(), work.top(), std::max(work.top(), work.bottom() - height())));
    }
    move(bounds.topLeft());
}

void THelpWindow::bringToFront()
{
    placeOverOwner();
    if (!topicShown_) {
        QString first = book_->DefaultTopic;
        if (first.isEmpty() && ContentsTree->topLevelItemCount() > 0)
            first = ContentsTree->topLevelItem(0)->data(0, Qt::UserRole).toString();
        OpenTopic(first);
    }
    show();
    raise();
    activateWindow();
}

void THelpWindow::ShowContents()
{
    Tabs->setCurrentWidget(ContentsTree);
    bringToFront();
}

void THelpWindow::ShowSearch()
{
    Tabs->setCurrentIndex(Tabs->indexOf(SearchBox->parentWidget()));
    SearchBox->clear();
    // A new search starts at the top of the index, with nothing chosen from
    // the last one.
    KeywordList->clearSelection();
    KeywordList->setCurrentItem(nullptr);
    KeywordList->scrollToTop();
    bringToFront();
    SearchBox->setFocus();
}

}  // namespace brv
