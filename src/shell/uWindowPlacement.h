// Where the main window goes on the desktop: on first start it covers the
// work area (or is maximised when no screen tells its work area), saved
// bounds are used as they are; once the window manager has framed the
// window, its outer bounds, title bar included, are put on the work area.
#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>

#include <functional>

class QTimer;
class QWidget;

namespace brv {

// The client bounds that give a window of frame thickness outer bounds equal
// to workArea.
QRect ClientBoundsForFrame(const QRect& workArea, const QMargins& frame);
// The client bounds nearest to client whose outer bounds (frame included) lie
// on workArea: moved onto it, and shrunk to it where they are larger.
QRect ClientBoundsKeepingFrameOn(const QRect& workArea, const QRect& client, const QMargins& frame);

class TWindowPlacement : public QObject {
    Q_OBJECT
public:
    // widthChanged is told the window's new width when fitting its frame
    // onto the work area changed it.
    TWindowPlacement(QWidget& window, std::function<void(int width)> widthChanged);

    // First start: the window's bounds become the work area.
    void PlaceOnWorkArea();
    // Saved bounds.
    void PlaceAt(const QRect& bounds);
    // When the window is first shown: maximised if no work area was known.
    void MaximiseIfAsked();
    // When the window is first shown: its frame goes on the work area as soon
    // as the window manager tells how thick it is.
    void FitFrameOnceFramed();

private:
    void fitFrameToWorkArea();

    QWidget& window_;
    std::function<void(int width)> widthChanged_;
    bool maximiseOnShow_ = false;
    // The window manager tells how thick its frame is only once it has framed
    // the window, and sends nothing the window would see when it does: until
    // then the frame is asked for now and again.  By default the frame fills
    // the work area; saved bounds keep theirs on it.
    enum class TFrameFit { None, FillWorkArea, KeepOnWorkArea };
    TFrameFit frameFit_ = TFrameFit::None;
    QTimer* frameFitTimer_ = nullptr;
    int frameFitTries_ = 0;
};

}  // namespace brv
