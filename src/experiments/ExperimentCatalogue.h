// The experiments' rows of the runtime catalogue.  Each experiment unit
// declares its own row once, beside its form, at namespace scope of its .cpp:
//
//   const bool kRow = DeclareExperiment<TBallFrm>({ids::Ball, TSubject::Physics, "BALL.HTM",
//                                                 TPages::Family, str::sBallCaption});
//
// RegisterExperiments hands every declared row to the catalogue, so the menu,
// the page router and the benchmarks find a new experiment by its unit alone.
// Nothing calls into a unit by name, which is why the build links the whole
// experiments library.
#pragma once

#include "runtime/Catalogue.h"
#include "runtime/ExperimentForm.h"

#include <QString>

#include <functional>

namespace brv {

// The Experiments menu lists the subjects in this order, and each subject's
// experiments alphabetically by caption, as a pupil looks one up.
enum class TSubject { Biology, Chemistry, Physics };

struct TExperimentRow {
    ExperimentId id = 0;
    TSubject subject = TSubject::Physics;
    const char* mainPage = "";  // "BALL.HTM"
    TPages pages = TPages::Family;
    // The Experiments-menu caption, read when the rows are registered (after
    // any translation is loaded); null where the menu has no item.
    QString (*menuCaption)() = nullptr;
    // When the host applies the large-buttons flag.  A form shown first and
    // sized afterwards lays its picture out twice (once at the small dock's
    // height, once at the large one's), and a form that draws a new scatter
    // on every resize draws it twice; the original program fixed the order
    // per experiment, so the pictures pupils see keep it.  After show unless
    // the experiment says otherwise.
    TLargeButtonsCall largeButtons = TLargeButtonsCall::AfterShow;
};

// Adds a row to those RegisterExperiments registers; create makes the form as
// the host does (CreateForm).  Returns true for a declaration at namespace
// scope.
bool DeclareExperimentRow(const TExperimentRow& row, std::function<TExperimentForm*()> create);

template <class Form>
bool DeclareExperiment(const TExperimentRow& row)
{
    return DeclareExperimentRow(row, [] { return CreateForm<Form>().release(); });
}

// Registers every declared row with the catalogue, numbering the Experiments
// menu by subject and caption; safe to call more than once.
void RegisterExperiments();

}  // namespace brv
