#include "shell/uHelp.h"

#include "runtime/BRV_StrConstants.h"

#include <QBuffer>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QStringDecoder>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>
#include <QtEndian>

#include <chm_lib.h>

namespace brv {

// --- the file -------------------------------------------------------------------

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

struct TFindContext {
    QString contents;
    QString index;
};

int FindSitemap(chmFile*, chmUnitInfo* ui, void* context)
{
    auto* found = static_cast<TFindContext*>(context);
    const QString path = QString::fromLocal8Bit(ui->path);
    if (found->contents.isEmpty() && path.endsWith(QLatin1String(".hhc"), Qt::CaseInsensitive))
        found->contents = path;
    if (found->index.isEmpty() && path.endsWith(QLatin1String(".hhk"), Qt::CaseInsensitive))
        found->index = path;
    return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

TChmFile::TChmFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return;
    file_ = chm_open(QFile::encodeName(path).constData());
    if (file_ == nullptr)
        return;
    readSystemRecord();
    findSitemapsByName();
}

TChmFile::~TChmFile()
{
    if (file_ != nullptr)
        chm_close(file_);
}

std::optional<QByteArray> TChmFile::Read(const QString& path) const
{
    if (file_ == nullptr)
        return std::nullopt;
    const QByteArray name = InsidePath(path).toUtf8();
    chmUnitInfo ui{};
    if (name.size() > CHM_MAX_PATHLEN ||
        chm_resolve_object(file_, name.constData(), &ui) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    // A damaged directory could claim any length; no help object is this big.
    constexpr LONGUINT64 kMaxObject = 64u << 20;
    if (ui.length > kMaxObject)
        return std::nullopt;
    QByteArray data(qsizetype(ui.length), Qt::Uninitialized);
    const LONGINT64 got = chm_retrieve_object(file_, &ui, reinterpret_cast<unsigned char*>(data.data()), 0,
                                              LONGINT64(ui.length));
    if (got < 0)
        return std::nullopt;
    data.truncate(qsizetype(got));
    return data;
}

void TChmFile::readSystemRecord()
{
    const std::optional<QByteArray> system = Read(QStringLiteral("/#SYSTEM"));
    if (!system || system->size() < 4)
        return;
    const char* data = system->constData();
    const int size = int(system->size());
    for (int at = 4; at + 4 <= size;) {
        const quint16 code = qFromLittleEndian<quint16>(data + at);
        const int length = qFromLittleEndian<quint16>(data + at + 2);
        at += 4;
        if (at + length > size)
            break;
        const QString text = RecordText(data + at, length);
        switch (code) {
            case kSysContents:
                contentsFile_ = text;
                break;
            case kSysIndex:
                indexFile_ = text;
                break;
            case kSysDefaultTopic:
                defaultTopic_ = text;
                break;
            case kSysTitle:
                title_ = text;
                break;
            default:
                break;
        }
        at += length;
    }
}

void TChmFile::findSitemapsByName()
{
    const bool contentsFound = !contentsFile_.isEmpty() && Read(contentsFile_);
    const bool indexFound = !indexFile_.isEmpty() && Read(indexFile_);
    if (contentsFound && indexFound)
        return;
    TFindContext found;
    chm_enumerate(file_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, FindSitemap, &found);
    if (!contentsFound)
        contentsFile_ = found.contents;
    if (!indexFound)
        indexFile_ = found.index;
}

bool HelpFileAvailable(const QString& path)
{
    return TChmFile(path).IsOpen();
}

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
    void openList()
    {
        std::vector<THelpEntry>* current = levels_.back();
        levels_.push_back(current->empty() ? current : &current->back().children);
    }

    void closeList()
    {
        if (levels_.size() > 1)
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

    std::vector<THelpEntry> root_;
    std::vector<std::vector<THelpEntry>*> levels_;
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

// --- serving topics ------------------------------------------------------------------

void RegisterHelpScheme()
{
    QWebEngineUrlScheme scheme(kHelpScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
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
    THelpSchemeHandler(std::shared_ptr<TChmFile> chm, QObject* parent)
        : QWebEngineUrlSchemeHandler(parent), chm_(std::move(chm))
    {
    }

    void requestStarted(QWebEngineUrlRequestJob* job) override
    {
        const QString path = job->requestUrl().path();
        std::optional<QByteArray> data = chm_->Read(path);
        if (!data) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* buffer = new QBuffer(job);
        buffer->setData(*data);
        job->reply(MimeOf(path), buffer);
    }

private:
    std::shared_ptr<TChmFile> chm_;
};

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

THelpWindow::THelpWindow(const QString& path, QWidget* parent)
    : QWidget(parent, Qt::Window), chm_(std::make_shared<TChmFile>(path))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(chm_->Title().isEmpty() ? str::sHelpCaption() : chm_->Title());
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
    handler_ = new THelpSchemeHandler(chm_, profile_);
    profile_->installUrlSchemeHandler(kHelpScheme, handler_);
    Topic->setPage(new QWebEnginePage(profile_, Topic));
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

    buildContents();
    buildIndex();
}

THelpWindow::~THelpWindow()
{
    // A page must go before the profile it was made with.
    delete Topic;
    Topic = nullptr;
}

void THelpWindow::buildContents()
{
    if (std::optional<QByteArray> hhc = chm_->Read(chm_->ContentsFile());
        hhc && !chm_->ContentsFile().isEmpty())
        AddContents(nullptr, ContentsTree, ParseSitemap(*hhc));
}

void THelpWindow::buildIndex()
{
    if (std::optional<QByteArray> hhk = chm_->Read(chm_->IndexFile()); hhk && !chm_->IndexFile().isEmpty())
        AddKeywords(KeywordList, ParseSitemap(*hhk), 0);
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
    if (local.isEmpty() || !chm_->IsOpen())
        return;
    Topic->setUrl(QUrl(HelpTopicUrl(local)));
    topicShown_ = true;
}

void THelpWindow::bringToFront()
{
    if (!topicShown_) {
        QString first = chm_->DefaultTopic();
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
    bringToFront();
    SearchBox->setFocus();
}

}  // namespace brv
