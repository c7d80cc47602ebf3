#include "runtime/ExperimentHost.h"

#include "common/ErrorBox.h"
#include "runtime/ExperimentForm.h"
#include "runtime/ProgramFolder.h"

#include <QFileInfo>
#include <QLayout>
#include <QMainWindow>
#include <QToolBar>
#include <QVBoxLayout>

namespace brv {

namespace {

// Forms handed to deleteLater stay children of the pane until the event loop
// gets to them; this mark keeps them out of every later lookup.
constexpr const char* kReleased = "brvReleased";

bool IsReleased(const QObject* o)
{
    return o->property(kReleased).toBool();
}

QLayout* PaneLayout(QWidget* pane)
{
    if (QLayout* layout = pane->layout())
        return layout;
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

// Suspends a window's repainting for the lifetime of the guard, so the docks
// re-arrange their toolbars once.
class LayoutFreeze {
public:
    explicit LayoutFreeze(QWidget* w) : w_(w), was_(w != nullptr && w->updatesEnabled())
    {
        if (w_ != nullptr)
            w_->setUpdatesEnabled(false);
    }
    ~LayoutFreeze()
    {
        if (w_ != nullptr && was_)
            w_->setUpdatesEnabled(true);
    }
    LayoutFreeze(const LayoutFreeze&) = delete;
    LayoutFreeze& operator=(const LayoutFreeze&) = delete;

private:
    QWidget* w_;
    bool was_;
};

}  // namespace

TExperimentHost::TExperimentHost(Parts parts, QObject* parent) : QObject(parent), parts_(std::move(parts))
{
    if (parts_.programFolder.isEmpty())
        parts_.programFolder = DefaultProgramFolder();
}

Qt::ToolBarArea TExperimentHost::ChosenDock() const
{
    const bool top = parts_.toolbarsAtTop ? parts_.toolbarsAtTop() : true;
    return top ? Qt::TopToolBarArea : Qt::BottomToolBarArea;
}

TExperimentForm* TExperimentHost::CurrentForm() const
{
    if (parts_.leftPane == nullptr)
        return nullptr;
    for (QObject* child : parts_.leftPane->children())
        if (auto* form = qobject_cast<TExperimentForm*>(child); form != nullptr && !IsReleased(form))
            return form;
    return nullptr;
}

void TExperimentHost::ReleaseExperiments()
{
    if (parts_.leftPane == nullptr)
        return;
    const QObjectList children = parts_.leftPane->children();
    for (QObject* child : children) {
        auto* form = qobject_cast<TExperimentForm*>(child);
        if (form == nullptr || IsReleased(form))
            continue;
        form->setProperty(kReleased, true);
        form->hide();
        if (QLayout* layout = parts_.leftPane->layout())
            layout->removeWidget(form);
        // The toolbar lives in the main window's dock; hand it back to its
        // form so both go together.
        if (QToolBar* toolbar = form->Toolbar(); toolbar != nullptr && toolbar->parent() != form) {
            if (parts_.window != nullptr)
                parts_.window->removeToolBar(toolbar);
            toolbar->hide();
            toolbar->setParent(form);
        }
        // Never destroyed inside the event (a click, a navigation) that
        // replaced it: its handlers may still be on the stack.
        form->deleteLater();
    }
}

void TExperimentHost::dockExperimentToolbar(QToolBar* toolbar, Qt::ToolBarArea area)
{
    if (parts_.window == nullptr || toolbar == nullptr)
        return;
    QMainWindow* window = parts_.window;
    if (parts_.htmlToolbar != nullptr && window->toolBarArea(parts_.htmlToolbar) == area)
        window->insertToolBar(parts_.htmlToolbar, toolbar);
    else
        window->addToolBar(area, toolbar);
    // A maximised lesson pane keeps the experiment toolbar hidden.
    toolbar->setVisible(parts_.leftPane == nullptr || !parts_.leftPane->isHidden());
}

void TExperimentHost::createForm(const TCatalogueEntry& entry)
{
    TExperimentForm* form = entry.create();
    if (form == nullptr)
        return;
    form->hide();
    form->setWindowFlags(Qt::Widget);
    form->setParent(parts_.leftPane);
    PaneLayout(parts_.leftPane)->addWidget(form);

    const bool large = parts_.largeButtons ? parts_.largeButtons() : false;
    QToolBar* toolbar = form->Toolbar();
    if (toolbar == nullptr) {
        // A form with panels of its own: shown first, sized afterwards.
        form->show();
        form->SetLargeButtons(large);
        return;
    }
    toolbar->setUpdatesEnabled(false);
    dockExperimentToolbar(toolbar, ChosenDock());
    toolbar->setUpdatesEnabled(true);
    if (entry.largeButtons == TLargeButtonsCall::BeforeShow) {
        form->SetLargeButtons(large);
        form->show();
    } else {
        form->show();
        form->SetLargeButtons(large);
    }
}

std::exception_ptr TExperimentHost::tryCreateForm(const TCatalogueEntry& entry)
{
    try {
        createForm(entry);
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

void TExperimentHost::loadMovie(const TCatalogueEntry& entry)
{
    const QString path = ResolveInFolder(parts_.programFolder, entry.movieFile);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;  // a missing movie loads nothing, silently
    if (parts_.loadMovie)
        parts_.loadMovie(path);
}

void TExperimentHost::ShowExperiment(ExperimentId id)
{
    if (splash_ != nullptr) {
        // Gone at once: nothing of the splash is on the call stack.
        delete splash_.data();
        splash_ = nullptr;
    }
    currentId_ = id;
    // This runs inside a menu or browser event, through which an exception
    // must not pass: a form that fails while it is made is reported in the
    // standard error box, once the window's layout is resumed, and the
    // program goes on with what was made.
    std::exception_ptr failure;
    {
        LayoutFreeze freeze(parts_.window);
        if (parts_.flashPanel != nullptr)
            parts_.flashPanel->setVisible(id >= FirstFlashId);
        ReleaseExperiments();
        if (parts_.window != nullptr && parts_.htmlToolbar != nullptr &&
            parts_.window->toolBarBreak(parts_.htmlToolbar))
            parts_.window->removeToolBarBreak(parts_.htmlToolbar);

        const TCatalogueEntry* entry = TCatalogue::Instance().Find(id);
        if (entry != nullptr && entry->IsMovie())
            loadMovie(*entry);
        else if (entry != nullptr && entry->create && parts_.leftPane != nullptr)
            failure = tryCreateForm(*entry);
    }
    if (failure)
        ReportError(failure);
    emit ExperimentShown(id);
}

void TExperimentHost::ToolbarsMoved()
{
    TExperimentForm* form = CurrentForm();
    if (form == nullptr || currentId_ >= FirstFlashId)
        return;
    if (QToolBar* toolbar = form->Toolbar())
        dockExperimentToolbar(toolbar, ChosenDock());
}

void TExperimentHost::SplitChanged(bool leftPaneVisible)
{
    TExperimentForm* form = CurrentForm();
    if (form == nullptr)
        return;
    if (QToolBar* toolbar = form->Toolbar())
        toolbar->setVisible(leftPaneVisible);
    else
        form->ShowToolPanels(leftPaneVisible);
}

void TExperimentHost::LargeButtonsToggled()
{
    if (TExperimentForm* form = CurrentForm())
        form->SetLargeButtons(parts_.largeButtons ? parts_.largeButtons() : false);
}

}  // namespace brv
