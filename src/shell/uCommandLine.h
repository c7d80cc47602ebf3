// The program's command line: --help, --version, and where to open
// (--experiment NAME, --page PAGE).  Without options the program starts as it
// always has.
#pragma once

#include "runtime/Catalogue.h"

#include <QString>
#include <QStringList>

namespace brv {

class TFrameFrm;

struct TCommandLine {
    enum class TAction { Run, ShowHelp, ShowVersion, Refuse };
    TAction action = TAction::Run;
    QString experiment;  // as given; empty: none asked for
    QString page;        // as given; empty: none asked for
    QString message;     // what to print for ShowHelp, ShowVersion and Refuse
};

// Before the application object exists Qt's own options ("-platform xcb",
// "-style fusion") are still in the list, so only what starts with "--" is
// read then; afterwards Qt has taken its own away and everything is ours.
enum class TQtOptions { StillPresent, Removed };

// arguments without the program's name; program names it in the messages.
TCommandLine ParseCommandLine(const QStringList& arguments, const QString& program, TQtOptions qtOptions);

// The catalogue entry that NAME means: the stem of its main page ("ball" for
// BALL.HTM, any case) or its id; null for none.
const TCatalogueEntry* ExperimentNamed(const QString& name);
// The names ExperimentNamed knows, in the Experiments menu's order, then the movies.
QStringList ExperimentNames();

// Checks the place commandLine asks for against the catalogue and the lesson
// book in programFolder; a place that is not there turns it into a refusal.
void CheckStartPlace(TCommandLine& commandLine, const QString& program, const QString& programFolder);

// Opens window at the place commandLine asks for, if any.
void OpenStartPlace(TFrameFrm& window, const TCommandLine& commandLine);

// The exit code of a command line that ends the program (help and version 0,
// a refusal 2); its message goes to standard output, a refusal's to standard
// error.
int FinishCommandLine(const TCommandLine& commandLine);

}  // namespace brv
