#include "Snapshot.h"

#include "experiments/ExperimentCatalogue.h"
#include "experiments/ResultsTables.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    // Pictures are made without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    brv::snapshot::Options options;
    if (!brv::snapshot::ParseArguments(args, options, err)) {
        err << brv::snapshot::Usage();
        return 2;
    }
    brv::RegisterExperiments();
    brv::RegisterResultsTables();
    return brv::snapshot::Run(options, err);
}
