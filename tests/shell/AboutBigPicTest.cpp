// The About box (splash framing, version, link) and the picture viewer (size
// rule, closing click, copying).
#include "runtime/Image32.h"
#include "shell/BigPic.h"
#include "shell/uAbout.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace brv {
namespace {

QString Book()
{
    return QDir(test::DataPath(QStringLiteral("lesson"))).absolutePath();
}

// A picture whose every pixel tells where it is, so a scaled or shifted copy
// cannot pass for it.
QImage Pattern(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, (x / 16 + y / 16) % 2 ? 200 : 40));
    return image;
}

void Click(QWidget* target, Qt::MouseButton button)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), button,
                      button, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), button,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}

class PictureViewer : public ::testing::TestWithParam<const char*> {};

TEST_P(PictureViewer, ClientAreaIsExactlyThePictureSize)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("picture.") + QLatin1String(GetParam()));
    ASSERT_TRUE(Pattern(640, 480).save(file));
    TBigPicFrm viewer;
    viewer.Show(file);
    EXPECT_EQ(viewer.size(), QSize(640, 480));
    EXPECT_EQ(viewer.MagPic()->geometry(), QRect(0, 0, 640, 480));
    EXPECT_EQ(viewer.Picture().size(), QSize(640, 480));
}

INSTANTIATE_TEST_SUITE_P(Formats, PictureViewer, ::testing::Values("png", "jpg"));

TEST(PictureViewerFile, MissingOrUnreadableFileKeepsTheDesignedSizeEmpty)
{
    QTemporaryDir dir;
    const QString garbage = dir.filePath(QStringLiteral("broken.png"));
    QFile f(garbage);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\x89PNG not really");
    f.close();
    for (const QString& file : {dir.filePath(QStringLiteral("missing.jpg")), garbage, QString()}) {
        TBigPicFrm viewer;
        viewer.Show(file);
        EXPECT_EQ(viewer.size(), QSize(TBigPicFrm::DesignedWidth, TBigPicFrm::DesignedHeight));
        EXPECT_TRUE(viewer.Picture().isNull());
        viewer.CopyPic1Click();  // nothing to copy: harmless
    }
}

TEST(PictureViewerFile, LeftClickClosesRightClickOffersCopy)
{
    const QString cell = QDir(Book()).filePath(QStringLiteral("html/images/cell.jpg"));
    TBigPicFrm viewer;
    viewer.Show(cell);
    EXPECT_EQ(viewer.size(), QSize(320, 240));
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral(" "));
    viewer.show();

    Click(viewer.MagPic(), Qt::RightButton);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                                viewer.MagPic()->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(viewer.MagPic(), &menuEvent);
    EXPECT_TRUE(viewer.TBXPopupMenu1()->isVisible());
    EXPECT_EQ(viewer.CopyPic1()->text(), QStringLiteral("Copy picture"));
    EXPECT_TRUE(viewer.isVisible());
    viewer.TBXPopupMenu1()->hide();

    QGuiApplication::clipboard()->clear();
    viewer.CopyPic1()->trigger();
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32),
              viewer.Picture().convertToFormat(QImage::Format_RGB32));

    Click(viewer.MagPic(), Qt::LeftButton);
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_EQ(viewer.result(), QDialog::Accepted);
}

TEST(AboutBox, SplashGetsAWhiteMarginAndAGreyBottomLine)
{
    TAboutFrm about(Book());
    EXPECT_EQ(about.size(), QSize(TAboutFrm::ClientWidth, TAboutFrm::ClientHeight));
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    TBitmap32& bitmap = about.Pic()->Bitmap();
    const QImage original(QDir(Book()).filePath(QStringLiteral("html/images/Splash.png")));
    ASSERT_EQ(bitmap.Width(), original.width());
    ASSERT_EQ(bitmap.Height(), original.height());
    EXPECT_EQ(about.Pic()->size(), original.size());
    const int w = bitmap.Width(), h = bitmap.Height();
    for (const QPoint p : {QPoint(0, 0), QPoint(9, h / 2), QPoint(w / 2, 9), QPoint(w - 10, h / 2),
                           QPoint(w - 1, 0), QPoint(w / 2, h - 10), QPoint(w / 2, h - 2)})
        EXPECT_EQ(bitmap.Pixel(p.x(), p.y()), 0xFFFFFFFFu) << p.x() << "," << p.y();
    for (int x : {0, w / 2, w - 1})
        EXPECT_EQ(bitmap.Pixel(x, h - 1), 0xFF7F7F7Fu) << x;
    for (const QPoint p : {QPoint(10, 10), QPoint(w / 3, h / 2), QPoint(w - 11, h - 11)})
        EXPECT_EQ(bitmap.Pixel(p.x(), p.y()), original.pixel(p) | 0xFF000000u) << p.x() << "," << p.y();

    EXPECT_EQ(about.VersionLabel()->text(), QStringLiteral("version " BRV_VERSION));
    // Four numbers, as a program's file version reads.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^version \\d+\\.\\d+\\.\\d+\\.\\d+$"))
                    .match(about.VersionLabel()->text())
                    .hasMatch())
        << about.VersionLabel()->text().toStdString();
    EXPECT_EQ(about.SpeedButton1()->text(), QStringLiteral("OK"));
    EXPECT_FALSE(about.Label4()->text().isEmpty());
    test::SavePicture(about.grab().toImage(), QStringLiteral("about-box"));
}

TEST(AboutBox, WithoutSplashThePictureAreaIsEmptyButTheVersionIsRight)
{
    QTemporaryDir emptyFolder;
    TAboutFrm about(emptyFolder.path());
    EXPECT_TRUE(about.Pic()->Bitmap().Empty());
    EXPECT_EQ(about.VersionLabel()->text(), QStringLiteral("version " BRV_VERSION));
}

// Receives the addresses QDesktopServices would have given the browser.
class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

TEST(AboutBox, WebAddressOpensInTheDefaultBrowserAndOkCloses)
{
    TUrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    TAboutFrm about(Book());
    about.show();
    Click(about.Label1(), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0].host(), QStringLiteral("www.karvelle.example"));
    EXPECT_TRUE(about.Label1()->font().underline());
    EXPECT_EQ(about.Label1()->cursor().shape(), Qt::PointingHandCursor);

    about.SpeedButton1()->click();
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace brv

#include "AboutBigPicTest.moc"
