// The splash picture on an experiment pane of its own: made only from a
// picture that can be read, and fitted again whenever the pane is resized.
#include "shell/uSplash.h"

#include "shell/FrameTestSupport.h"

#include <QFrame>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace brv {
namespace {

using namespace frametest;

const QString kSplashPath = QStringLiteral("HTML/Images/Splash.png");

std::unique_ptr<QFrame> Pane(int width, int height)
{
    auto pane = std::make_unique<QFrame>();
    pane->setFrameShape(QFrame::Box);
    pane->setLineWidth(1);
    pane->resize(width, height);
    return pane;
}

TEST(Splash, NoPictureWithoutAReadableFile)
{
    TProgramFolder folder;
    auto pane = Pane(300, 200);
    EXPECT_EQ(TSplashPicture::Create(folder.Path(), pane.get()), nullptr);

    folder.Add(kSplashPath, "not a picture");
    EXPECT_EQ(TSplashPicture::Create(folder.Path(), pane.get()), nullptr);
    EXPECT_EQ(pane->findChild<QWidget*>(), nullptr)
        << "a picture that could not be read was left in the pane";
}

TEST(Splash, FollowsThePaneAsItIsResized)
{
    TProgramFolder folder;
    folder.AddImage(kSplashPath, SplashPicture(400, 100));
    auto pane = Pane(300, 200);
    TSplashPicture* splash = TSplashPicture::Create(folder.Path(), pane.get());
    ASSERT_NE(splash, nullptr);
    ShowAndWait(pane.get());
    splash->SplashFit();
    QRect inside = pane->contentsRect();
    EXPECT_TRUE(splash->Stretched());
    const int w = inside.width() - 10;
    EXPECT_EQ(splash->size(), QSize(w, int(std::nearbyint(100.0 * w / 400))));

    // It is centred by the size it had, then takes its own size again.
    const QSize before = splash->size();
    pane->resize(600, 300);
    inside = pane->contentsRect();
    EXPECT_FALSE(splash->Stretched()) << "a pane wide enough shows the picture at its own size";
    EXPECT_EQ(splash->geometry(), QRect(inside.left() + (inside.width() - before.width()) / 2,
                                        inside.top() + (inside.height() - before.height()) / 2, 400, 100));

    pane->resize(200, 300);
    EXPECT_TRUE(splash->Stretched());
    EXPECT_EQ(splash->width(), pane->contentsRect().width() - 10);
}

}  // namespace
}  // namespace brv
