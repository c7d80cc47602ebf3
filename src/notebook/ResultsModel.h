// One results table: the rows the pupil recorded and typed, as a Qt table
// model.  Every change goes through the model's undo stack, so each typed
// value, anomaly mark, recorded or deleted row and clear can be undone.
//
// Columns: the independent variable; one per repeat of the reading; the mean,
// the range and the uncertainty (± half the range); one per control variable
// (the setting when the row was recorded); the fair-test note.
#pragma once

#include "notebook/Statistics.h"
#include "runtime/ResultsDeclaration.h"

#include <QAbstractTableModel>
#include <QLocale>
#include <QUndoStack>

#include <optional>
#include <vector>

namespace brv {

struct TResultsCell {
    std::optional<double> value;
    bool anomaly = false;
    bool operator==(const TResultsCell&) const = default;
};

struct TResultsRow {
    std::optional<double> independent;
    std::vector<TResultsCell> repeats;
    std::vector<QString> controls;  // as shown: "20 ºC", "sandpaper"
    bool operator==(const TResultsRow&) const = default;
};

// A point of the graph: the mean of a row against its independent value.
struct TGraphPoint {
    double x = 0;
    double mean = 0;
    double uncertainty = 0;
};

class TResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TResultsModel(TResultsTableDeclaration declaration, QObject* parent = nullptr);

    const TResultsTableDeclaration& Declaration() const { return declaration_; }
    QUndoStack* UndoStack() { return &undo_; }
    void SetLocale(const QLocale& locale) { locale_ = locale; }

    int Repeats() const { return declaration_.repeats; }
    static constexpr int IndependentColumn() { return 0; }
    int RepeatColumn(int repeat) const { return 1 + repeat; }
    int MeanColumn() const { return 1 + Repeats(); }
    int RangeColumn() const { return MeanColumn() + 1; }
    int UncertaintyColumn() const { return MeanColumn() + 2; }
    int ControlColumn(int control) const { return MeanColumn() + 3 + control; }
    int FairTestColumn() const { return ControlColumn(int(declaration_.controls.size())); }
    bool IsRepeatColumn(int column) const { return column >= 1 && column <= Repeats(); }
    bool IsTypedColumn(int column) const { return column == IndependentColumn() || IsRepeatColumn(column); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Text typed into a cell: accepted (through the undo stack) or refused,
    // with Refused telling why.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The reason text would be refused at column, or empty.
    QString CheckTyped(int column, const QString& text) const;

    // --- edits, each one step of the undo stack ---------------------------------------
    // Adds row at the end; returns its index.
    int Record(TResultsRow row);
    void ToggleAnomaly(const QModelIndex& index);
    void ClearCells(const QModelIndexList& indexes);
    void RemoveRows(QList<int> rows);
    void ClearTable();

    // --- reading ---------------------------------------------------------------------------
    const std::vector<TResultsRow>& Rows() const { return rows_; }
    // Replaces every row without an undo step (a table read back from its file).
    void RestoreRows(std::vector<TResultsRow> rows);
    stats::TRowSummary Summary(int row) const;
    std::vector<TGraphPoint> GraphPoints() const;
    // "temperature changed: 40 ºC instead of 20 ºC" for each control that
    // differs from the first row's; empty for a fair row.
    QString FairTestNote(int row) const;
    // A row of the declared shape, every cell empty.
    TResultsRow EmptyRow() const;
    // "Drop height (cm)"
    static QString Titled(const TResultsVariable& variable);
    // The whole title, for exports, tool tips and screen readers.
    QString ColumnTitle(int column) const;
    // What the table's header shows where the whole title would make a
    // column too wide for a small screen: "1st", "Mean (cm)".
    QString ShortColumnTitle(int column) const;
    // The text of a cell as the table shows it.
    QString CellText(int row, int column) const;

    // --- used by the undo commands -----------------------------------------------------
    TResultsCell CellAt(int row, int column) const;
    void PutCell(int row, int column, const TResultsCell& cell);
    void PutRow(int at, const TResultsRow& row);
    void TakeRow(int at);
    void PutAllRows(std::vector<TResultsRow> rows);

signals:
    void Refused(const QModelIndex& index, const QString& reason);
    // After any change of the rows (edits, undo, redo, restore).
    void Changed();

private:
    void normalise(TResultsRow& row) const;
    void rowChanged(int row);
    const TResultsVariable* typedVariable(int column) const;
    QString meanText(const std::optional<double>& value) const;

    TResultsTableDeclaration declaration_;
    std::vector<TResultsRow> rows_;
    QUndoStack undo_;
    QLocale locale_;
};

}  // namespace brv
