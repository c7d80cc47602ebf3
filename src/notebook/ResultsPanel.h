// The Results panel under the experiment: the pupil's table for the chosen
// investigation question, Record, anomaly marks, undo, and beside the table
// the graph of the means with its line of best fit.  It belongs to the
// experiment shown: each experiment's tables are read back from its results
// file when it is shown and written back at every change.
#pragma once

#include "notebook/ResultsFile.h"
#include "notebook/ResultsModel.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QPrinter;
class QSplitter;
class QStackedWidget;
class QTimer;
class QTableView;
class QToolButton;
class QUndoGroup;

namespace brv {

class TExperimentForm;
class TResultsGraph;

class TResultsPanel : public QWidget {
    Q_OBJECT
public:
    explicit TResultsPanel(QWidget* parent = nullptr, TResultsStore store = TResultsStore());
    ~TResultsPanel() override;

    // Shows the tables of experiment id, whose settings Record reads off form
    // (null: none to read).  caption names the experiment on a printout.
    void SetExperiment(ExperimentId id, TExperimentForm* form, const QString& caption);
    ExperimentId Experiment() const { return id_; }
    bool HasTables() const { return !models_.empty(); }
    // The table of the question chosen; null when the experiment has none.
    TResultsModel* Model() const;
    const TResultsStore& Store() const { return store_; }

    // --- what the buttons and keys do ----------------------------------------------
    void Record();
    void ToggleAnomaly();
    void DeleteSelectedRows();
    void ClearTable();
    void CopyTable();
    void CopyGraph();
    bool SaveCsv(const QString& path);
    bool ExportPng(const QString& path);
    bool ExportPdf(const QString& path);
    void PrintPreview();
    // The printout (table and graph, experiment and date) painted on printer.
    int PaintPrintout(QPrinter& printer);
    // The last message shown under the table (a refusal, a damaged file).
    QString Message() const;

    // Replaceable so that a test answers without a dialog.
    std::function<bool(QWidget* parent)> ConfirmClear;
    std::function<QString(QWidget* parent, const QString& filter, const QString& suggestedName)> AskSavePath;

    // --- components ---------------------------------------------------------------------
    QStackedWidget* Pages = nullptr;
    QLabel* NoTablesLabel = nullptr;
    QComboBox* QuestionCB = nullptr;
    QToolButton* RecordBtn = nullptr;
    QToolButton* AnomalyBtn = nullptr;
    QToolButton* DeleteRowBtn = nullptr;
    QToolButton* ClearBtn = nullptr;
    QToolButton* UndoBtn = nullptr;
    QToolButton* RedoBtn = nullptr;
    QTableView* Table = nullptr;
    QSplitter* TableGraphSplitter = nullptr;
    QComboBox* FitCB = nullptr;
    QCheckBox* FromZeroCB = nullptr;
    QToolButton* OutBtn = nullptr;
    TResultsGraph* Graph = nullptr;
    QLabel* FitLabel = nullptr;
    QLabel* MessageLabel = nullptr;
    QAction* RecordAction = nullptr;
    QAction* AnomalyAction = nullptr;
    QAction* DeleteRowAction = nullptr;
    QAction* UndoAction = nullptr;
    QAction* RedoAction = nullptr;
    QAction* CopyTableAction = nullptr;
    QAction* CopyGraphAction = nullptr;
    QAction* SaveCsvAction = nullptr;
    QAction* ExportPngAction = nullptr;
    QAction* ExportPdfAction = nullptr;
    QAction* PrintAction = nullptr;

signals:
    // The table or graph changed (after the graph was told).
    void Updated();

private:
    void buildControls();
    QWidget* buildNotebookPage();
    QWidget* buildGraphColumn();
    void buildActions();
    void buildOutMenu();
    void showQuestion(int index);
    void refreshGraph();
    // Writes come together: a keystroke's write waits for a quiet moment
    // (a few tenths of a second), and a pending one is done at once before
    // the experiment changes or the panel goes.
    void save();
    void saveNow();
    void showMessage(const QString& text);
    void showRefusal(const QModelIndex& index, const QString& reason);
    TNotebookContents contents() const;
    void restore(const TResultsStore::TLoaded& loaded);
    TResultsRow currentSettings() const;
    QModelIndex rowToFill(const TResultsRow& settings);
    void editCell(const QModelIndex& index);
    QString askPath(const QString& filter, const QString& suffix);
    QString fileStem() const;

    TResultsStore store_;
    ExperimentId id_ = 0;
    QPointer<TExperimentForm> form_;
    QString caption_;
    std::vector<std::unique_ptr<TResultsModel>> models_;
    int current_ = -1;
    QUndoGroup* undoGroup_ = nullptr;
    bool restoring_ = false;
    QTimer* saveTimer_ = nullptr;
};

}  // namespace brv
