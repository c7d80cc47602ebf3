#include "shell/uLessonPane.h"

#include "common/ErrorBox.h"
#include "runtime/BRV_StrConstants.h"
#include "shell/BigPic.h"
#include "shell/html_FileUtils.h"
#include "shell/uPageWatch.h"
#include "shell/uPictureFile.h"
#include "shell/uTopicPrint.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPdfDocument>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>

#include <algorithm>
#include <array>

namespace brv {

namespace {

const QString IndexPageFile = QStringLiteral("html\\index.html");
const QString IndexDataFile = QStringLiteral("HTML\\index.ux");
const QString BookFolder = QStringLiteral("html");

// "Medium" is the engine's natural size; each step away from it is a change
// of 15 % or more, which a pupil sees at once.
constexpr std::array<qreal, TLessonPane::ZoomLevels> ZoomFactors{0.7, 0.85, 1.0, 1.2, 1.5};

QString BodyColourScript(const QString& colour)
{
    return QStringLiteral("if (document.body) document.body.style.backgroundColor = %1;")
        .arg(JsStringLiteral(colour));
}

QString IndexScript(const QString& html)
{
    return QStringLiteral(
               "(function () {"
               " var e = document.getElementById(\"index\");"
               " if (!e) return false;"
               " e.innerHTML = %1;"
               " e.setAttribute(\"data-brv-index\", \"\");"
               " return true;"
               "})()")
        .arg(JsStringLiteral(html));
}

// The index page's element "index" holds a placeholder for readers without
// the program; it stays hidden until the program has written the index into
// it, so the pupil never sees it flash up on the first start.
QWebEngineScript HidePlaceholderScript()
{
    QWebEngineScript script;
    script.setName(QStringLiteral("brvHideIndexPlaceholder"));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(false);
    script.setSourceCode(
        QStringLiteral("(function () {"
                       " if (!/\\/index(\\.html)?$/i.test(location.pathname)) return;"
                       " function add() {"
                       "  var s = document.createElement('style');"
                       "  s.textContent = '#index:not([data-brv-index]) { visibility: hidden; }';"
                       "  document.documentElement.appendChild(s);"
                       " }"
                       " if (document.documentElement) { add(); return; }"
                       " new MutationObserver(function (m, o) {"
                       "  if (document.documentElement) { o.disconnect(); add(); }"
                       " }).observe(document, { childList: true });"
                       "})()"));
    return script;
}

// Keeps what a lesson page loads besides itself (pictures, style sheets,
// frames, scripts' requests) inside the lesson book as well: a page is
// content, and content must not reach the pupil's other files.
class TLessonBookGuard : public QWebEngineUrlRequestInterceptor {
public:
    TLessonBookGuard(const QString& programFolder, QObject* parent)
        : QWebEngineUrlRequestInterceptor(parent), programFolder_(programFolder)
    {
    }

    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const QUrl url = info.requestUrl();
        if (url.isLocalFile() && !IsInsideLessonBook(programFolder_, url.toLocalFile()))
            info.block(true);
    }

private:
    const QString programFolder_;
};

}  // namespace

// --- TEWBPage ----------------------------------------------------------------

TEWBPage::TEWBPage(TLessonPane& pane, QObject* parent) : TQuietPage(parent), pane_(pane) {}

bool TEWBPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    if (!pane_.RouteNavigation(url, isMainFrame && type == NavigationTypeLinkClicked))
        return false;
    if (isMainFrame)
        pane_.watch_->Expect(url);
    return true;
}

QWebEnginePage* TEWBPage::createWindow(WebWindowType)
{
    // Links and scripts that ask for another window open in this pane.  The
    // engine needs a fresh page to hand the request to, so a stand-in takes it
    // and passes the address on.
    return new TWindowRelay(*this);
}

// --- TEWB --------------------------------------------------------------------

TEWB::TEWB(TLessonPane& pane, QWidget* parent) : QWebEngineView(parent), pane_(pane) {}

void TEWB::contextMenuEvent(QContextMenuEvent* event)
{
    const QWebEngineContextMenuRequest* request = lastContextMenuRequest();
    if (request && request->mediaType() == QWebEngineContextMenuRequest::MediaTypeImage) {
        pane_.PictureContextMenu(request->mediaUrl(), event->globalPos());
        return;
    }
    pane_.ForgetPicture();
    if (request && !request->selectedText().isEmpty()) {
        QMenu* menu = createStandardContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(event->globalPos());
    }
}

// --- printing ------------------------------------------------------------------

QPageLayout TLessonPane::TopicPageLayout(const QPageLayout& printerLayout)
{
    return QPageLayout(printerLayout.pageSize(), QPageLayout::Portrait,
                       QMarginsF(kTopicMarginMm, kTopicMarginMm, kTopicMarginMm, kTopicMarginMm),
                       QPageLayout::Millimeter);
}

// --- TLessonPane -----------------------------------------------------------------

TLessonPane::TLessonPane(TLessonPaneHost host, const QString& programFolder, QWidget* parent)
    : QWidget(parent),
      host_(std::move(host)),
      programFolder_(programFolder),
      textBackground_(str::sTextBgndWhite())
{
    setObjectName(QStringLiteral("EWBPanel"));
    if (!host_.openPicture)
        host_.openPicture = [](const QString& file) { TBigPicFrm::ShowModal(file); };
    if (!host_.showError)
        host_.showError = [this](const QString& message) { ShowErrorBox(window(), message); };
    if (!host_.openWebLink)
        host_.openWebLink = AskThenOpenInBrowser(this);

    ewb_ = new TEWB(*this, this);
    ewb_->setObjectName(QStringLiteral("EWB"));
    page_ = new TEWBPage(*this, ewb_);
    page_->setUrlRequestInterceptor(new TLessonBookGuard(programFolder_, this));
    ewb_->setPage(page_);
    page_->scripts().insert(HidePlaceholderScript());
    QWebEngineSettings* settings = page_->settings();
    settings->setAttribute(QWebEngineSettings::AutoLoadImages, true);
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);

    // Stands in for a page that is missing, saying what is missing and what
    // still works.
    notice_ = new QLabel(this);
    notice_->setObjectName(QStringLiteral("Notice"));
    notice_->setWordWrap(true);
    notice_->setAlignment(Qt::AlignCenter);
    notice_->setMargin(24);
    notice_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    notice_->setAutoFillBackground(true);
    notice_->setBackgroundRole(QPalette::Base);
    notice_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ewb_);
    layout->addWidget(notice_);

    picPopUp_ = new QMenu(this);
    picPopUp_->setObjectName(QStringLiteral("PicPopUp"));
    copyImage1_ = picPopUp_->addAction(str::sCopyPictureToClipboard());
    copyImage1_->setObjectName(QStringLiteral("CopyImage1"));
    connect(copyImage1_, &QAction::triggered, this, &TLessonPane::CopyImage1Click);

    watch_ = new TPageWatch(*page_, this);
    connect(watch_, &TPageWatch::Stopped, this, &TLessonPane::onPageStopped);
    connect(page_, &QWebEnginePage::loadingChanged, this, &TLessonPane::onLoadingChanged);
    connect(page_, &QWebEnginePage::urlChanged, this, &TLessonPane::updateCommandState);
    connect(page_->action(QWebEnginePage::Back), &QAction::changed, this, &TLessonPane::updateCommandState);
    connect(page_->action(QWebEnginePage::Forward), &QAction::changed, this,
            &TLessonPane::updateCommandState);
}

TLessonPane::~TLessonPane()
{
    // The page answers its pending script and print callbacks as it is
    // destroyed.  Left to QWidget's destructor it would run them after this
    // one, on an object that is no longer a lesson pane; here the pane is still
    // whole and the callbacks see it closing.
    closing_ = true;
    delete watch_;
    watch_ = nullptr;
    disconnect(page_, nullptr, this, nullptr);
    disconnect(page_->action(QWebEnginePage::Back), nullptr, this, nullptr);
    disconnect(page_->action(QWebEnginePage::Forward), nullptr, this, nullptr);
    delete ewb_;
    ewb_ = nullptr;
    page_ = nullptr;
}

void TLessonPane::LoadIndex()
{
    const QString file = ResolveInFolder(programFolder_, IndexDataFile);
    if (QFileInfo(file).isFile())
        index_.Load(file);
}

void TLessonPane::OpenStartPage()
{
    navigateToFile(IndexPageFile);
}

void TLessonPane::OpenPage(const QString& page)
{
    navigateToFile(BookFolder + QLatin1Char('\\') + page);
}

QString TLessonPane::BookPage() const
{
    const QUrl url = page_->url();
    if (!hasDocument_ || !url.isLocalFile())
        return {};
    const QFileInfo shown(url.toLocalFile());
    const QFileInfo book(ResolveInFolder(programFolder_, BookFolder));
    return shown.isFile() && shown.absoluteDir() == QDir(book.absoluteFilePath()) ? shown.fileName()
                                                                                  : QString();
}

QString TLessonPane::Notice() const
{
    return notice_->isHidden() ? QString() : notice_->text();
}

void TLessonPane::showNotice(const QString& text)
{
    notice_->setText(text);
    ewb_->hide();
    notice_->show();
}

// --- routing -----------------------------------------------------------------------

bool TLessonPane::RouteNavigation(const QUrl& url, bool clicked)
{
    const QString segment = LastUrlSegment(url.toString());
    if (segment.contains(QLatin1Char('!'))) {
        routeIndexLink(segment);
        return false;
    }
    if (segment.contains(QLatin1Char('$'))) {
        routePictureLink(segment);
        return false;
    }
    if (IsWebLink(url)) {
        if (clicked)
            offerWebLink(url);
        return false;
    }
    if (refuseOutsideBook(url))
        return false;
    routeLessonPage(segment);
    return true;
}

bool TLessonPane::refuseOutsideBook(const QUrl& url)
{
    if (!url.isLocalFile() || IsInsideLessonBook(programFolder_, url.toLocalFile()))
        return false;
    reportError(str::sLocalFileRefused().arg(QDir::toNativeSeparators(QDir::cleanPath(url.toLocalFile()))));
    return true;
}

// The lesson book is read without the internet; a web page is the desktop
// browser's to show, if the pupil wants it, and the page being read stays.
// One question per page load: the engine cannot tell a pupil's click from a
// script's wish, and a script could ask again as soon as it is answered.
void TLessonPane::offerWebLink(const QUrl& url)
{
    if (askingWebLink_ || !firstTimeThisPage(QStringLiteral("web link")))
        return;
    askingWebLink_ = true;
    QTimer::singleShot(0, this, [this, url] {
        host_.openWebLink(url);
        askingWebLink_ = false;
    });
}

void TLessonPane::onPageStopped(const QUrl& stuck, const QUrl& retry)
{
    if (closing_)
        return;
    const QString message = str::sLessonPageStopped().arg(ShownAddress(stuck));
    if (retry.isEmpty()) {
        showNotice(message);
        return;
    }
    reportError(message);
    page_->load(retry);
}

void TLessonPane::SetPagePatience(int ms)
{
    watch_->SetPatience(ms);
}

void TLessonPane::routeIndexLink(const QString& segment)
{
    bool isNumber = false;
    const int heading = segment.mid(segment.indexOf(QLatin1Char('!')) + 1).toInt(&isNumber);
    if (!isNumber)
        return;
    index_.Toggle(heading);
    RewriteIndex();
}

void TLessonPane::routePictureLink(const QString& segment)
{
    const QString file = DollarPicturePath(programFolder_, segment);
    if (file.isEmpty()) {
        reportError(str::sPictureLinkRefused().arg(QUrl::fromPercentEncoding(segment.toUtf8())));
        return;
    }
    if (!QFileInfo(file).isFile()) {
        reportError(str::sPictureMissing().arg(QDir::toNativeSeparators(file)));
        return;
    }
    if (ReadWholePicture(file).isNull()) {
        reportError(str::sPictureUnreadable().arg(QDir::toNativeSeparators(file)));
        return;
    }
    // The viewer's modal loop must not run inside the engine's navigation
    // callback, so it opens as soon as that callback has returned.
    QTimer::singleShot(0, this, [this, file] { host_.openPicture(file); });
}

void TLessonPane::routeLessonPage(const QString& segment)
{
    const ExperimentId current = host_.currentExperiment ? host_.currentExperiment() : 0;
    const ExperimentId id = PageExperimentId(segment, current);
    if (id != current)
        showExperimentSafely(id);
    markIndexFor(segment, id);
}

void TLessonPane::showExperimentSafely(ExperimentId id)
{
    if (!host_.showExperiment)
        return;
    // An exception must not unwind through the engine's callback; it is shown
    // to the user like any other error that reaches the event loop.
    try {
        host_.showExperiment(id);
    } catch (const std::exception& e) {
        reportError(QString::fromUtf8(e.what()));
    }
}

void TLessonPane::markIndexFor(const QString& segment, ExperimentId id)
{
    // These two names are compared exactly, as the lesson book writes them.
    if (segment == QLatin1String("index.html"))
        return;
    const QString page = segment == QLatin1String("resdata.htm") ? segment : ExperimentMainPage(id);
    const int heading = index_.FindHeading(page);
    if (heading >= 0)
        index_.Expand(heading);
    index_.Select(page);
}

// A page's script may repeat what was refused as fast as it likes; the pupil
// is told once, until another page has loaded.
bool TLessonPane::firstTimeThisPage(const QString& what)
{
    if (toldThisPage_.contains(what))
        return false;
    toldThisPage_.insert(what);
    return true;
}

void TLessonPane::reportError(const QString& message)
{
    if (!firstTimeThisPage(message))
        return;
    QTimer::singleShot(0, this, [this, message] { host_.showError(message); });
}

// --- commands -----------------------------------------------------------------------

void TLessonPane::navigateToFile(const QString& relative)
{
    const QString file = ResolveInFolder(programFolder_, relative);
    if (QFileInfo(file).isFile()) {
        ewb_->load(QUrl::fromLocalFile(file));
        return;
    }
    const QString book = ResolveInFolder(programFolder_, BookFolder);
    if (!QFileInfo(book).isDir())
        showNotice(str::sLessonBookMissing().arg(QDir::toNativeSeparators(book)));
    else if (relative == IndexPageFile)
        showNotice(str::sLessonStartPageMissing().arg(QDir::toNativeSeparators(file)));
    else
        showNotice(str::sLessonPageMissing().arg(QDir::toNativeSeparators(file)));
}

void TLessonPane::IndexBtnClick()
{
    navigateToFile(IndexPageFile);
}

void TLessonPane::FwdBtnClick()
{
    // Without history the engine does nothing, which is what is wanted.
    page_->triggerAction(QWebEnginePage::Forward);
}

void TLessonPane::BackBtnClick()
{
    page_->triggerAction(QWebEnginePage::Back);
}

qreal TLessonPane::ZoomFactorForLevel(int level)
{
    return ZoomFactors[std::size_t(std::clamp(level, 0, ZoomLevels - 1))];
}

void TLessonPane::SetZoomLevel(int level)
{
    zoomLevel_ = std::clamp(level, 0, ZoomLevels - 1);
    applyZoom();
}

void TLessonPane::applyZoom()
{
    const qreal factor = ZoomFactorForLevel(zoomLevel_);
    if (!qFuzzyCompare(ewb_->zoomFactor(), factor))
        ewb_->setZoomFactor(factor);
}

void TLessonPane::SetTextBackground(const QString& colour)
{
    if (!hasDocument_)
        return;
    applyBodyColour(colour);
    textBackground_ = colour;
}

void TLessonPane::applyBodyColour(const QString& colour)
{
    runScript(BodyColourScript(colour));
}

void TLessonPane::CopyTopicText()
{
    // The engine selects and copies in the focused frame; without focus (the
    // pupil has not clicked into the page yet) there is none.
    ewb_->setFocus(Qt::OtherFocusReason);
    page_->triggerAction(QWebEnginePage::SelectAll);
    page_->triggerAction(QWebEnginePage::Copy);
    page_->triggerAction(QWebEnginePage::Unselect);
}

void TLessonPane::PrintTopic()
{
    if (!hasDocument_)
        return;
    const QPageLayout layout = TopicPageLayout(QPrinter().pageLayout());
    const TTopicPrintInfo info{page_->title(), page_->url().toDisplayString(QUrl::PreferLocalFile),
                               QLocale().toString(QDate::currentDate(), QLocale::ShortFormat)};
    QPointer<TLessonPane> self(this);
    page_->printToPdf(
        [self, info, layout](const QByteArray& pdf) {
            if (!self || self->closing_)
                return;
            emit self->TopicRendered(pdf);
            if (pdf.isEmpty()) {
                self->reportError(str::sPrintFailed());
                return;
            }
            // The preview runs a modal loop: start it outside the engine's callback.
            QTimer::singleShot(0, self, [self, pdf, info, layout] {
                if (self)
                    self->showPrintPreview(pdf, info, layout);
            });
        },
        layout);
}

void TLessonPane::showPrintPreview(const QByteArray& pdf, const TTopicPrintInfo& info,
                                   const QPageLayout& layout)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(layout);
    printer.setFullPage(true);
    printer.setDocName(info.title);
    QPrintPreviewDialog preview(&printer, window());
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
            [&pdf, &info](QPrinter* target) { PaintTopicPages(*target, pdf, info); });
    preview.exec();
}

void TLessonPane::ShowExperimentPage(ExperimentId id)
{
    const ExperimentId current = host_.currentExperiment ? host_.currentExperiment() : 0;
    const QString mainPage = ExperimentMainPage(id);
    if (id == current || mainPage.isEmpty())
        return;
    navigateToFile(QStringLiteral("HTML\\") + mainPage);
    showExperimentSafely(id);
}

void TLessonPane::ExpandAllClick()
{
    index_.ExpandAll();
    RewriteIndex();
}

void TLessonPane::CollapseAllClick()
{
    index_.CollapseAll();
    RewriteIndex();
}

void TLessonPane::RewriteIndex()
{
    QPointer<TLessonPane> self(this);
    runScript(IndexScript(index_.Render()), [self](const QVariant& found) {
        if (self && !self->closing_)
            emit self->IndexRewritten(found.toBool());
    });
}

void TLessonPane::runScript(const QString& script, const std::function<void(const QVariant&)>& done)
{
    // The application's own world: page scripts cannot redefine what we call.
    if (done)
        page_->runJavaScript(script, QWebEngineScript::ApplicationWorld, done);
    else
        page_->runJavaScript(script, QWebEngineScript::ApplicationWorld);
}

// --- document complete and command state --------------------------------------------

QString TLessonPane::LocationName() const
{
    return page_->url().fileName();
}

void TLessonPane::onLoadingChanged(const QWebEngineLoadingInfo& info)
{
    // A navigation the routing cancelled stops without a document; only a
    // page that was shown (or the engine's error page) completes.
    if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus)
        onDocumentComplete(true);
    else if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus)
        onDocumentComplete(false);
}

void TLessonPane::onDocumentComplete(bool ok)
{
    hasDocument_ = true;
    toldThisPage_.clear();
    notice_->hide();
    ewb_->show();
    if (textBackground_ != str::sTextBgndWhite())
        applyBodyColour(textBackground_);
    applyZoom();
    const QString location = LocationName();
    if (location == QLatin1String("index.html") || location == QLatin1String("index"))
        RewriteIndex();
    updateCommandState();
    emit DocumentComplete(ok);
}

void TLessonPane::updateCommandState()
{
    QWebEngineHistory* history = page_->history();
    fwdEnabled_ = history->canGoForward();
    backEnabled_ = history->canGoBack();
    indexBtnEnabled_ = !LocationName().contains(QLatin1String("index"));
    emit CommandStateChanged();
}

// --- picture context menu ------------------------------------------------------------------

bool TLessonPane::PictureContextMenu(const QUrl& sourceUrl, const QPoint& globalPos)
{
    picturePath_ = PictureSourceToFile(sourceUrl.toString());
    if (picturePath_.isEmpty() || !QFileInfo(picturePath_).isFile()) {
        picturePath_.clear();
        return false;
    }
    picPopUp_->popup(globalPos);
    return true;
}

void TLessonPane::CopyImage1Click()
{
    if (picturePath_.isEmpty() || !QFileInfo(picturePath_).isFile())
        return;
    const QImage picture(picturePath_);
    if (!picture.isNull())
        QGuiApplication::clipboard()->setImage(picture);
}

}  // namespace brv
