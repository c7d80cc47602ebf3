// The results tables of every experiment with a results page: each family
// declares its own in its folder (uBallTables.cpp …), in the words of its
// planning and results pages; RegisterResultsTables enters them by
// ExperimentId for the results notebook.
#pragma once

#include "runtime/ResultsDeclaration.h"

namespace brv {

void RegisterResultsTables();

// A setting the pupil changes on the form: its value is the named control's
// × scale.  An empty control: the pupil types it (a value read off an
// instrument, such as the light meter).
TResultsVariable Setting(const QString& key, const QString& name, const QString& unit, const QString& control,
                         double scale = 1, int decimals = 0);
// A reading the pupil takes off an instrument and types: refused outside
// [min, max].
TResultsVariable Reading(const QString& key, const QString& name, const QString& unit, double min, double max,
                         int decimals);

std::vector<TResultsTableDeclaration> AmylaseTables();
std::vector<TResultsTableDeclaration> BallTables();
std::vector<TResultsTableDeclaration> CaCarbTables();
std::vector<TResultsTableDeclaration> CarTables();
std::vector<TResultsTableDeclaration> EMagnetTables();
std::vector<TResultsTableDeclaration> ExpansionTables();
std::vector<TResultsTableDeclaration> FrictionTables();
std::vector<TResultsTableDeclaration> HeatingTables();
std::vector<TResultsTableDeclaration> PeroxideTables();
std::vector<TResultsTableDeclaration> PhotoTables();
std::vector<TResultsTableDeclaration> ReswireTables();
std::vector<TResultsTableDeclaration> SpringTables();
std::vector<TResultsTableDeclaration> TerminalVelocityTables();
std::vector<TResultsTableDeclaration> ThermoChemTables();
std::vector<TResultsTableDeclaration> YeastTables();

}  // namespace brv
