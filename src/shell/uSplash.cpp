#include "shell/uSplash.h"

#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/ProgramFolder.h"
#include "shell/uPictureFile.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QPainter>

namespace brv {

namespace {

const QString kSplashFile = QStringLiteral("HTML\\Images\\Splash.png");

}  // namespace

TSplashPicture* TSplashPicture::Create(const QString& programFolder, QFrame* pane,
                                       const std::function<void(const QString&)>& reportError)
{
    const QString path = ResolveInFolder(programFolder, kSplashFile);
    if (!QFileInfo(path).isFile())
        return nullptr;
    auto* splash = new TSplashPicture(pane);
    if (ReadWholePicture(path).isNull() || !splash->Load(path)) {
        delete splash;
        if (reportError)
            reportError(str::sSplashUnreadable().arg(QDir::toNativeSeparators(path)));
        return nullptr;
    }
    pane->installEventFilter(splash);
    return splash;
}

TSplashPicture::TSplashPicture(QFrame* pane) : QWidget(pane), pane_(pane)
{
    setObjectName(QStringLiteral("Splash"));
    bitmap_.Resampler = TResampler::Lanczos;
}

bool TSplashPicture::Load(const QString& path)
{
    if (!bitmap_.LoadFromFile(path))
        return false;
    resize(bitmap_.Width(), bitmap_.Height());
    return true;
}

void TSplashPicture::SetStretched(bool stretched)
{
    stretched_ = stretched;
    update();
}

void TSplashPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!stretched_) {
        painter.drawImage(0, 0, bitmap_.Image());
        return;
    }
    if (scaled_.Width() != width() || scaled_.Height() != height()) {
        scaled_.SetSize(width(), height(), true);
        bitmap_.StretchTo(scaled_, scaled_.BoundsRect());
    }
    painter.drawImage(0, 0, scaled_.Image());
}

bool TSplashPicture::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == pane_ && event->type() == QEvent::Resize)
        SplashFit();
    return QWidget::eventFilter(watched, event);
}

void TSplashPicture::SplashFit()
{
    if (bitmap_.Empty())
        return;
    const QRect pane = pane_->contentsRect();
    const int bitmapWidth = bitmap_.Width();
    const int bitmapHeight = bitmap_.Height();
    if (bitmapWidth > pane.width()) {
        const int w = pane.width() - 10;
        const int h = Round(double(bitmapHeight) * w / bitmapWidth);
        setGeometry(pane.left() + (pane.width() - w) / 2, pane.top() + (pane.height() - h) / 2, w, h);
        SetStretched(true);
    } else {
        move(pane.left() + (pane.width() - width()) / 2, pane.top() + (pane.height() - height()) / 2);
        resize(bitmapWidth, bitmapHeight);
        SetStretched(false);
    }
    show();
    pane_->update();
}

}  // namespace brv
