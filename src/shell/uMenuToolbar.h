// The main window's menu bar, MenuToolbar: the File, Edit, Experiments,
// Toolbars and Help menus.  The bar keeps the radio marks of the theme and
// experiment lists in step with the program each time a list opens; the
// window wires every item to what it acts on.
#pragma once

#include "runtime/Catalogue.h"

#include <QMenuBar>

#include <functional>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;

namespace brv {

class TMenuToolbar : public QMenuBar {
    Q_OBJECT
public:
    // currentExperiment: the experiment the window shows (0 before the first).
    TMenuToolbar(std::function<ExperimentId()> currentExperiment, QWidget* window);

    // One radio item per experiment of the catalogue, in its menu order,
    // tagged (data) with its ExperimentId.
    void FillExperimentsMenu();

    QAction* Print1() const { return Print1_; }
    QMenu* Theme1() const { return Theme1_; }
    QAction* Exit1() const { return Exit1_; }
    QAction* Copy1() const { return Copy1_; }
    QMenu* ExperimentsMenu() const { return ExperimentsMenu_; }
    const std::vector<QAction*>& ExperimentItems() const { return ExperimentItems_; }
    QAction* Top1() const { return Top1_; }
    QAction* Bottom1() const { return Bottom1_; }
    QAction* Large1() const { return Large1_; }
    QMenu* ViewMenu() const { return ViewMenu_; }  // the results panel's item
    QAction* Contents1() const { return Contents1_; }
    QAction* Search1() const { return Search1_; }
    QAction* About1() const { return About1_; }

signals:
    // An item of the "Appearance" list, by the theme's name.
    void ThemeChosen(const QString& name);
    // An item of the Experiments menu.
    void ExperimentChosen(QAction* item);

private:
    void buildFileMenu();
    void buildExperimentsMenu();
    void buildToolbarsMenu();
    void buildHelpMenu();
    void checkCurrentExperiment();

    std::function<ExperimentId()> currentExperiment_;
    QAction* Print1_ = nullptr;
    QMenu* Theme1_ = nullptr;
    QAction* Exit1_ = nullptr;
    QAction* Copy1_ = nullptr;
    QMenu* ExperimentsMenu_ = nullptr;
    std::vector<QAction*> ExperimentItems_;
    QAction* Top1_ = nullptr;
    QAction* Bottom1_ = nullptr;
    QAction* Large1_ = nullptr;
    QMenu* ViewMenu_ = nullptr;
    QAction* Contents1_ = nullptr;
    QAction* Search1_ = nullptr;
    QAction* About1_ = nullptr;
    QActionGroup* themeGroup_ = nullptr;
    QActionGroup* experimentGroup_ = nullptr;
};

}  // namespace brv
