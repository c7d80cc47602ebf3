#include "shell/uCommandLine.h"

#include "runtime/BRV_StrConstants.h"
#include "runtime/ProgramFolder.h"
#include "shell/uFrame.h"
#include "shell/uLessonPane.h"

#include <QFileInfo>

#include <cstdio>

namespace brv {

namespace {

const QString kExperimentOption = QStringLiteral("--experiment");
const QString kPageOption = QStringLiteral("--page");

TCommandLine Refusal(const QString& message)
{
    TCommandLine refused;
    refused.action = TCommandLine::TAction::Refuse;
    refused.message = message;
    return refused;
}

TCommandLine Answer(TCommandLine::TAction action, const QString& message)
{
    TCommandLine answer;
    answer.action = action;
    answer.message = message;
    return answer;
}

// "ball" for BALL.HTM.
QString PageStem(const TCatalogueEntry& entry)
{
    return entry.mainPage.section(QLatin1Char('.'), 0, 0).toLower();
}

bool CanBeShown(const TCatalogueEntry& entry)
{
    return (entry.HasForm() || entry.IsMovie()) && !entry.mainPage.isEmpty();
}

}  // namespace

TCommandLine ParseCommandLine(const QStringList& arguments, const QString& program, TQtOptions qtOptions)
{
    TCommandLine commandLine;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool option = !optionsEnded && argument.startsWith(QLatin1String("--"));
        if (!option) {
            if (qtOptions == TQtOptions::StillPresent)
                continue;
            return Refusal(str::sCommandLineUnexpectedArgument().arg(program, argument));
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument == QLatin1String("--help"))
            return Answer(TCommandLine::TAction::ShowHelp, str::sCommandLineHelp().arg(program));
        if (argument == QLatin1String("--version"))
            return Answer(TCommandLine::TAction::ShowVersion,
                          str::sCommandLineVersion().arg(QStringLiteral(BRV_VERSION)));
        const QString name = argument.section(QLatin1Char('='), 0, 0);
        if (name != kExperimentOption && name != kPageOption)
            return Refusal(str::sCommandLineUnknownOption().arg(program, name));
        QString value;
        if (argument.contains(QLatin1Char('=')))
            value = argument.section(QLatin1Char('='), 1);
        else if (i + 1 < arguments.size())
            value = arguments[++i];
        if (value.isEmpty())
            return Refusal(str::sCommandLineMissingValue().arg(program, name));
        (name == kExperimentOption ? commandLine.experiment : commandLine.page) = value;
    }
    return commandLine;
}

const TCatalogueEntry* ExperimentNamed(const QString& name)
{
    bool isNumber = false;
    const int id = name.toInt(&isNumber);
    for (const TCatalogueEntry& entry : TCatalogue::Instance().Entries())
        if (CanBeShown(entry) && (isNumber ? entry.id == id : PageStem(entry) == name.toLower()))
            return &entry;
    return nullptr;
}

QStringList ExperimentNames()
{
    QStringList names;
    for (const TCatalogueEntry* entry : TCatalogue::Instance().MenuEntries())
        if (CanBeShown(*entry))
            names.append(PageStem(*entry));
    for (const TCatalogueEntry& entry : TCatalogue::Instance().Entries())
        if (CanBeShown(entry) && !names.contains(PageStem(entry)))
            names.append(PageStem(entry));
    return names;
}

void CheckStartPlace(TCommandLine& commandLine, const QString& program, const QString& programFolder)
{
    if (!commandLine.experiment.isEmpty() && ExperimentNamed(commandLine.experiment) == nullptr) {
        commandLine = Refusal(str::sCommandLineUnknownExperiment().arg(
            program, commandLine.experiment, ExperimentNames().join(QStringLiteral(", "))));
        return;
    }
    const QString page = ResolveInFolder(programFolder, QStringLiteral("html/") + commandLine.page);
    if (!commandLine.page.isEmpty() && !QFileInfo(page).isFile())
        commandLine = Refusal(str::sCommandLineMissingPage().arg(program, commandLine.page, programFolder));
}

void OpenStartPlace(TFrameFrm& window, const TCommandLine& commandLine)
{
    if (!commandLine.page.isEmpty())
        window.EWBPanel()->OpenPage(commandLine.page);
    else if (const TCatalogueEntry* entry = ExperimentNamed(commandLine.experiment);
             !commandLine.experiment.isEmpty() && entry != nullptr)
        window.EWBPanel()->ShowExperimentPage(entry->id);
}

int FinishCommandLine(const TCommandLine& commandLine)
{
    const bool refused = commandLine.action == TCommandLine::TAction::Refuse;
    std::fputs(commandLine.message.toLocal8Bit().constData(), refused ? stderr : stdout);
    return refused ? 2 : 0;
}

}  // namespace brv
