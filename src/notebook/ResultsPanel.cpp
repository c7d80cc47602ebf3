#include "notebook/ResultsPanel.h"

#include "notebook/ControlReader.h"
#include "notebook/ResultsExport.h"
#include "notebook/ResultsGraph.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/ExperimentForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QUndoGroup>
#include <QVBoxLayout>

namespace brv {

namespace {

constexpr int kSaveDelayMs = 300;

// Checks a typed value before it leaves the cell: a refused one keeps the
// editor open with the reason beside it, so nothing is silently dropped.
// Enter accepts and moves down a row, as in a spreadsheet; Tab across.
class TResultsDelegate : public QStyledItemDelegate {
public:
    TResultsDelegate(QTableView* view, std::function<void(const QModelIndex&, const QString&)> refuse)
        : QStyledItemDelegate(view), view_(view), refuse_(std::move(refuse))
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor->setAccessibleName(index.model()->headerData(index.column(), Qt::Horizontal).toString());
        editing_ = index;
        return editor;
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* editor = qobject_cast<QLineEdit*>(object);
        if (editor == nullptr || event->type() != QEvent::KeyPress)
            return QStyledItemDelegate::eventFilter(object, event);
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        const bool tab = key == Qt::Key_Tab || key == Qt::Key_Backtab;
        if (!enter && !tab)
            return QStyledItemDelegate::eventFilter(object, event);
        const auto* model = static_cast<const TResultsModel*>(editing_.model());
        const QString reason =
            model != nullptr ? model->CheckTyped(editing_.column(), editor->text()) : QString();
        if (!reason.isEmpty()) {
            refuse_(editing_, reason);
            editor->selectAll();
            return true;
        }
        if (!enter)
            return QStyledItemDelegate::eventFilter(object, event);
        const QPersistentModelIndex below = editing_.sibling(editing_.row() + 1, editing_.column());
        emit const_cast<TResultsDelegate*>(this)->commitData(editor);
        emit const_cast<TResultsDelegate*>(this)->closeEditor(editor, QAbstractItemDelegate::NoHint);
        if (below.isValid())
            view_->setCurrentIndex(below);
        return true;
    }

private:
    QTableView* view_;
    std::function<void(const QModelIndex&, const QString&)> refuse_;
    mutable QPersistentModelIndex editing_;
};

// Enter on a cell that is not being edited moves down too; Delete empties
// the selected cells, as in a spreadsheet.
class TResultsTableView : public QTableView {
public:
    using QTableView::QTableView;
    std::function<void()> DeleteCells;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if ((event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) &&
            event->modifiers() == Qt::NoModifier && state() != EditingState && DeleteCells) {
            DeleteCells();
            event->accept();
            return;
        }
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState &&
            currentIndex().isValid()) {
            const QModelIndex below =
                currentIndex().sibling(currentIndex().row() + 1, currentIndex().column());
            if (below.isValid())
                setCurrentIndex(below);
            event->accept();
            return;
        }
        QTableView::keyPressEvent(event);
    }
};

bool AskToClear(QWidget* parent)
{
    return QMessageBox::question(parent, str::sResultsClear(), str::sResultsClearQuestion(),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

QString AskFileName(QWidget* parent, const QString& filter, const QString& suggestedName)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileDialog::getSaveFileName(parent, QString(), folder + QLatin1Char('/') + suggestedName, filter);
}

void Name(QWidget* w, const char* objectName, const QString& accessibleName, const QString& hint = {})
{
    w->setObjectName(QLatin1String(objectName));
    w->setAccessibleName(accessibleName);
    if (!hint.isEmpty()) {
        w->setToolTip(hint);
        w->setStatusTip(hint);
    }
}

QAction* NewAction(QWidget* owner, const char* objectName, const QString& text, const QKeySequence& key,
                   Qt::ShortcutContext context)
{
    auto* action = new QAction(text, owner);
    action->setObjectName(QLatin1String(objectName));
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(context);
        owner->addAction(action);
    }
    return action;
}

}  // namespace

TResultsPanel::TResultsPanel(QWidget* parent, TResultsStore store) : QWidget(parent), store_(std::move(store))
{
    setObjectName(QStringLiteral("ResultsPanel"));
    setAccessibleName(str::sResultsPanelName());
    ConfirmClear = AskToClear;
    AskSavePath = AskFileName;
    undoGroup_ = new QUndoGroup(this);
    saveTimer_ = new QTimer(this);
    saveTimer_->setSingleShot(true);
    saveTimer_->setInterval(kSaveDelayMs);
    connect(saveTimer_, &QTimer::timeout, this, &TResultsPanel::saveNow);
    buildActions();
    buildControls();
}

TResultsPanel::~TResultsPanel()
{
    saveNow();
    // The table view must let go of the models before they go.
    if (Table != nullptr)
        Table->setModel(nullptr);
}

void TResultsPanel::buildActions()
{
    RecordAction = NewAction(this, "RecordAction", str::sResultsRecord(), QKeySequence(Qt::CTRL | Qt::Key_R),
                             Qt::WindowShortcut);
    connect(RecordAction, &QAction::triggered, this, &TResultsPanel::Record);
    AnomalyAction = NewAction(this, "AnomalyAction", str::sResultsAnomaly(),
                              QKeySequence(Qt::CTRL | Qt::Key_M), Qt::WidgetWithChildrenShortcut);
    connect(AnomalyAction, &QAction::triggered, this, &TResultsPanel::ToggleAnomaly);
    DeleteRowAction = NewAction(this, "DeleteRowAction", str::sResultsDeleteRow(),
                                QKeySequence(Qt::CTRL | Qt::Key_Delete), Qt::WidgetWithChildrenShortcut);
    connect(DeleteRowAction, &QAction::triggered, this, &TResultsPanel::DeleteSelectedRows);
    UndoAction = undoGroup_->createUndoAction(this, str::sResultsUndo());
    UndoAction->setObjectName(QStringLiteral("UndoAction"));
    UndoAction->setShortcut(QKeySequence::Undo);
    RedoAction = undoGroup_->createRedoAction(this, str::sResultsRedo());
    RedoAction->setObjectName(QStringLiteral("RedoAction"));
    RedoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction* a : {UndoAction, RedoAction}) {
        // Within the panel only: the lesson pane keeps its own keys.
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
    }
    CopyTableAction = NewAction(this, "CopyTableAction", str::sResultsCopyTable(), {}, Qt::WidgetShortcut);
    connect(CopyTableAction, &QAction::triggered, this, &TResultsPanel::CopyTable);
    CopyGraphAction = NewAction(this, "CopyGraphAction", str::sResultsCopyGraph(), {}, Qt::WidgetShortcut);
    connect(CopyGraphAction, &QAction::triggered, this, &TResultsPanel::CopyGraph);
    SaveCsvAction = NewAction(this, "SaveCsvAction", str::sResultsSaveCsv(), {}, Qt::WidgetShortcut);
    connect(SaveCsvAction, &QAction::triggered, this, [this] {
        if (const QString path = askPath(str::sResultsCsvFilter(), QStringLiteral(".csv")); !path.isEmpty())
            SaveCsv(path);
    });
    ExportPngAction = NewAction(this, "ExportPngAction", str::sResultsExportPng(), {}, Qt::WidgetShortcut);
    connect(ExportPngAction, &QAction::triggered, this, [this] {
        if (const QString path = askPath(str::sResultsPngFilter(), QStringLiteral(".png")); !path.isEmpty())
            ExportPng(path);
    });
    ExportPdfAction = NewAction(this, "ExportPdfAction", str::sResultsExportPdf(), {}, Qt::WidgetShortcut);
    connect(ExportPdfAction, &QAction::triggered, this, [this] {
        if (const QString path = askPath(str::sResultsPdfFilter(), QStringLiteral(".pdf")); !path.isEmpty())
            ExportPdf(path);
    });
    PrintAction = NewAction(this, "PrintAction", str::sResultsPrint(), {}, Qt::WidgetShortcut);
    connect(PrintAction, &QAction::triggered, this, &TResultsPanel::PrintPreview);
}

void TResultsPanel::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    Pages = new QStackedWidget(this);
    Pages->setObjectName(QStringLiteral("ResultsPages"));
    layout->addWidget(Pages);
    NoTablesLabel = new QLabel(str::sResultsNoTables(), Pages);
    NoTablesLabel->setObjectName(QStringLiteral("NoTablesLabel"));
    NoTablesLabel->setWordWrap(true);
    NoTablesLabel->setAlignment(Qt::AlignCenter);
    Pages->addWidget(NoTablesLabel);
    Pages->addWidget(buildNotebookPage());
    Pages->setCurrentIndex(0);
}

QWidget* TResultsPanel::buildNotebookPage()
{
    auto* page = new QWidget(Pages);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);

    auto* bar = new QHBoxLayout;
    bar->setSpacing(2);
    auto* questionLabel = new QLabel(str::sResultsQuestionLabel(), page);
    QuestionCB = new QComboBox(page);
    Name(QuestionCB, "QuestionCB", str::sResultsQuestionName());
    QuestionCB->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    QuestionCB->setMinimumContentsLength(3);
    questionLabel->setBuddy(QuestionCB);
    connect(QuestionCB, &QComboBox::activated, this, &TResultsPanel::showQuestion);
    bar->addWidget(questionLabel);
    bar->addWidget(QuestionCB, 1);
    // Tool buttons, as narrow as their words: the panel must fit the
    // experiment pane of a small screen.
    const auto addButton = [page, bar](QToolButton*& button, QAction* action, const char* name,
                                       const QString& hint) {
        button = new QToolButton(page);
        button->setText(action->text());
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setFocusPolicy(Qt::StrongFocus);
        Name(button, name, action->text(), hint);
        connect(button, &QToolButton::clicked, action, &QAction::trigger);
        bar->addWidget(button);
    };
    addButton(RecordBtn, RecordAction, "RecordBtn", str::sResultsRecordHint());
    addButton(AnomalyBtn, AnomalyAction, "AnomalyBtn", str::sResultsAnomalyHint());
    addButton(DeleteRowBtn, DeleteRowAction, "DeleteRowBtn", str::sResultsDeleteRowHint());
    auto* clearAction = new QAction(str::sResultsClear(), this);
    connect(clearAction, &QAction::triggered, this, &TResultsPanel::ClearTable);
    addButton(ClearBtn, clearAction, "ClearBtn", str::sResultsClearHint());
    const auto addToolButton = [page, bar](QToolButton*& button, QAction* action, const char* name) {
        button = new QToolButton(page);
        button->setDefaultAction(action);
        button->setFocusPolicy(Qt::StrongFocus);
        Name(button, name, action->text().remove(QLatin1Char('&')));
        bar->addWidget(button);
    };
    addToolButton(UndoBtn, UndoAction, "UndoBtn");
    addToolButton(RedoBtn, RedoAction, "RedoBtn");
    column->addLayout(bar);

    TableGraphSplitter = new QSplitter(Qt::Horizontal, page);
    TableGraphSplitter->setObjectName(QStringLiteral("TableGraphSplitter"));
    TableGraphSplitter->setChildrenCollapsible(false);
    auto* table = new TResultsTableView(TableGraphSplitter);
    table->DeleteCells = [this] {
        QModelIndexList cells = Table->selectionModel()->selectedIndexes();
        if (cells.isEmpty() && Table->currentIndex().isValid())
            cells << Table->currentIndex();
        if (TResultsModel* model = Model())
            model->ClearCells(cells);
    };
    Table = table;
    Name(Table, "ResultsTable", str::sResultsTableName());
    Table->setItemDelegate(new TResultsDelegate(
        Table, [this](const QModelIndex& index, const QString& reason) { showRefusal(index, reason); }));
    Table->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                           QAbstractItemView::EditKeyPressed);
    Table->setSelectionBehavior(QAbstractItemView::SelectItems);
    Table->setTabKeyNavigation(true);
    Table->setWordWrap(false);
    Table->horizontalHeader()->setDefaultAlignment(
        Qt::Alignment::fromInt(Qt::AlignCenter | Qt::TextWordWrap));
    Table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    TableGraphSplitter->addWidget(Table);
    TableGraphSplitter->addWidget(buildGraphColumn());
    TableGraphSplitter->setStretchFactor(0, 3);
    TableGraphSplitter->setStretchFactor(1, 2);
    column->addWidget(TableGraphSplitter, 1);

    MessageLabel = new QLabel(page);
    MessageLabel->setObjectName(QStringLiteral("MessageLabel"));
    MessageLabel->setWordWrap(true);
    MessageLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    MessageLabel->setAccessibleName(str::sResultsPanelName());
    MessageLabel->hide();
    column->addWidget(MessageLabel);
    return page;
}

QWidget* TResultsPanel::buildGraphColumn()
{
    auto* graphColumn = new QWidget(TableGraphSplitter);
    auto* layout = new QVBoxLayout(graphColumn);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* options = new QHBoxLayout;
    options->setSpacing(3);
    auto* fitLabel = new QLabel(str::sResultsFitLabel(), graphColumn);
    FitCB = new QComboBox(graphColumn);
    Name(FitCB, "FitCB", str::sResultsFitName());
    FitCB->addItem(str::sResultsFitNone(), int(TFitKind::None));
    FitCB->addItem(str::sResultsFitLine(), int(TFitKind::Line));
    FitCB->addItem(str::sResultsFitOrigin(), int(TFitKind::ThroughOrigin));
    FitCB->addItem(str::sResultsFitCurve(), int(TFitKind::Curve));
    FitCB->setCurrentIndex(1);
    FitCB->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    FitCB->setMinimumContentsLength(4);
    fitLabel->setBuddy(FitCB);
    FromZeroCB = new QCheckBox(str::sResultsFromZero(), graphColumn);
    Name(FromZeroCB, "FromZeroCB", str::sResultsFromZero(), str::sResultsFromZeroHint());
    for (QWidget* w : {static_cast<QWidget*>(FitCB), static_cast<QWidget*>(FromZeroCB)})
        w->setFocusPolicy(Qt::StrongFocus);
    connect(FitCB, &QComboBox::currentIndexChanged, this, [this] {
        refreshGraph();
        save();
    });
    connect(FromZeroCB, &QCheckBox::toggled, this, [this] {
        refreshGraph();
        save();
    });
    OutBtn = new QToolButton(graphColumn);
    OutBtn->setText(str::sResultsOut());
    OutBtn->setPopupMode(QToolButton::InstantPopup);
    OutBtn->setFocusPolicy(Qt::StrongFocus);
    Name(OutBtn, "OutBtn", str::sResultsOut(), str::sResultsOutHint());
    buildOutMenu();
    options->addWidget(fitLabel);
    options->addWidget(FitCB, 1);
    options->addWidget(FromZeroCB);
    options->addWidget(OutBtn);
    layout->addLayout(options);
    Graph = new TResultsGraph(graphColumn);
    Graph->setAccessibleName(str::sResultsGraphName());
    layout->addWidget(Graph, 1);
    FitLabel = new QLabel(graphColumn);
    FitLabel->setObjectName(QStringLiteral("FitLabel"));
    FitLabel->setWordWrap(true);
    FitLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(Graph, &TResultsGraph::FitTextChanged, FitLabel, &QLabel::setText);
    layout->addWidget(FitLabel);
    return graphColumn;
}

void TResultsPanel::buildOutMenu()
{
    auto* menu = new QMenu(OutBtn);
    menu->setObjectName(QStringLiteral("OutMenu"));
    menu->addAction(CopyTableAction);
    menu->addAction(CopyGraphAction);
    menu->addSeparator();
    menu->addAction(SaveCsvAction);
    menu->addAction(ExportPngAction);
    menu->addAction(ExportPdfAction);
    menu->addSeparator();
    menu->addAction(PrintAction);
    OutBtn->setMenu(menu);
}

// --- the experiment shown --------------------------------------------------------------------------

void TResultsPanel::SetExperiment(ExperimentId id, TExperimentForm* form, const QString& caption)
{
    form_ = form;
    caption_ = caption;
    if (id == id_ && (id == 0 || !models_.empty()))
        return;
    saveNow();
    id_ = id;
    Table->setModel(nullptr);
    undoGroup_->setActiveStack(nullptr);
    models_.clear();
    current_ = -1;
    QuestionCB->clear();
    showMessage(QString());
    const std::vector<TResultsTableDeclaration> declarations = TResultsTables::Instance().TablesOf(id);
    for (const TResultsTableDeclaration& d : declarations) {
        auto model = std::make_unique<TResultsModel>(d);
        connect(model.get(), &TResultsModel::Changed, this, [this] {
            refreshGraph();
            save();
        });
        connect(model.get(), &TResultsModel::Refused, this, &TResultsPanel::showRefusal);
        undoGroup_->addStack(model->UndoStack());
        QuestionCB->addItem(d.question);
        models_.push_back(std::move(model));
    }
    if (models_.empty()) {
        Pages->setCurrentIndex(0);
        Graph->ShowNothing();
        return;
    }
    Pages->setCurrentIndex(1);
    restore(store_.Load(id, declarations));
}

void TResultsPanel::restore(const TResultsStore::TLoaded& loaded)
{
    restoring_ = true;
    int question = 0;
    for (std::size_t i = 0; i < models_.size(); ++i) {
        const QString& key = models_[i]->Declaration().key;
        if (const auto found = loaded.contents.tables.find(key); found != loaded.contents.tables.end())
            models_[i]->RestoreRows(found->second);
        if (key == loaded.contents.question)
            question = int(i);
    }
    FitCB->setCurrentIndex(std::max(0, FitCB->findData(int(loaded.contents.fit))));
    FromZeroCB->setChecked(loaded.contents.fromZero);
    restoring_ = false;
    QuestionCB->setCurrentIndex(question);
    // Shown as it was read: nothing to write back.
    current_ = question;
    showQuestion(question);
    if (!loaded.error.isEmpty())
        showMessage(str::sResultsDamaged().arg(QDir::toNativeSeparators(store_.FilePath(id_)), loaded.error,
                                               QDir::toNativeSeparators(loaded.damagedPath)));
}

TResultsModel* TResultsPanel::Model() const
{
    return current_ >= 0 && current_ < int(models_.size()) ? models_[std::size_t(current_)].get() : nullptr;
}

void TResultsPanel::showQuestion(int index)
{
    if (index < 0 || index >= int(models_.size()))
        return;
    const bool changed = index != current_;
    current_ = index;
    TResultsModel* model = Model();
    model->SetLocale(locale());
    Table->setModel(model);
    undoGroup_->setActiveStack(model->UndoStack());
    Table->resizeColumnsToContents();
    // The fair-test column takes what is left.
    Table->horizontalHeader()->setStretchLastSection(true);
    refreshGraph();
    if (changed)
        save();
}

void TResultsPanel::refreshGraph()
{
    if (restoring_)
        return;
    if (TResultsModel* model = Model())
        Graph->Show(*model, TFitKind(FitCB->currentData().toInt()), FromZeroCB->isChecked());
    emit Updated();
}

TNotebookContents TResultsPanel::contents() const
{
    TNotebookContents c;
    if (TResultsModel* model = Model())
        c.question = model->Declaration().key;
    c.fit = TFitKind(FitCB->currentData().toInt());
    c.fromZero = FromZeroCB->isChecked();
    for (const auto& model : models_)
        if (!model->Rows().empty())
            c.tables[model->Declaration().key] = model->Rows();
    return c;
}

void TResultsPanel::save()
{
    if (!restoring_ && !models_.empty())
        saveTimer_->start();
}

void TResultsPanel::saveNow()
{
    if (!saveTimer_->isActive())
        return;
    saveTimer_->stop();
    const QString error = store_.Save(id_, contents());
    if (!error.isEmpty())
        showMessage(str::sResultsCannotSave().arg(QDir::toNativeSeparators(store_.FilePath(id_)), error));
}

void TResultsPanel::showMessage(const QString& text)
{
    MessageLabel->setText(text);
    MessageLabel->setVisible(!text.isEmpty());
}

QString TResultsPanel::Message() const
{
    return MessageLabel->text();
}

void TResultsPanel::showRefusal(const QModelIndex&, const QString& reason)
{
    showMessage(reason);
}

// --- record ------------------------------------------------------------------------------------------

TResultsRow TResultsPanel::currentSettings() const
{
    const TResultsModel* model = Model();
    TResultsRow row = model->EmptyRow();
    const TResultsTableDeclaration& d = model->Declaration();
    if (const auto x = ReadSetting(form_, d.independent, locale()); x && x->number)
        row.independent = *x->number;
    for (std::size_t i = 0; i < d.controls.size(); ++i)
        if (const auto c = ReadSetting(form_, d.controls[i], locale()))
            row.controls[i] = c->text;
    return row;
}

// The last row when it was recorded with the same settings and still has a
// reading to take: Record then means "the next repeat", not a new row.
QModelIndex TResultsPanel::rowToFill(const TResultsRow& settings)
{
    TResultsModel* model = Model();
    if (!model->Rows().empty()) {
        const int last = model->rowCount() - 1;
        const TResultsRow& row = model->Rows().back();
        if (settings.independent && row.independent == settings.independent &&
            row.controls == settings.controls)
            for (int r = 0; r < model->Repeats(); ++r)
                if (!row.repeats[std::size_t(r)].value)
                    return model->index(last, model->RepeatColumn(r));
    }
    const int added = model->Record(settings);
    // A value the form cannot give is typed first.
    const int column = settings.independent ? model->RepeatColumn(0) : TResultsModel::IndependentColumn();
    return model->index(added, column);
}

void TResultsPanel::Record()
{
    if (Model() == nullptr || !isVisible())
        return;
    showMessage(QString());
    editCell(rowToFill(currentSettings()));
}

void TResultsPanel::editCell(const QModelIndex& index)
{
    Table->setFocus(Qt::ShortcutFocusReason);
    Table->setCurrentIndex(index);
    Table->scrollTo(index);
    Table->edit(index);
}

void TResultsPanel::ToggleAnomaly()
{
    if (TResultsModel* model = Model())
        model->ToggleAnomaly(Table->currentIndex());
}

void TResultsPanel::DeleteSelectedRows()
{
    TResultsModel* model = Model();
    if (model == nullptr)
        return;
    QList<int> rows;
    for (const QModelIndex& i : Table->selectionModel()->selectedIndexes())
        rows << i.row();
    if (rows.isEmpty() && Table->currentIndex().isValid())
        rows << Table->currentIndex().row();
    model->RemoveRows(rows);
}

void TResultsPanel::ClearTable()
{
    TResultsModel* model = Model();
    if (model == nullptr || model->Rows().empty())
        return;
    if (ConfirmClear && ConfirmClear(this))
        model->ClearTable();
}

// --- out ---------------------------------------------------------------------------------------------

QString TResultsPanel::fileStem() const
{
    QString stem = caption_.isEmpty() ? QStringLiteral("results") : caption_;
    if (const TResultsModel* model = Model())
        stem += QLatin1Char(' ') + model->Declaration().key;
    stem.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9 _-]")), QStringLiteral("_"));
    return stem;
}

QString TResultsPanel::askPath(const QString& filter, const QString& suffix)
{
    if (Model() == nullptr || !AskSavePath)
        return {};
    QString path = AskSavePath(this, filter, fileStem() + suffix);
    if (!path.isEmpty() && !path.endsWith(suffix, Qt::CaseInsensitive))
        path += suffix;
    return path;
}

void TResultsPanel::CopyTable()
{
    if (const TResultsModel* model = Model())
        QApplication::clipboard()->setText(TableAsTsv(*model));
}

void TResultsPanel::CopyGraph()
{
    if (Model() != nullptr)
        QApplication::clipboard()->setPixmap(Graph->toPixmap(800, 600));
}

bool TResultsPanel::SaveCsv(const QString& path)
{
    const TResultsModel* model = Model();
    if (model == nullptr)
        return false;
    QSaveFile file(path);
    const QByteArray bytes = TableAsCsv(*model);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    showMessage(str::sResultsWriteFailed().arg(QDir::toNativeSeparators(path), file.errorString()));
    return false;
}

bool TResultsPanel::ExportPng(const QString& path)
{
    if (Model() == nullptr)
        return false;
    if (Graph->savePng(path, 1200, 900))
        return true;
    showMessage(str::sResultsWriteFailed().arg(QDir::toNativeSeparators(path), QString()));
    return false;
}

bool TResultsPanel::ExportPdf(const QString& path)
{
    if (Model() == nullptr)
        return false;
    if (Graph->savePdf(path, 800, 600, QCP::epNoCosmetic, QString(), caption_))
        return true;
    showMessage(str::sResultsWriteFailed().arg(QDir::toNativeSeparators(path), QString()));
    return false;
}

int TResultsPanel::PaintPrintout(QPrinter& printer)
{
    const TResultsModel* model = Model();
    if (model == nullptr)
        return 0;
    const TPrintHeading heading{caption_, model->Declaration().question, QDateTime::currentDateTime()};
    return PaintResultsPages(printer, *model, heading, Graph->toPixmap(1600, 1200, 1.0));
}

void TResultsPanel::PrintPreview()
{
    if (Model() == nullptr)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(str::sResultsPrintTitle().arg(caption_));
    QPrintPreviewDialog preview(&printer, window());
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
            [this](QPrinter* target) { PaintPrintout(*target); });
    preview.exec();
}

}  // namespace brv
