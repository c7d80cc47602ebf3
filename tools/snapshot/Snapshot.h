// brv-snapshot: renders an experiment's picture offscreen to a PNG file.
#pragma once

#include "apparatus/ApparatusSheet.h"

#include <QSize>
#include <QString>
#include <QStringList>

class QTextStream;

namespace brv::snapshot {

struct Options {
    int experimentId = 0;
    QSize size;
    QString out;
    double runSeconds = 0;  // simulated time to advance after pressing start
    bool apparatusSheet = false;
    float sheetScale = 4.0f;  // pixels per scene unit of the apparatus sheet
    TSheetReadings readings;  // the sheet's chosen readings
    // A results file (as the program writes them): the experiment is drawn
    // with the Results panel under it, showing that file's tables.
    QString results;
};

// Parses the command line (without the program name).  On a bad argument it
// writes a message to err and returns false.
bool ParseArguments(const QStringList& args, Options& options, QTextStream& err);

// Builds the picture and writes it; 0 on success, 2 with a message on err
// otherwise.  The catalogue must be filled before the call.
int Run(const Options& options, QTextStream& err);

QString Usage();

}  // namespace brv::snapshot
