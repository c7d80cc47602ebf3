// Lesson pictures read whole or not at all: a JPEG, GIF or PNG cut short is
// refused with the message that names it, as a "$" picture and as the
// start-up picture, never shown as the part that survived.
#include "runtime/BRV_StrConstants.h"
#include "shell/FrameTestSupport.h"
#include "shell/uFrame.h"
#include "shell/uLessonPane.h"
#include "shell/uPictureFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QUrl>

#include <gtest/gtest.h>

#include <vector>

namespace brv {
namespace {

using namespace frametest;

QByteArray Encoded(const char* format)
{
    QImage picture = SplashPicture(320, 240);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return bytes;
}

// A 1 × 1 GIF as image editors write it; Qt cannot write GIFs.
QByteArray Gif()
{
    return QByteArray::fromHex(
        "47494638396101000100800000ffffff00000021f90401000000002c000000000100010000020244"
        "01003b");
}

TEST(PictureFile, OnlyWholePicturesAreRead)
{
    const QByteArray jpeg = Encoded("JPG");
    const QByteArray png = Encoded("PNG");
    const QByteArray gif = Gif();
    const struct {
        const char* name;
        QByteArray bytes;
        bool whole;
    } cases[] = {
        {"whole.jpg", jpeg, true},
        {"padded.jpg", jpeg + QByteArray(64, '\0'), true},
        {"half.jpg", jpeg.left(jpeg.size() / 2), false},
        {"no-end-marker.jpg", jpeg.left(jpeg.size() - 2), false},
        {"whole.png", png, true},
        {"half.png", png.left(png.size() / 2), false},
        {"whole.gif", gif, true},
        {"no-trailer.gif", gif.left(gif.size() - 1), false},
        {"half.gif", gif.left(gif.size() / 2), false},
        {"not-a-picture.jpg", QByteArray("just text"), false},
    };
    TProgramFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = folder.Add(QLatin1String(c.name), c.bytes);
        EXPECT_EQ(!ReadWholePicture(file).isNull(), c.whole);
    }
}

TEST(PictureFile, ACutPictureLinkIsReportedNotShown)
{
    TProgramFolder folder;
    const QByteArray jpeg = Encoded("JPG");
    const QString file = folder.Add(QStringLiteral("html/images/cut.jpg"), jpeg.left(jpeg.size() / 2));
    std::vector<QString> errors;
    std::vector<QString> pictures;
    TLessonPaneHost host;
    host.currentExperiment = [] { return ExperimentId(0); };
    host.showExperiment = [](ExperimentId) {};
    host.openPicture = [&pictures](const QString& f) { pictures.push_back(f); };
    host.showError = [&errors](const QString& m) { errors.push_back(m); };
    TLessonPane pane(host, folder.Path());
    EXPECT_FALSE(pane.RouteNavigation(
        QUrl::fromLocalFile(QDir(folder.Path()).filePath(QStringLiteral("html/$cut.jpg")))));
    QCoreApplication::processEvents();
    EXPECT_TRUE(pictures.empty());
    EXPECT_EQ(errors, std::vector<QString>{str::sPictureUnreadable().arg(QDir::toNativeSeparators(file))});
}

TEST(PictureFile, ADamagedStartUpPictureIsReported)
{
    const QByteArray png = Encoded("PNG");
    TProgramFolder folder;
    const QString file = folder.Add(QStringLiteral("HTML/Images/Splash.png"), png.left(png.size() / 3));
    ClearSettings();
    std::vector<QString> errors;
    TFrameFrm frame(folder.Path());
    frame.ShowError = [&errors](const QString& m) { errors.push_back(m); };
    frame.ConfirmClose = [](QWidget*) { return true; };
    Pump(100);
    EXPECT_EQ(errors, std::vector<QString>{str::sSplashUnreadable().arg(QDir::toNativeSeparators(file))});
    ClearSettings();
}

}  // namespace
}  // namespace brv
