// The lesson pane in a real web engine view, on the fixture lesson book
// (tests/data/lesson): the index written into the page, colour and zoom after
// each load, the links, history and command state, copying, printing and the
// picture menu.
#include "runtime/BRV_StrConstants.h"
#include "shell/html_FileUtils.h"
#include "shell/uLessonPane.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineHistory>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace brv {
namespace {

QString Book()
{
    return QDir(test::DataPath(QStringLiteral("lesson"))).absolutePath();
}

// Runs the event loop until done() holds or the time is up.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 15000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

void Idle(int ms)
{
    WaitUntil([] { return false; }, ms);
}

class LessonPane : public ::testing::Test {
protected:
    void SetUp() override
    {
        TLessonPaneHost host;
        host.currentExperiment = [this] { return current_; };
        host.showExperiment = [this](ExperimentId id) {
            shown_.push_back(id);
            current_ = id;
        };
        host.openPicture = [this](const QString& file) { pictures_.push_back(file); };
        host.showError = [this](const QString& message) { errors_.push_back(message); };
        pane_ = std::make_unique<TLessonPane>(host, Book());
        pane_->resize(800, 600);
        pane_->show();
        QObject::connect(pane_.get(), &TLessonPane::DocumentComplete, [this](bool) { ++loads_; });
        QObject::connect(pane_.get(), &TLessonPane::IndexRewritten, [this](bool found) {
            ++rewrites_;
            lastRewriteFound_ = found;
        });
        pane_->LoadIndex();
    }

    void TearDown() override
    {
        pane_.reset();
        EXPECT_TRUE(errors_.empty()) << errors_.front().toStdString();
    }

    // Evaluates script in the page and returns its result.
    QVariant Eval(const QString& script)
    {
        QVariant result;
        bool done = false;
        pane_->EWB()->page()->runJavaScript(script, [&](const QVariant& v) {
            result = v;
            done = true;
        });
        EXPECT_TRUE(WaitUntil([&] { return done; })) << script.toStdString();
        return result;
    }

    bool WaitForLoads(int count)
    {
        return WaitUntil([&] { return loads_ >= count; });
    }

    void OpenIndexPage()
    {
        pane_->OpenStartPage();
        ASSERT_TRUE(WaitForLoads(1));
        ASSERT_TRUE(WaitUntil([&] { return rewrites_ >= 1; }));
    }

    void ClickLink(const char* id)
    {
        Eval(QStringLiteral("document.getElementById(%1).click(); true")
                 .arg(JsStringLiteral(QLatin1String(id))));
    }

    // A real mouse click in the middle of the element: unlike a scripted
    // click it counts as the pupil's own gesture, which the engine's history
    // and context menu need.
    void MouseClick(const char* id, Qt::MouseButton button)
    {
        const QVariantList centre =
            Eval(QStringLiteral("(function(){var r=document.getElementById(%1).getBoundingClientRect();"
                                "return [r.left + r.width/2, r.top + r.height/2];})()")
                     .arg(JsStringLiteral(QLatin1String(id))))
                .toList();
        ASSERT_EQ(centre.size(), 2) << id;
        QWidget* target = pane_->EWB()->focusProxy();
        ASSERT_NE(target, nullptr);
        const qreal zoom = pane_->EWB()->zoomFactor();
        const QPointF at(centre[0].toDouble() * zoom, centre[1].toDouble() * zoom);
        QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), button, button,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(target, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), button, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(target, &release);
    }

    QString IndexHtml()
    {
        return Eval(QStringLiteral("document.getElementById('index').innerHTML")).toString();
    }
    QString BodyColour()
    {
        return Eval(QStringLiteral("getComputedStyle(document.body).backgroundColor")).toString();
    }
    QString FileName() { return pane_->EWB()->page()->url().fileName(); }

    std::unique_ptr<TLessonPane> pane_;
    ExperimentId current_ = 0;
    std::vector<ExperimentId> shown_;
    std::vector<QString> pictures_;
    std::vector<QString> errors_;
    int loads_ = 0;
    int rewrites_ = 0;
    bool lastRewriteFound_ = false;
};

TEST_F(LessonPane, StartPageReceivesTheIndexWithColourAndZoomApplied)
{
    pane_->SetZoomLevel(4);
    pane_->RestoreTextBackground(QStringLiteral("#FFFFE0"));
    OpenIndexPage();
    EXPECT_TRUE(lastRewriteFound_);
    EXPECT_EQ(IndexHtml(), pane_->Index().Render());
    EXPECT_TRUE(IndexHtml().contains(QStringLiteral("<a href=\"!3\">Biology</a>")));
    EXPECT_EQ(BodyColour(), QStringLiteral("rgb(255, 255, 224)"));
    EXPECT_DOUBLE_EQ(pane_->EWB()->zoomFactor(), 1.5);
    // The page itself is laid out larger: fewer CSS pixels fit the view.
    const double innerWidth = Eval(QStringLiteral("window.innerWidth")).toDouble();
    EXPECT_NEAR(innerWidth, pane_->EWB()->width() / 1.5, 2.0);
    // On the index page the index button is off and the index options on.
    EXPECT_FALSE(pane_->IndexBtnEnabled());
    EXPECT_TRUE(pane_->IndexOptionsEnabled());
    EXPECT_FALSE(pane_->BackEnabled());
    EXPECT_TRUE(shown_.empty());
}

TEST_F(LessonPane, TextSizeStepsAreClearlyDifferentAndMediumIsNatural)
{
    EXPECT_DOUBLE_EQ(TLessonPane::ZoomFactorForLevel(2), 1.0);
    for (int level = 1; level < TLessonPane::ZoomLevels; ++level)
        EXPECT_GE(TLessonPane::ZoomFactorForLevel(level) / TLessonPane::ZoomFactorForLevel(level - 1), 1.15);
    pane_->SetZoomLevel(9);
    EXPECT_EQ(pane_->ZoomLevel(), 4);
    pane_->SetZoomLevel(-3);
    EXPECT_EQ(pane_->ZoomLevel(), 0);
    EXPECT_DOUBLE_EQ(pane_->EWB()->zoomFactor(), 0.7);
}

TEST_F(LessonPane, HeadingLinkTogglesAndRewritesWithoutLeavingThePage)
{
    OpenIndexPage();
    ClickLink("toggle3");
    ASSERT_TRUE(WaitUntil([&] { return rewrites_ >= 2; }));
    EXPECT_TRUE(pane_->Index().Heading(3).Open);
    EXPECT_TRUE(IndexHtml().contains(QStringLiteral("<div class=\"level1exp\"><span id=\"3\">")));
    EXPECT_TRUE(IndexHtml().contains(QStringLiteral("<div class=\"level2\"><a href=\"YEAST.HTM\">")));
    // A link written into the index by the pane toggles the same way.
    Eval(QStringLiteral("document.querySelector('a[href=\"!3\"]').click(); true"));
    ASSERT_TRUE(WaitUntil([&] { return rewrites_ >= 3; }));
    EXPECT_FALSE(pane_->Index().Heading(3).Open);
    ClickLink("bad");
    Idle(300);
    EXPECT_EQ(rewrites_, 3);
    EXPECT_EQ(FileName(), QStringLiteral("index.html"));
    EXPECT_EQ(loads_, 1);
}

TEST_F(LessonPane, PageFollowsExperimentAndHistoryDrivesTheButtons)
{
    OpenIndexPage();
    MouseClick("ball", Qt::LeftButton);  // ball-data.htm#results
    ASSERT_TRUE(WaitForLoads(2));
    EXPECT_EQ(FileName(), QStringLiteral("ball-data.htm"));
    EXPECT_EQ(shown_, std::vector<ExperimentId>{1});
    EXPECT_TRUE(pane_->IndexBtnEnabled());
    EXPECT_FALSE(pane_->IndexOptionsEnabled());
    EXPECT_TRUE(WaitUntil([&] { return pane_->BackEnabled(); }));
    EXPECT_FALSE(pane_->FwdEnabled());

    pane_->BackBtnClick();
    ASSERT_TRUE(WaitForLoads(3));
    ASSERT_TRUE(WaitUntil([&] { return rewrites_ >= 2; }));
    EXPECT_EQ(FileName(), QStringLiteral("index.html"));
    // Back on the index page, the experiment's heading is open and its main
    // page highlighted.
    EXPECT_TRUE(IndexHtml().contains(QStringLiteral("<div class=\"level2selected\"><a href=\"BALL.HTM\">")));
    EXPECT_TRUE(WaitUntil([&] { return pane_->FwdEnabled(); }));
    EXPECT_EQ(shown_, std::vector<ExperimentId>{1});

    pane_->FwdBtnClick();
    ASSERT_TRUE(WaitForLoads(4));
    EXPECT_EQ(FileName(), QStringLiteral("ball-data.htm"));
    pane_->FwdBtnClick();  // nothing ahead: ignored
    pane_->IndexBtnClick();
    ASSERT_TRUE(WaitForLoads(5));
    EXPECT_EQ(FileName(), QStringLiteral("index.html"));
}

TEST_F(LessonPane, PaleBlueSurvivesTheNextPage)
{
    pane_->SetTextBackground(QStringLiteral("#D9EAFF"));  // no document yet: nothing changes
    EXPECT_EQ(pane_->TextBackground(), QStringLiteral("#FFFFFF"));
    OpenIndexPage();
    pane_->SetTextBackground(QStringLiteral("#D9EAFF"));
    EXPECT_TRUE(WaitUntil([&] { return BodyColour() == QStringLiteral("rgb(217, 234, 255)"); }));
    ClickLink("ball");
    ASSERT_TRUE(WaitForLoads(2));
    EXPECT_TRUE(WaitUntil([&] { return BodyColour() == QStringLiteral("rgb(217, 234, 255)"); }));
    EXPECT_EQ(pane_->TextBackground(), QStringLiteral("#D9EAFF"));
}

TEST_F(LessonPane, PictureLinkOpensTheViewerAndStaysOnThePage)
{
    OpenIndexPage();
    ClickLink("cell");
    ASSERT_TRUE(WaitUntil([&] { return !pictures_.empty(); }));
    EXPECT_EQ(pictures_[0], QDir(Book()).filePath(QStringLiteral("html/images/cell.jpg")));
    EXPECT_EQ(FileName(), QStringLiteral("index.html"));
    EXPECT_EQ(loads_, 1);
}

// Local files outside the lesson book are never shown: not from a link, not
// from an address, not from a frame; the page being read stays.
TEST_F(LessonPane, LocalFilesOutsideTheBookAreRefusedWithAMessage)
{
    OpenIndexPage();
    const auto refused = [](const char* file) { return str::sLocalFileRefused().arg(QLatin1String(file)); };
    Eval(
        QStringLiteral("var a = document.createElement('a'); a.id = 'passwd'; a.href = 'file:///etc/passwd';"
                       "document.body.appendChild(a); true"));
    ClickLink("passwd");
    ASSERT_TRUE(WaitUntil([&] { return !errors_.empty(); }));
    EXPECT_EQ(errors_, std::vector<QString>{refused("/etc/passwd")});
    errors_.clear();

    pane_->EWB()->load(QUrl(QStringLiteral("file:///etc/hostname")));
    ASSERT_TRUE(WaitUntil([&] { return !errors_.empty(); }));
    EXPECT_EQ(errors_, std::vector<QString>{refused("/etc/hostname")});
    errors_.clear();

    Eval(
        QStringLiteral("var f = document.createElement('iframe'); f.src = 'file:///etc/group';"
                       "document.body.appendChild(f); true"));
    ASSERT_TRUE(WaitUntil([&] { return !errors_.empty(); }));
    EXPECT_EQ(errors_, std::vector<QString>{refused("/etc/group")});
    errors_.clear();

    // The same door again on the same page: refused, and not said again (a
    // script could knock on it as fast as the pupil closes the box).
    ClickLink("passwd");
    Idle(300);
    EXPECT_TRUE(errors_.empty());
    EXPECT_EQ(FileName(), QStringLiteral("index.html"));
    EXPECT_EQ(loads_, 1);
}

// What a page loads besides itself stays inside the book as well.
TEST_F(LessonPane, PagesLoadNothingFromOutsideTheBook)
{
    QTemporaryDir outside;
    const QString copy = outside.filePath(QStringLiteral("cell.jpg"));
    ASSERT_TRUE(QFile::copy(QDir(Book()).filePath(QStringLiteral("html/images/cell.jpg")), copy));
    OpenIndexPage();
    const auto pictureWidth = [this](const QString& source) {
        Eval(QStringLiteral("window.probe = new Image(); window.probe.src = %1; true")
                 .arg(JsStringLiteral(QUrl::fromLocalFile(source).toString())));
        WaitUntil([this] { return Eval(QStringLiteral("window.probe.complete")).toBool(); }, 5000);
        return Eval(QStringLiteral("window.probe.naturalWidth")).toInt();
    };
    EXPECT_GT(pictureWidth(QDir(Book()).filePath(QStringLiteral("html/images/cell.jpg"))), 0);
    EXPECT_EQ(pictureWidth(copy), 0);
    EXPECT_TRUE(errors_.empty()) << "a picture is refused silently";
}

// The page's script callbacks still pending when the pane goes must find it
// whole and leave it alone: none may reach it while it is being destroyed.
TEST_F(LessonPane, CallbacksPendingAtTeardownNeverReachThePane)
{
    OpenIndexPage();
    int late = 0;
    QObject::connect(pane_.get(), &TLessonPane::IndexRewritten, [&late](bool) { ++late; });
    const int before = rewrites_;
    for (int i = 0; i < 5; ++i)
        pane_->RewriteIndex();
    pane_.reset();
    Idle(200);
    EXPECT_EQ(late, 0);
    EXPECT_EQ(rewrites_, before);
}

TEST_F(LessonPane, NewWindowLinksOpenInThisPane)
{
    OpenIndexPage();
    const qsizetype windows = QApplication::topLevelWidgets().size();
    ClickLink("blank");  // target="_blank"
    ASSERT_TRUE(WaitUntil([&] { return FileName() == QStringLiteral("general.htm"); }));
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
}

TEST_F(LessonPane, CopyTopicTextPutsThePageTextOnTheClipboard)
{
    OpenIndexPage();
    QGuiApplication::clipboard()->clear();
    // The menu command is chosen in the active main window; the pane's own
    // view need not have the focus.
    pane_->activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return pane_->isActiveWindow(); }, 3000));
    pane_->setFocus();
    pane_->CopyTopicText();
    ASSERT_TRUE(WaitUntil(
        [] { return QGuiApplication::clipboard()->text().contains(QStringLiteral("Lesson book")); }));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().contains(QStringLiteral("Physics")));
    // The selection is cleared again.
    EXPECT_TRUE(WaitUntil(
        [&] { return Eval(QStringLiteral("window.getSelection().toString()")).toString().isEmpty(); }));
}

TEST_F(LessonPane, PictureMenuOffersCopyOnlyForAnExistingFile)
{
    OpenIndexPage();
    const QString cell = QDir(Book()).filePath(QStringLiteral("html/images/cell.jpg"));
    EXPECT_FALSE(pane_->PictureContextMenu(
        QUrl::fromLocalFile(Book() + QStringLiteral("/html/images/none.png")), QPoint(10, 10)));
    EXPECT_TRUE(pane_->PicturePath().isEmpty());
    EXPECT_FALSE(pane_->PicPopUp()->isVisible());

    ASSERT_TRUE(pane_->PictureContextMenu(QUrl::fromLocalFile(cell), QPoint(10, 10)));
    EXPECT_TRUE(pane_->PicPopUp()->isVisible());
    EXPECT_EQ(pane_->CopyImage1()->text(), QStringLiteral("Copy picture to clipboard"));
    pane_->PicPopUp()->hide();
    QGuiApplication::clipboard()->clear();
    pane_->CopyImage1()->trigger();
    ASSERT_TRUE(WaitUntil([] { return !QGuiApplication::clipboard()->image().isNull(); }));
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(320, 240));
}

TEST_F(LessonPane, RightClickOnAPictureInThePageOpensThePictureMenu)
{
    pane_->EWB()->load(QUrl::fromLocalFile(Book() + QStringLiteral("/html/general.htm")));
    ASSERT_TRUE(WaitForLoads(1));
    MouseClick("pic", Qt::RightButton);
    ASSERT_TRUE(WaitUntil([&] { return pane_->PicPopUp()->isVisible(); }));
    EXPECT_EQ(pane_->PicturePath(), QDir(Book()).filePath(QStringLiteral("html/images/cell.jpg")));
    pane_->PicPopUp()->hide();
}

// The open text menu, if any: a menu window of the engine's own.
QMenu* OpenMenu()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* menu = qobject_cast<QMenu*>(w); menu && menu->isVisible())
            return menu;
    return nullptr;
}

TEST_F(LessonPane, OnlySelectedTextAndPicturesHaveAMenuAndNoKeyOpensAWindow)
{
    pane_->EWB()->load(QUrl::fromLocalFile(Book() + QStringLiteral("/html/general.htm")));
    ASSERT_TRUE(WaitForLoads(1));

    // Plain text, nothing selected: no menu at all.
    MouseClick("first", Qt::RightButton);
    Idle(500);
    EXPECT_EQ(OpenMenu(), nullptr);
    EXPECT_FALSE(pane_->PicPopUp()->isVisible());

    // Selected text: the engine's own menu, with its Copy.
    Eval(QStringLiteral("window.getSelection().selectAllChildren(document.getElementById('first')); true"));
    MouseClick("first", Qt::RightButton);
    ASSERT_TRUE(WaitUntil([] { return OpenMenu() != nullptr; }, 5000));
    EXPECT_TRUE(OpenMenu()->actions().contains(pane_->EWB()->pageAction(QWebEnginePage::Copy)));
    OpenMenu()->close();
    EXPECT_FALSE(pane_->PicPopUp()->isVisible());

    // The browser's new-window key opens nothing.
    const auto shownWindows = [] {
        const QWidgetList all = QApplication::topLevelWidgets();
        return std::count_if(all.begin(), all.end(), [](QWidget* w) { return w->isVisible(); });
    };
    const auto windows = shownWindows();
    QWidget* target = pane_->EWB()->focusProxy();
    ASSERT_NE(target, nullptr);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_N, Qt::ControlModifier, QStringLiteral("n"));
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_N, Qt::ControlModifier, QStringLiteral("n"));
    QCoreApplication::sendEvent(target, &release);
    Idle(500);
    EXPECT_EQ(shownWindows(), windows);
    EXPECT_EQ(FileName(), QStringLiteral("general.htm"));
}

TEST_F(LessonPane, PrintedTopicHasHeaderAndFooterOnEveryPage)
{
    pane_->EWB()->load(QUrl::fromLocalFile(Book() + QStringLiteral("/html/general.htm")));
    ASSERT_TRUE(WaitForLoads(1));
    QByteArray pdf;
    bool rendered = false;
    QObject::connect(pane_.get(), &TLessonPane::TopicRendered, [&](const QByteArray& bytes) {
        pdf = bytes;
        rendered = true;
    });
    // The preview dialog opens after rendering; close it as soon as it shows.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    closer.start(50);
    pane_->PrintTopic();
    ASSERT_TRUE(WaitUntil([&] { return rendered; }, 30000));
    ASSERT_FALSE(pdf.isEmpty());
    Idle(300);  // let the preview open and close
    closer.stop();

    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("topic.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(out);
    printer.setPageLayout(TLessonPane::TopicPageLayout(printer.pageLayout()));
    printer.setFullPage(true);
    const TTopicPrintInfo info{QStringLiteral("Looking at cells"), QStringLiteral("/book/html/general.htm"),
                               QStringLiteral("10/12/2025")};
    const int pages = PaintTopicPages(printer, pdf, info);
    ASSERT_GE(pages, 2);

    QPdfDocument printed;
    ASSERT_EQ(printed.load(out), QPdfDocument::Error::None);
    ASSERT_EQ(printed.pageCount(), pages);
    for (int p = 0; p < pages; ++p) {
        const QString text = printed.getAllText(p).text();
        EXPECT_TRUE(text.contains(QStringLiteral("Looking at cells"))) << p;
        EXPECT_TRUE(text.contains(QStringLiteral("Page %1 of %2").arg(p + 1).arg(pages))) << p;
        EXPECT_TRUE(text.contains(QStringLiteral("/book/html/general.htm"))) << p;
        EXPECT_TRUE(text.contains(QStringLiteral("10/12/2025"))) << p;
    }
    // Portrait paper with the page's own picture on it.
    const QSizeF paper = printed.pagePointSize(0);
    EXPECT_GT(paper.height(), paper.width());
    QImage first((paper * 1.5).toSize(), QImage::Format_RGB32);
    first.fill(Qt::white);
    QPainter(&first).drawImage(0, 0, printed.render(0, first.size()));
    test::SavePicture(first, QStringLiteral("lesson-printed-topic-page1"));
    // Nothing but white between the header and the page's first line.
    const int headerGap = int(first.height() * 0.06);
    for (int x = 0; x < first.width(); x += 3)
        EXPECT_EQ(first.pixel(x, headerGap), qRgb(255, 255, 255)) << x;
    // The margins are blank paper: no frame lines down the sides.
    for (int y = first.height() / 4; y < first.height() * 3 / 4; y += 5)
        for (int x = 0; x < int(first.width() * 0.10); ++x)
            ASSERT_EQ(first.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
    EXPECT_EQ(PaintTopicPages(printer, QByteArray("not a pdf"), info), 0);
}

TEST_F(LessonPane, NothingToPrintWithoutADocument)
{
    bool rendered = false;
    QObject::connect(pane_.get(), &TLessonPane::TopicRendered, [&](const QByteArray&) { rendered = true; });
    pane_->PrintTopic();
    Idle(300);
    EXPECT_FALSE(rendered);
}

}  // namespace
}  // namespace brv
