// The picture the experiment pane shows until the first experiment: the
// lesson book's "HTML\Images\Splash.png", centred in the pane, scaled down
// with a windowed-sinc (Lanczos) filter when the pane is narrower than it.
#pragma once

#include "runtime/Bitmap32.h"

#include <QWidget>

#include <functional>

class QFrame;

namespace brv {

class TSplashPicture : public QWidget {
public:
    // The splash of the lesson book in programFolder, made in pane and
    // refitted whenever the pane is resized; null when the file is missing
    // or cannot be read.  A file that is there but cannot be shown is named
    // to reportError.
    static TSplashPicture* Create(const QString& programFolder, QFrame* pane,
                                  const std::function<void(const QString&)>& reportError = {});

    explicit TSplashPicture(QFrame* pane);

    bool Load(const QString& path);
    const TBitmap32& Bitmap() const { return bitmap_; }
    void SetStretched(bool stretched);
    bool Stretched() const { return stretched_; }

    // Centres the picture in the pane: at its natural size when it fits, else
    // 10 pixels narrower than the pane with its aspect ratio kept.
    void SplashFit();

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QFrame* pane_;
    TBitmap32 bitmap_;
    TBitmap32 scaled_;
    bool stretched_ = false;
};

}  // namespace brv
