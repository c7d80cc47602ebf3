// A sheet of every apparatus routine at sample readings, each labelled with
// the routine's name and what it shows, so a developer can look at the whole
// set at once at any size (the snapshot tool renders it).
#pragma once

#include "runtime/Bitmap32.h"

#include <optional>

namespace brv {

// Pixel size of the sheet at `scale` pixels per sheet unit (the units are
// those the experiments lay their scenes out in, so the apparatus appears
// at the proportions the experiments give it).
TPoint ApparatusSheetSize(float scale);

// Readings to show in place of the sheet's own samples; those not given keep
// the samples.
struct TSheetReadings {
    std::optional<float> Temperature;  // ºC: the first thermometer lens and thermometer
    std::optional<float> Volume;       // cm³: the first burette lens, the bubbling gas
                                       // burette and the burette with its tap open
    std::optional<int> Voltage;        // V: the power supply's knob
    std::optional<double> Seconds;     // both stopwatches
};

// Clears the bitmap to white and draws the sheet at `scale` from its top-left
// corner, framed like an experiment's picture.  The bitmap should be
// ApparatusSheetSize(scale); whatever does not fit is clipped.
void DrawApparatusSheet(TBitmap32& bitmap, float scale, const TSheetReadings& readings = {});

}  // namespace brv
