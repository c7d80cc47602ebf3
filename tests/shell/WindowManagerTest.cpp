// The main window under a real window manager, whose title bar and borders
// go round it: they land on the screen's work area too, below a panel at the
// top of the screen.  Runs on a display of its own with openbox (the
// "shell.UnderWindowManager" test entry, through scripts/with-virtual-display
// --window-manager); elsewhere these tests are skipped.
//
// Qt's own geometry answers with what the window asked for; the X server's
// (read with xwininfo and xprop) is where the window manager put it.
#include "shell/FrameTestSupport.h"
#include "shell/uFrame.h"
#include "shell/uSettings.h"
#include "shell/uThemes.h"
#include "support/TestSupport.h"

#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <sstream>
#include <string>

namespace brv {
namespace {

using namespace frametest;

constexpr int kPanelHeight = 40;

std::string Text(const QRect& r)
{
    std::ostringstream text;
    text << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    return text.str();
}

QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(5000) || process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QString WindowId(const QWidget& w)
{
    return QStringLiteral("0x") + QString::number(w.winId(), 16);
}

// Where the X server has the window's client area.
std::optional<QRect> ServerClientBounds(const QWidget& w)
{
    const QString info = Run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), WindowId(w)});
    const auto number = [&info](const char* label) -> std::optional<int> {
        const QRegularExpressionMatch m =
            QRegularExpression(QLatin1String(label) + QStringLiteral(":\\s+(-?\\d+)")).match(info);
        return m.hasMatch() ? std::optional<int>(m.captured(1).toInt()) : std::nullopt;
    };
    const auto x = number("Absolute upper-left X");
    const auto y = number("Absolute upper-left Y");
    const auto width = number("Width");
    const auto height = number("Height");
    if (!x || !y || !width || !height)
        return std::nullopt;
    return QRect(*x, *y, *width, *height);
}

// The thickness of the frame the window manager put round the window.
std::optional<QMargins> ServerFrame(const QWidget& w)
{
    const QString extents = Run(QStringLiteral("xprop"),
                                {QStringLiteral("-id"), WindowId(w), QStringLiteral("_NET_FRAME_EXTENTS")});
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)")).match(extents);
    if (!m.hasMatch())
        return std::nullopt;
    // Left, right, top, bottom.
    return QMargins(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(2).toInt(),
                    m.captured(4).toInt());
}

bool SetProperty(const QWidget& w, const QString& name, const QString& format, const QString& value)
{
    QProcess process;
    process.start(QStringLiteral("xprop"), {QStringLiteral("-id"), WindowId(w), QStringLiteral("-f"), name,
                                            format, QStringLiteral("-set"), name, value});
    return process.waitForFinished(5000) && process.exitCode() == 0;
}

class UnderWindowManager : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!qEnvironmentVariableIsSet("BRV_EXPECT_WINDOW_MANAGER"))
            GTEST_SKIP()
                << "needs a window manager: run through scripts/with-virtual-display --window-manager";
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
        ClearSettings();
        ApplyTheme(DefaultThemeName());
        ShowPanel();
    }

    void TearDown() override
    {
        frame.reset();
        panel.reset();
        FlushDeferredDeletes();
        ClearSettings();
    }

    // A panel along the top of the screen, as a desktop has, which the
    // window manager keeps out of the work area.
    void ShowPanel()
    {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        panel = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
        panel->setGeometry(screen.left(), screen.top(), screen.width(), kPanelHeight);
        ASSERT_TRUE(SetProperty(*panel, QStringLiteral("_NET_WM_WINDOW_TYPE"), QStringLiteral("32a"),
                                QStringLiteral("_NET_WM_WINDOW_TYPE_DOCK")));
        const QString strut = QStringLiteral("0,0,%1,0,0,0,0,0,0,%2,0,0")
                                  .arg(kPanelHeight)
                                  .arg(screen.left() + screen.width() - 1);
        ASSERT_TRUE(
            SetProperty(*panel, QStringLiteral("_NET_WM_STRUT_PARTIAL"), QStringLiteral("32c"), strut));
        ShowAndWait(panel.get());
        ASSERT_TRUE(WaitFor([] { return WorkArea().top() == kPanelHeight; }))
            << "the work area never left room for the panel: " << Text(WorkArea());
    }

    static QRect WorkArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    TFrameFrm& Start()
    {
        frame = std::make_unique<TFrameFrm>(folder.Path());
        frame->ConfirmClose = [](QWidget*) { return true; };
        ShowAndWait(frame.get());
        return *frame;
    }

    // Waits until the window manager has framed the window and the X server
    // has its outer bounds at outer; false if that never happens.
    bool ServerHasTheFrameAt(const TFrameFrm& f, const QRect& outer)
    {
        return WaitFor(
            [&] {
                const std::optional<QRect> client = ServerClientBounds(f);
                const std::optional<QMargins> margins = ServerFrame(f);
                return client && margins && client->marginsAdded(*margins) == outer;
            },
            15000);
    }

    std::string ServerText(const TFrameFrm& f) const
    {
        const std::optional<QRect> client = ServerClientBounds(f);
        const std::optional<QMargins> margins = ServerFrame(f);
        if (!client || !margins)
            return "the server has no frame for the window";
        return "the server has the client at " + Text(*client) + ", the frame at " +
               Text(client->marginsAdded(*margins));
    }

    // The whole window, title bar and borders included, fills the work area,
    // as the X server and Qt both see it.
    void ExpectTheWindowToFillTheWorkArea(const TFrameFrm& f)
    {
        ASSERT_TRUE(ServerHasTheFrameAt(f, WorkArea()))
            << ServerText(f) << "; the work area is " << Text(WorkArea());
        const QRect outer = f.frameGeometry();
        const QRect client = f.geometry();
        EXPECT_TRUE(WorkArea().contains(outer)) << Text(outer) << " on " << Text(WorkArea());
        EXPECT_EQ(Text(outer), Text(WorkArea()));
        EXPECT_GT(outer.height(), client.height()) << "no title bar above " << Text(client);
        EXPECT_GE(outer.top(), WorkArea().top());
        EXPECT_EQ(Text(client), Text(ServerClientBounds(f).value_or(QRect())));
        EXPECT_EQ(f.LeftPaneWidth(), client.width() / 2);
    }

    TProgramFolder folder;
    std::unique_ptr<QWidget> panel;
    std::unique_ptr<TFrameFrm> frame;
};

TEST_F(UnderWindowManager, FirstStartPutsTheWholeWindowOnTheWorkArea)
{
    TFrameFrm& f = Start();
    ExpectTheWindowToFillTheWorkArea(f);
    // The whole screen: the panel, the manager's title bar, the window.
    test::SavePicture(f.screen()->grabWindow(0).toImage(), QStringLiteral("frame-under-window-manager"));
}

// Bounds larger than the screen (saved on a large desk display) are fitted
// as the first start's: the whole window on the work area.
TEST_F(UnderWindowManager, OversizedSavedBoundsFillTheWorkAreaFrameAndAll)
{
    PutSetting(QStringLiteral("position"), EncodePosition(QRect(QPoint(0, 0), QSize(65536, 65536))));
    ExpectTheWindowToFillTheWorkArea(Start());
}

// Saved bounds whose title bar would go under the panel come down just far
// enough to show it; bounds clear of every edge are kept to the pixel.
TEST_F(UnderWindowManager, SavedBoundsKeepTheirTitleBarOnTheWorkArea)
{
    struct TCase {
        const char* what;
        QRect saved;
        bool keptExactly;
    };
    const TCase cases[] = {
        {"client at the work area's top", QRect(300, kPanelHeight, 900, 600), false},
        {"client at the screen's top", QRect(300, 0, 900, 600), false},
        {"clear of every edge", QRect(300, 200, 900, 600), true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        PutSetting(QStringLiteral("position"), EncodePosition(c.saved));
        TFrameFrm& f = Start();
        ASSERT_TRUE(WaitFor([&f] { return ServerFrame(f).has_value(); }, 15000)) << "never framed";
        const QMargins margins = *ServerFrame(f);
        ASSERT_GT(margins.top(), margins.bottom()) << "a title bar";
        const QRect expected =
            c.keptExactly ? c.saved : c.saved.translated(0, WorkArea().top() + margins.top() - c.saved.top());
        EXPECT_TRUE(ServerHasTheFrameAt(f, expected.marginsAdded(margins))) << ServerText(f);
        EXPECT_EQ(Text(f.geometry()), Text(expected));
        EXPECT_TRUE(WorkArea().contains(f.frameGeometry())) << Text(f.frameGeometry());
        frame.reset();
        FlushDeferredDeletes();
        ClearSettings();
    }
}

}  // namespace
}  // namespace brv
