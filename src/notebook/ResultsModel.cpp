#include "notebook/ResultsModel.h"

#include "notebook/TypedValue.h"
#include "runtime/BRV_StrConstants.h"

#include <QFont>
#include <QUndoCommand>

#include <algorithm>

namespace brv {

namespace {

// A cell's value and anomaly mark, before and after.
class TCellCommand : public QUndoCommand {
public:
    TCellCommand(TResultsModel* model, int row, int column, TResultsCell after)
        : model_(model), row_(row), column_(column), before_(model->CellAt(row, column)), after_(after)
    {
    }
    void undo() override { model_->PutCell(row_, column_, before_); }
    void redo() override { model_->PutCell(row_, column_, after_); }

private:
    TResultsModel* model_;
    int row_, column_;
    TResultsCell before_, after_;
};

class TInsertRowCommand : public QUndoCommand {
public:
    TInsertRowCommand(TResultsModel* model, int at, TResultsRow row)
        : model_(model), at_(at), row_(std::move(row))
    {
    }
    void undo() override { model_->TakeRow(at_); }
    void redo() override { model_->PutRow(at_, row_); }

private:
    TResultsModel* model_;
    int at_;
    TResultsRow row_;
};

// Removes rows (ascending indexes); undo puts them back where they were.
class TRemoveRowsCommand : public QUndoCommand {
public:
    TRemoveRowsCommand(TResultsModel* model, QList<int> rows) : model_(model), indexes_(std::move(rows))
    {
        for (int r : indexes_)
            removed_.push_back(model_->Rows()[std::size_t(r)]);
    }
    void undo() override
    {
        for (qsizetype i = 0; i < indexes_.size(); ++i)
            model_->PutRow(indexes_[i], removed_[std::size_t(i)]);
    }
    void redo() override
    {
        for (qsizetype i = indexes_.size() - 1; i >= 0; --i)
            model_->TakeRow(indexes_[i]);
    }

private:
    TResultsModel* model_;
    QList<int> indexes_;
    std::vector<TResultsRow> removed_;
};

class TReplaceRowsCommand : public QUndoCommand {
public:
    TReplaceRowsCommand(TResultsModel* model, std::vector<TResultsRow> after)
        : model_(model), before_(model->Rows()), after_(std::move(after))
    {
    }
    void undo() override { model_->PutAllRows(before_); }
    void redo() override { model_->PutAllRows(after_); }

private:
    TResultsModel* model_;
    std::vector<TResultsRow> before_, after_;
};

}  // namespace

TResultsModel::TResultsModel(TResultsTableDeclaration declaration, QObject* parent)
    : QAbstractTableModel(parent), declaration_(std::move(declaration))
{
    declaration_.repeats = std::clamp(declaration_.repeats, 1, 10);
}

int TResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int TResultsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FairTestColumn() + 1;
}

QString TResultsModel::Titled(const TResultsVariable& variable)
{
    return variable.unit.isEmpty() ? variable.name
                                   : str::sResultsColumnRepeat().arg(variable.name, variable.unit);
}

QString TResultsModel::ColumnTitle(int column) const
{
    const TResultsVariable& y = declaration_.dependent;
    const QString unit = y.unit.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(y.unit);
    if (column == IndependentColumn())
        return Titled(declaration_.independent);
    if (IsRepeatColumn(column))
        return QStringLiteral("%1 %2%3").arg(y.name).arg(column).arg(unit);
    if (column == MeanColumn())
        return str::sResultsColumnMean().arg(y.name.toLower()) + unit;
    if (column == RangeColumn())
        return str::sResultsColumnRange() + unit;
    if (column == UncertaintyColumn())
        return str::sResultsColumnUncertainty() + unit;
    if (column == FairTestColumn())
        return str::sResultsColumnFairTest();
    const int control = column - ControlColumn(0);
    if (control >= 0 && control < int(declaration_.controls.size()))
        return Titled(declaration_.controls[std::size_t(control)]);
    return {};
}

QString TResultsModel::ShortColumnTitle(int column) const
{
    const QString& unit = declaration_.dependent.unit;
    const auto withUnit = [&unit](const QString& title) {
        return unit.isEmpty() ? title : str::sResultsColumnRepeat().arg(title, unit);
    };
    if (IsRepeatColumn(column))
        return str::sResultsRepeatOrdinal().arg(column);
    if (column == MeanColumn())
        return withUnit(str::sResultsColumnMeanShort());
    if (column == RangeColumn())
        return withUnit(str::sResultsColumnRange());
    if (column == UncertaintyColumn())
        return withUnit(QStringLiteral("±"));
    return ColumnTitle(column);
}

QVariant TResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    switch (role) {
        case Qt::DisplayRole:
            return ShortColumnTitle(section);
        case Qt::AccessibleTextRole:
        case Qt::ToolTipRole:
            return ColumnTitle(section);
        default:
            return {};
    }
}

QString TResultsModel::meanText(const std::optional<double>& value) const
{
    // The mean of readings may carry one decimal more than a reading.
    return value ? FormatFixed(*value, declaration_.dependent.decimals + 1, locale_) : QString();
}

QString TResultsModel::CellText(int row, int column) const
{
    if (row < 0 || row >= int(rows_.size()))
        return {};
    const TResultsRow& r = rows_[std::size_t(row)];
    if (IsTypedColumn(column)) {
        const std::optional<double> v = CellAt(row, column).value;
        const TResultsVariable* variable = typedVariable(column);
        return v ? FormatAtLeast(*v, variable->decimals, locale_) : QString();
    }
    if (column == MeanColumn())
        return meanText(Summary(row).mean);
    if (column == RangeColumn())
        return meanText(Summary(row).range);
    if (column == UncertaintyColumn()) {
        const std::optional<double> u = Summary(row).uncertainty;
        return u ? QStringLiteral("± ") + meanText(u) : QString();
    }
    if (column == FairTestColumn())
        return FairTestNote(row);
    const int control = column - ControlColumn(0);
    if (control >= 0 && control < int(r.controls.size()))
        return r.controls[std::size_t(control)];
    return {};
}

QVariant TResultsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(rows_.size()))
        return {};
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return CellText(index.row(), column);
        case Qt::EditRole:
            return IsTypedColumn(column) ? QVariant(CellText(index.row(), column)) : QVariant();
        case Qt::FontRole:
            if (IsRepeatColumn(column) && CellAt(index.row(), column).anomaly) {
                QFont font;
                font.setStrikeOut(true);
                return font;
            }
            return {};
        case Qt::TextAlignmentRole:
            return column == FairTestColumn() ? QVariant(int(Qt::AlignLeft | Qt::AlignVCenter))
                                              : QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
        case Qt::ToolTipRole:
            if (column == FairTestColumn())
                return FairTestNote(index.row());
            if (IsRepeatColumn(column) && !CellAt(index.row(), column).value)
                return str::sResultsTypedReading();
            return {};
        default:
            return {};
    }
}

Qt::ItemFlags TResultsModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && IsTypedColumn(index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

const TResultsVariable* TResultsModel::typedVariable(int column) const
{
    if (column == IndependentColumn())
        return &declaration_.independent;
    if (IsRepeatColumn(column))
        return &declaration_.dependent;
    return nullptr;
}

QString TResultsModel::CheckTyped(int column, const QString& text) const
{
    const TResultsVariable* variable = typedVariable(column);
    if (variable == nullptr)
        return {};
    return ParseTypedValue(text, locale_, variable->min, variable->max).reason;
}

bool TResultsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() >= int(rows_.size()))
        return false;
    const TResultsVariable* variable = typedVariable(index.column());
    if (variable == nullptr)
        return false;
    const TTypedValue typed = ParseTypedValue(value.toString(), locale_, variable->min, variable->max);
    if (!typed.accepted) {
        emit Refused(index, typed.reason);
        return false;
    }
    TResultsCell cell = CellAt(index.row(), index.column());
    if (cell.value == typed.value)
        return true;
    cell.value = typed.value;
    if (!cell.value)
        cell.anomaly = false;
    undo_.push(new TCellCommand(this, index.row(), index.column(), cell));
    return true;
}

TResultsRow TResultsModel::EmptyRow() const
{
    TResultsRow row;
    normalise(row);
    return row;
}

void TResultsModel::normalise(TResultsRow& row) const
{
    row.repeats.resize(std::size_t(Repeats()));
    row.controls.resize(declaration_.controls.size());
}

int TResultsModel::Record(TResultsRow row)
{
    normalise(row);
    const int at = int(rows_.size());
    undo_.push(new TInsertRowCommand(this, at, std::move(row)));
    return at;
}

void TResultsModel::ToggleAnomaly(const QModelIndex& index)
{
    if (!index.isValid() || !IsRepeatColumn(index.column()) || index.row() >= int(rows_.size()))
        return;
    TResultsCell cell = CellAt(index.row(), index.column());
    if (!cell.value)
        return;
    cell.anomaly = !cell.anomaly;
    undo_.push(new TCellCommand(this, index.row(), index.column(), cell));
}

void TResultsModel::ClearCells(const QModelIndexList& indexes)
{
    std::vector<std::pair<int, int>> cells;
    for (const QModelIndex& i : indexes)
        if (i.isValid() && IsTypedColumn(i.column()) && CellAt(i.row(), i.column()).value)
            cells.emplace_back(i.row(), i.column());
    if (cells.empty())
        return;
    undo_.beginMacro(str::sResultsClear());
    for (const auto& [row, column] : cells)
        undo_.push(new TCellCommand(this, row, column, TResultsCell{}));
    undo_.endMacro();
}

void TResultsModel::RemoveRows(QList<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.removeIf([this](int r) { return r < 0 || r >= int(rows_.size()); });
    if (!rows.isEmpty())
        undo_.push(new TRemoveRowsCommand(this, std::move(rows)));
}

void TResultsModel::ClearTable()
{
    if (!rows_.empty())
        undo_.push(new TReplaceRowsCommand(this, {}));
}

void TResultsModel::RestoreRows(std::vector<TResultsRow> rows)
{
    undo_.clear();
    PutAllRows(std::move(rows));
}

stats::TRowSummary TResultsModel::Summary(int row) const
{
    const TResultsRow& r = rows_[std::size_t(row)];
    std::vector<stats::TRepeat> repeats;
    repeats.reserve(r.repeats.size());
    for (const TResultsCell& c : r.repeats)
        repeats.push_back({c.value, c.anomaly});
    return stats::SummariseRepeats(repeats);
}

std::vector<TGraphPoint> TResultsModel::GraphPoints() const
{
    std::vector<TGraphPoint> points;
    points.reserve(rows_.size());
    for (int r = 0; r < int(rows_.size()); ++r) {
        if (!rows_[std::size_t(r)].independent)
            continue;
        const stats::TRowSummary s = Summary(r);
        if (s.mean)
            points.push_back({*rows_[std::size_t(r)].independent, *s.mean, s.uncertainty.value_or(0)});
    }
    return points;
}

QString TResultsModel::FairTestNote(int row) const
{
    if (row <= 0 || row >= int(rows_.size()))
        return {};
    const TResultsRow& first = rows_.front();
    const TResultsRow& r = rows_[std::size_t(row)];
    QStringList notes;
    for (std::size_t c = 0; c < declaration_.controls.size() && c < r.controls.size(); ++c) {
        const QString& was = first.controls[c];
        const QString& now = r.controls[c];
        if (!was.isEmpty() && !now.isEmpty() && was != now)
            notes << str::sResultsControlChanged().arg(declaration_.controls[c].name.toLower(), now, was);
    }
    return notes.join(QStringLiteral("; "));
}

TResultsCell TResultsModel::CellAt(int row, int column) const
{
    if (row < 0 || row >= int(rows_.size()))
        return {};
    const TResultsRow& r = rows_[std::size_t(row)];
    if (column == IndependentColumn())
        return {r.independent, false};
    if (IsRepeatColumn(column))
        return r.repeats[std::size_t(column - 1)];
    return {};
}

void TResultsModel::rowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    // The fair-test notes of every row compare with the first one.
    if (row == 0 && rows_.size() > 1)
        emit dataChanged(index(1, FairTestColumn()), index(rowCount() - 1, FairTestColumn()));
    emit Changed();
}

void TResultsModel::PutCell(int row, int column, const TResultsCell& cell)
{
    TResultsRow& r = rows_[std::size_t(row)];
    if (column == IndependentColumn())
        r.independent = cell.value;
    else if (IsRepeatColumn(column))
        r.repeats[std::size_t(column - 1)] = cell;
    rowChanged(row);
}

void TResultsModel::PutRow(int at, const TResultsRow& row)
{
    beginInsertRows({}, at, at);
    rows_.insert(rows_.begin() + at, row);
    normalise(rows_[std::size_t(at)]);
    endInsertRows();
    if (at == 0 && rows_.size() > 1)
        rowChanged(1);
    emit Changed();
}

void TResultsModel::TakeRow(int at)
{
    beginRemoveRows({}, at, at);
    rows_.erase(rows_.begin() + at);
    endRemoveRows();
    if (at == 0 && !rows_.empty())
        emit dataChanged(index(0, FairTestColumn()), index(rowCount() - 1, FairTestColumn()));
    emit Changed();
}

void TResultsModel::PutAllRows(std::vector<TResultsRow> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    for (TResultsRow& r : rows_)
        normalise(r);
    endResetModel();
    emit Changed();
}

}  // namespace brv
