// The contract every experiment form of the catalogue keeps, tested over all
// of them: each experiment's test file registers a small traits record, and
// the suite in experiments/FormContractTest.cpp runs its cases on every
// registered form (and fails for a catalogue form that has none).
#pragma once

#include "runtime/Catalogue.h"

#include <QSize>
#include <QString>

#include <functional>
#include <ostream>
#include <vector>

namespace brv {
class TExperimentForm;
}

namespace brv::test {

// A toolbar spin edit's range and default, as its experiment sets them.
struct TSpinRange {
    QString name;  // object name, "TemperatureSE"
    double min = 0;
    double max = 0;
    double value = 0;
    // Its widths in the large-buttons table at 96 dots per inch; 0: the
    // width is left alone.
    int smallWidth = 0;
    int largeWidth = 0;
    // Its font sizes in per cent where they differ from the toolbar's; 0:
    // the toolbar's (100 % small, the form's largeFontPercent large).
    int smallFontPercent = 0;
    int largeFontPercent = 0;
};

struct TFormTraits {
    ExperimentId id = 0;
    const char* name = "";  // the case's name in test listings: "Ball"
    QSize size{800, 600};
    std::vector<TSpinRange> spins;
    // Font size of the toolbar's captions and spin edits with large buttons,
    // in per cent of the small size.
    int largeFontPercent = 150;
    // Clock-driven forms: a run started with Start lasts at least this long
    // (seconds of model time), and while it runs only layers move — the
    // background is never redrawn.
    double runSeconds = 0;
    bool runMovesOnlyLayers = false;
    // Anything a run needs first (a ramp steep enough to roll); may be empty.
    std::function<void(TExperimentForm&)> beforeRun;
};

// Adds a form to the contract suite; returns true so that a test file can
// register at namespace scope:  const bool kRegistered = RegisterFormTraits({...});
bool RegisterFormTraits(TFormTraits traits);
const std::vector<TFormTraits>& RegisteredFormTraits();
// Test listings name the case, not its bytes.
void PrintTo(const TFormTraits& traits, std::ostream* out);

}  // namespace brv::test
