// What an experiment declares about the pupil's results: one table per
// investigation question of its planning page, each naming the variable the
// pupil changes (and the control of the form it is set with), the reading
// the pupil takes off an instrument, how many repeats, the variables to keep
// the same and the values the lesson suggests.
//
// Plain structs, low enough that every experiment may declare its tables; the
// results notebook reads them, the experiments never see the notebook.
#pragma once

#include "runtime/Catalogue.h"

#include <QString>

#include <functional>
#include <map>
#include <vector>

namespace brv {

// A control of the experiment form whose value is a setting: a spin box, a
// scroll bar (the drop height, the time bar), a radio group or a menu of
// choices, found by its object name in the form or in its toolbar.  A number
// is the control's value × scale (a bar in tenths of a centimetre has 0.1).
// An empty name: nothing to read, the pupil types the value.
struct TResultsControl {
    QString objectName;
    double scale = 1;
};

struct TResultsVariable {
    QString key;   // stable name in the results file: "dropHeight"
    QString name;  // "Drop height"
    QString unit;  // "cm"; empty for a count or a choice
    TResultsControl control;
    // A typed value outside [min, max] is refused.
    double min = 0;
    double max = 1e6;
    int decimals = 1;  // the precision the instrument is read to
};

struct TResultsTableDeclaration {
    QString key;       // stable name in the results file: "height"
    QString question;  // "Drop height → bounce height"
    TResultsVariable independent;
    // The reading: always typed by the pupil, never read from the form.
    TResultsVariable dependent;
    int repeats = 3;
    std::vector<TResultsVariable> controls;
    std::vector<double> suggested;  // values of the independent variable
};

using TResultsTablesFactory = std::function<std::vector<TResultsTableDeclaration>()>;

// ExperimentId → its tables.  Filled once at start-up by the experiments
// (RegisterResultsTables); the texts are made when asked for, after a
// translation has been loaded.
class TResultsTables {
public:
    static TResultsTables& Instance();
    void Register(ExperimentId id, TResultsTablesFactory tables);
    void Unregister(ExperimentId id);
    // Empty for an experiment without tables (a particle model, a movie).
    std::vector<TResultsTableDeclaration> TablesOf(ExperimentId id) const;
    bool Has(ExperimentId id) const { return tables_.count(id) != 0; }
    std::vector<ExperimentId> Ids() const;

private:
    std::map<ExperimentId, TResultsTablesFactory> tables_;
};

}  // namespace brv
