// The picture the experiment pane shows until the first experiment: the
// lesson book's "HTML\Images\Splash.png", centred in the pane, scaled down
// with a windowed-sinc (Lanczos) filter when the pane is narrower than it.
#pragma once

#include "runtime/Bitmap32.h"

#include <QWidget>

class QFrame;

namespace brv {

class TSplashPicture : public QWidget {
public:
    // The splash of the lesson book in programFolder, made in pane and
    // refitted whenever the pane is resized; null when the file is missing
    // or cannot be read.
    static TSplashPicture* Create(const QString& programFolder, QFrame* pane);

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
