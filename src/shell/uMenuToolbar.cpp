#include "shell/uMenuToolbar.h"

#include "runtime/BRV_StrConstants.h"
#include "shell/uThemes.h"

#include <QActionGroup>
#include <QMenu>

#include <utility>

namespace brv {

namespace {

// A menu bar title with an Alt+letter key on the letter at index: the text
// shows as it stands, that letter underlined.
QString WithMnemonic(const QString& title, int index)
{
    return title.left(index) + QLatin1Char('&') + title.mid(index);
}

}  // namespace

TMenuToolbar::TMenuToolbar(std::function<ExperimentId()> currentExperiment, QWidget* window)
    : QMenuBar(window), currentExperiment_(std::move(currentExperiment))
{
    setObjectName(QStringLiteral("MenuToolbar"));
    setNativeMenuBar(false);
    buildFileMenu();
    buildExperimentsMenu();
    // Its item, the results panel's, comes with the panel (AttachResultsPane).
    ViewMenu_ = addMenu(WithMnemonic(str::sResultsMenuView(), 0));
    buildToolbarsMenu();
    buildHelpMenu();
}

void TMenuToolbar::buildFileMenu()
{
    QMenu* file = addMenu(WithMnemonic(str::sMenuFile(), 0));
    Print1_ = file->addAction(str::sPrintTopic());
    Theme1_ = file->addMenu(str::sAppearance());
    themeGroup_ = new QActionGroup(this);
    for (const QString& name : ThemeNames()) {
        QAction* item = Theme1_->addAction(ThemeCaption(name));
        item->setCheckable(true);
        item->setData(name);
        themeGroup_->addAction(item);
        connect(item, &QAction::triggered, this, [this, name] { emit ThemeChosen(name); });
    }
    connect(Theme1_, &QMenu::aboutToShow, this, [this] {
        for (QAction* item : themeGroup_->actions())
            item->setChecked(item->data().toString() == CurrentThemeName());
    });
    file->addSeparator();
    Exit1_ = file->addAction(str::sExit());

    QMenu* edit = addMenu(WithMnemonic(str::sMenuEdit(), 0));
    Copy1_ = edit->addAction(str::sCopyTopicText());
    Copy1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
}

void TMenuToolbar::buildExperimentsMenu()
{
    ExperimentsMenu_ = addMenu(WithMnemonic(str::sMenuExperiments(), 1));  // Alt+X
    experimentGroup_ = new QActionGroup(this);
    experimentGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    connect(ExperimentsMenu_, &QMenu::aboutToShow, this, &TMenuToolbar::checkCurrentExperiment);
}

void TMenuToolbar::FillExperimentsMenu()
{
    // In the catalogue's menu order; an experiment that is not part of this
    // build has no item.
    for (const TCatalogueEntry* entry : TCatalogue::Instance().MenuEntries()) {
        QAction* item = ExperimentsMenu_->addAction(entry->menuCaption);
        item->setCheckable(true);
        item->setData(entry->id);
        experimentGroup_->addAction(item);
        ExperimentItems_.push_back(item);
        connect(item, &QAction::triggered, this, [this, item] { emit ExperimentChosen(item); });
    }
}

void TMenuToolbar::checkCurrentExperiment()
{
    for (QAction* item : ExperimentItems_)
        item->setChecked(item->data().toInt() == currentExperiment_());
}

void TMenuToolbar::buildToolbarsMenu()
{
    QMenu* toolbars = addMenu(WithMnemonic(str::sMenuToolbars(), 0));
    auto* position = new QActionGroup(this);
    Top1_ = toolbars->addAction(str::sToolbarsAtTop());
    Bottom1_ = toolbars->addAction(str::sToolbarsAtBottom());
    for (QAction* item : {Top1_, Bottom1_}) {
        item->setCheckable(true);
        position->addAction(item);
    }
    Top1_->setChecked(true);
    toolbars->addSeparator();
    Large1_ = toolbars->addAction(str::sUseLargeButtons());
    Large1_->setCheckable(true);
}

void TMenuToolbar::buildHelpMenu()
{
    QMenu* help = addMenu(WithMnemonic(str::sMenuHelp(), 0));
    Contents1_ = help->addAction(str::sHelpContents());
    Search1_ = help->addAction(str::sHelpSearch());
    help->addSeparator();
    About1_ = help->addAction(str::sMenuAbout());
}

}  // namespace brv
