// The experiment catalogue: ExperimentId → form factory or movie file, the
// order of the large-buttons call, the lesson pages that lead to it, and its
// place in the Experiments menu.  The experiments layer fills it, one row per
// experiment, each declared by its unit (RegisterExperiments); the host and
// the page router only look rows up, so they never name an experiment form
// and no second table has to be kept equal to this one.
#pragma once

#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace brv {

class TExperimentForm;

using ExperimentId = int;
constexpr ExperimentId FirstFlashId = 100;

// The Flash movies' ids: rows of the runtime's own (each experiment's id is
// declared beside its form, in the experiments layer).  Ids 12, 13, 14, 19
// and 103 are unused.
namespace ids {
constexpr ExperimentId VoltageMovie = 100;
constexpr ExperimentId EnergyBallMovie = 101;
constexpr ExperimentId ElectronsMovie = 102;
constexpr ExperimentId EnzymeMovie = 104;
constexpr ExperimentId AmylaseMovie = 105;
}  // namespace ids

enum class TLargeButtonsCall { BeforeShow, AfterShow };

// Which lesson pages lead to an entry: a family is the main page STEM.HTM
// and STEM-PLAN, -DATA, -ANYS, -CON and -HELP.HTM; a single page is the main
// page alone.
enum class TPages { Family, Single };

struct TCatalogueEntry {
    ExperimentId id = 0;
    // Makes the form as the host needs it (constructed, FormCreated); null
    // for a movie.
    std::function<TExperimentForm*()> create;
    QString movieFile;  // "Flash\\Voltage.swf"; empty for a form
    TLargeButtonsCall largeButtons = TLargeButtonsCall::AfterShow;
    QString mainPage;  // "BALL.HTM"
    TPages pages = TPages::Single;
    QString menuCaption;    // empty where the Experiments menu has no item
    int menuPosition = -1;  // place in the Experiments menu; -1: none

    bool IsMovie() const { return !movieFile.isEmpty(); }
    bool HasForm() const { return bool(create); }
    // The lesson pages that lead here, upper case.
    std::vector<QString> PageNames() const;
};

class TCatalogue {
public:
    static TCatalogue& Instance();
    // Adds or replaces the entry of entry.id.  Throws std::logic_error when
    // one of its pages already leads to another entry: a page has one
    // experiment.
    void Register(TCatalogueEntry entry);
    void Unregister(ExperimentId id);
    const TCatalogueEntry* Find(ExperimentId id) const;
    const std::vector<TCatalogueEntry>& Entries() const { return entries_; }
    // The entry a lesson page (a bare upper-case file name) leads to, if any.
    const TCatalogueEntry* FindByPage(const QString& page) const;
    // The entries with an Experiments-menu item, in menu order.
    std::vector<const TCatalogueEntry*> MenuEntries() const;

private:
    std::vector<TCatalogueEntry> entries_;
};

}  // namespace brv
