// The experiment catalogue: ExperimentId → form factory or movie file, the
// order of the large-buttons call, the lesson main page and the menu caption.
// The experiments layer fills it (RegisterExperiments); the host only looks
// entries up, so it never names an experiment form.
#pragma once

#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace brv {

class TExperimentForm;

using ExperimentId = int;
constexpr ExperimentId FirstFlashId = 100;

enum class TLargeButtonsCall { BeforeShow, AfterShow };

struct TCatalogueEntry {
    ExperimentId id = 0;
    QString formClass;                         // "TBallFrm"; empty for a movie
    std::function<TExperimentForm*()> create;  // null for a movie
    QString movieFile;                         // "Flash\\Voltage.swf"; empty for a form
    TLargeButtonsCall largeButtons = TLargeButtonsCall::AfterShow;
    QString mainPage;     // "BALL.HTM"
    QString menuCaption;  // empty where the Experiments menu has no item

    bool IsMovie() const { return !movieFile.isEmpty(); }
};

class TCatalogue {
public:
    static TCatalogue& Instance();
    // Adds or replaces the entry of entry.id.
    void Register(TCatalogueEntry entry);
    void Unregister(ExperimentId id);
    const TCatalogueEntry* Find(ExperimentId id) const;
    const std::vector<TCatalogueEntry>& Entries() const { return entries_; }

private:
    std::vector<TCatalogueEntry> entries_;
};

}  // namespace brv
