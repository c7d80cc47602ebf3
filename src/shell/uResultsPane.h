// The results panel in the main window: under the experiment pane, in a
// splitter of its own, shown and hidden by one checkable action (the View
// menu's item, a lesson-toolbar button and F8), its height and visibility
// remembered.  It follows the experiment the host shows.
#pragma once

#include <QObject>

class QAction;
class QMenu;
class QSplitter;
class QToolBar;
class QWidget;

namespace brv {

class TExperimentHost;
class TResultsPanel;

class TResultsPane : public QObject {
    Q_OBJECT
public:
    struct Parts {
        QWidget* window = nullptr;
        QSplitter* splitter = nullptr;  // the panes' splitter; the experiment pane is its first widget
        QWidget* leftPane = nullptr;    // LeftTW
        QToolBar* toolbar = nullptr;    // gains the show / hide button
        QMenu* viewMenu = nullptr;      // gains the show / hide item
        TExperimentHost* host = nullptr;
    };
    explicit TResultsPane(const Parts& parts);

    TResultsPanel* Panel() const { return panel_; }
    QSplitter* Column() const { return column_; }
    // Checked while the panel is shown.
    QAction* ToggleAction() const { return toggle_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildColumn(const Parts& parts);
    void buildToggle(const Parts& parts);
    void followHost(TExperimentHost* host);
    void setShown(bool shown);
    void applyHeight();
    void remember();

    QWidget* leftPane_ = nullptr;
    QSplitter* column_ = nullptr;
    TResultsPanel* panel_ = nullptr;
    QAction* toggle_ = nullptr;
    int height_ = 0;
    bool heightApplied_ = false;
};

// Builds the pane into the window (one call from the main window).
TResultsPane* AttachResultsPane(const TResultsPane::Parts& parts);

}  // namespace brv
