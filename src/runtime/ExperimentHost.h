// The host side of the experiment contract: replaces the experiment shown in
// the left pane, docks its toolbar beside the lesson toolbar, and passes on
// the main window's toolbar position, split and button-size changes.  The
// main window owns one; tests host it in a bare QMainWindow.
#pragma once

#include "runtime/Catalogue.h"

#include <QObject>
#include <QPointer>

#include <exception>
#include <functional>

class QMainWindow;
class QToolBar;
class QWidget;

namespace brv {

class TExperimentForm;

class TExperimentHost : public QObject {
    Q_OBJECT
public:
    struct Parts {
        QMainWindow* window = nullptr;        // holds the top and bottom docks
        QWidget* leftPane = nullptr;          // LeftTW
        QWidget* flashPanel = nullptr;        // FlashPanel (may be null)
        QToolBar* htmlToolbar = nullptr;      // the lesson toolbar sharing the dock
        std::function<bool()> toolbarsAtTop;  // Top1 checked
        std::function<bool()> largeButtons;   // Large1 checked
        // Loads an existing movie file into the Flash player as its main movie.
        std::function<void(const QString& path)> loadMovie;
        QString programFolder;
    };

    explicit TExperimentHost(Parts parts, QObject* parent = nullptr);

    // The splash picture that the first ShowExperiment destroys.
    void SetSplash(QWidget* splash) { splash_ = splash; }
    QWidget* Splash() const { return splash_; }

    // Always rebuilds, even for the current id; callers compare first.
    void ShowExperiment(ExperimentId id);
    ExperimentId CurrentId() const { return currentId_; }
    // The first child form of the left pane that is not being released.
    TExperimentForm* CurrentForm() const;

    // After the lesson toolbar was docked into the newly chosen dock.
    void ToolbarsMoved();
    // After the left pane was shown or hidden.
    void SplitChanged(bool leftPaneVisible);
    // After the main window switched its own toolbar's button size.
    void LargeButtonsToggled();
    // Schedules the release of every experiment form in the left pane.
    void ReleaseExperiments();

    Qt::ToolBarArea ChosenDock() const;

signals:
    // After every ShowExperiment: the results notebook follows the experiment.
    void ExperimentShown(int id);

private:
    void dockExperimentToolbar(QToolBar* toolbar, Qt::ToolBarArea area);
    void createForm(const TCatalogueEntry& entry);
    // The error that stopped createForm, if any.
    std::exception_ptr tryCreateForm(const TCatalogueEntry& entry);
    void loadMovie(const TCatalogueEntry& entry);
    Parts parts_;
    QPointer<QWidget> splash_;
    ExperimentId currentId_ = 0;
};

}  // namespace brv
