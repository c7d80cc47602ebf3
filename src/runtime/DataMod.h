// The shared toolbar pictures: the same images at 24 and 48 pixels, addressed
// by index (7 start, 6 stop, 9 reset, …).
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QStringList>

#include <vector>

class QToolBar;

namespace brv {

// Indexes into Buttons24 / Buttons48.
enum TButtonImage : int {
    biIndex = 0,
    biBack = 1,
    biForward = 2,
    biFontSize = 3,
    biTextColour = 4,
    biIndexOptions = 5,
    biStop = 6,
    biStart = 7,
    biResistanceMeter = 8,
    biReset = 9,
    biAddNails = 10,
    biCountNails = 11,
    biSurface = 12,
    biAmmeterVoltmeter = 13,
    biInsulate = 14,
    biDropper = 15,
    biSyringe = 16,
    biLowTemperature = 17,
    biHighTemperature = 18,
    biMagnifier = 19,
    biPrinter = 20,
};

// Dynamic property of a toolbar QAction that names its picture in the list.
inline constexpr const char* kImageIndexProperty = "imageIndex";

// Sizes and counts of the two button lists.
inline constexpr int kSmallButtonSize = 24;
inline constexpr int kLargeButtonSize = 48;
inline constexpr int kSmallButtonCount = 21;  // biIndex .. biPrinter
inline constexpr int kLargeButtonCount = 19;  // biIndex .. biHighTemperature

// The status bar's window-split pictures (16 x 16), see SplitIcon.
enum TSplitImage : int {
    siMaxLeft = 0,
    siNormal = 1,
    siMaxRight = 2,
};

class TImageList {
public:
    // The first count button pictures, rendered at the primary screen's
    // device pixel ratio.
    TImageList(int size, int count);
    // The first count button pictures at an explicit device pixel ratio.
    TImageList(int size, int count, qreal pixelRatio);
    // The named pictures of the icon resources (file names without ".svg").
    TImageList(int size, const QStringList& pictures, qreal pixelRatio);
    int Size() const { return size_; }
    int Count() const { return int(images_.size()); }
    // The picture at index i at this list's size (device-pixel-ratio aware);
    // a null pixmap for an index outside the list.
    QPixmap Pixmap(int i) const;
    QIcon Icon(int i) const;

private:
    int size_;
    std::vector<QPixmap> images_;
};

class TDataMod {
public:
    // Created on first use (after the QGuiApplication exists).
    static TDataMod& Instance();
    const TImageList& Buttons24() const { return buttons24_; }
    const TImageList& Buttons48() const { return buttons48_; }
    const TImageList& Buttons(bool large) const { return large ? buttons48_ : buttons24_; }
    const TImageList& SplitPictures() const { return splitPictures_; }

private:
    TDataMod();
    TImageList buttons24_;
    TImageList buttons48_;
    TImageList splitPictures_;
};

// The status bar picture of a window-split button (TSplitImage); a null icon
// for any other value.
QIcon SplitIcon(int which);

// Sets the toolbar's icon size to the list's and gives every action that
// carries an image index (QAction property "imageIndex") its picture; an index
// the list does not hold leaves the action without a picture.
void ApplyImageList(QToolBar* toolbar, const TImageList& list);

}  // namespace brv
