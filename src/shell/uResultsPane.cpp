#include "shell/uResultsPane.h"

#include "notebook/ResultsPanel.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/Catalogue.h"
#include "runtime/ExperimentHost.h"
#include "shell/uSettings.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

namespace brv {

namespace {

// A small table beside a rising line of points: the toolbar has no picture
// of its own for the results.
QPixmap ResultsPicture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal u = size / 24.0;
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), u));
    p.setBrush(Qt::white);
    const QRectF table(2 * u, 3 * u, 9 * u, 18 * u);
    p.drawRect(table);
    for (int r = 1; r < 4; ++r)
        p.drawLine(QPointF(table.left(), table.top() + r * 4.5 * u),
                   QPointF(table.right(), table.top() + r * 4.5 * u));
    p.drawLine(QPointF(14 * u, 3 * u), QPointF(14 * u, 21 * u));
    p.drawLine(QPointF(14 * u, 21 * u), QPointF(23 * u, 21 * u));
    p.setPen(QPen(QColor(0xc0, 0x30, 0x20), 1.5 * u));
    p.drawLine(QPointF(15 * u, 19 * u), QPointF(22.5 * u, 5 * u));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x4e, 0x9c));
    for (const QPointF& c : {QPointF(16.5 * u, 16 * u), QPointF(19 * u, 12.5 * u), QPointF(21.5 * u, 7 * u)})
        p.drawEllipse(c, 1.5 * u, 1.5 * u);
    return pixmap;
}

}  // namespace

TResultsPane* AttachResultsPane(const TResultsPane::Parts& parts)
{
    return new TResultsPane(parts);
}

TResultsPane::TResultsPane(const Parts& parts) : QObject(parts.window), leftPane_(parts.leftPane)
{
    setObjectName(QStringLiteral("ResultsPane"));
    buildColumn(parts);
    buildToggle(parts);
    followHost(parts.host);
    const TResultsPanelPlace place = ReadResultsPanelPlace();
    height_ = place.height;
    const QSignalBlocker quiet(toggle_);
    toggle_->setChecked(place.shown);
    panel_->setVisible(place.shown);
}

void TResultsPane::buildColumn(const Parts& parts)
{
    column_ = new QSplitter(Qt::Vertical);
    column_->setObjectName(QStringLiteral("LeftColumn"));
    column_->setChildrenCollapsible(false);
    column_->setOpaqueResize(true);
    column_->setHandleWidth(6);
    parts.splitter->insertWidget(0, column_);
    column_->addWidget(leftPane_);
    panel_ = new TResultsPanel(column_);
    column_->addWidget(panel_);
    column_->setStretchFactor(0, 1);
    column_->setStretchFactor(1, 0);
    // The experiment pane shown or hidden by the window split takes its
    // results with it.
    leftPane_->installEventFilter(this);
    column_->installEventFilter(this);
    connect(column_, &QSplitter::splitterMoved, this, [this] {
        if (panel_->isVisible())
            height_ = panel_->height();
        remember();
    });
}

void TResultsPane::buildToggle(const Parts& parts)
{
    toggle_ = new QAction(str::sResultsMenuItem(), parts.window);
    toggle_->setObjectName(QStringLiteral("Results1"));
    toggle_->setCheckable(true);
    // Not F7: the lesson page's engine keeps that for caret browsing.
    toggle_->setShortcut(QKeySequence(Qt::Key_F8));
    toggle_->setShortcutContext(Qt::WindowShortcut);
    toggle_->setToolTip(str::sResultsToggleHint());
    toggle_->setStatusTip(str::sResultsToggleHint());
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(ResultsPicture(size));
    toggle_->setIcon(icon);
    parts.window->addAction(toggle_);
    if (parts.viewMenu != nullptr)
        parts.viewMenu->addAction(toggle_);
    if (parts.toolbar != nullptr) {
        parts.toolbar->addAction(toggle_);
        if (QWidget* button = parts.toolbar->widgetForAction(toggle_)) {
            button->setObjectName(QStringLiteral("ResultsBtn"));
            button->setFocusPolicy(Qt::TabFocus);
            button->setAccessibleName(str::sResultsToggleHint());
        }
    }
    connect(toggle_, &QAction::toggled, this, &TResultsPane::setShown);
}

void TResultsPane::followHost(TExperimentHost* host)
{
    if (host == nullptr)
        return;
    connect(host, &TExperimentHost::ExperimentShown, this, [this, host](int id) {
        const TCatalogueEntry* entry = TCatalogue::Instance().Find(id);
        panel_->SetExperiment(id, host->CurrentForm(), entry != nullptr ? entry->menuCaption : QString());
    });
}

void TResultsPane::setShown(bool shown)
{
    if (shown && !panel_->isHidden())
        return;
    panel_->setVisible(shown);
    if (shown) {
        heightApplied_ = false;
        applyHeight();
        // Straight to the table: the pupil is about to record or type.
        if (panel_->HasTables())
            panel_->Table->setFocus(Qt::ShortcutFocusReason);
    }
    remember();
}

// A third of the column at first; the height the pupil chose afterwards.
void TResultsPane::applyHeight()
{
    if (heightApplied_ || panel_->isHidden() || column_->height() <= 0)
        return;
    const int total = column_->height() - column_->handleWidth();
    const int wanted = height_ > 0 ? height_ : total / 3;
    const int height = std::clamp(wanted, std::min(120, total / 2), std::max(120, total - 80));
    column_->setSizes({std::max(0, total - height), height});
    heightApplied_ = true;
}

void TResultsPane::remember()
{
    WriteResultsPanelPlace({!panel_->isHidden(), height_});
}

bool TResultsPane::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == leftPane_) {
        if (event->type() == QEvent::ShowToParent)
            column_->show();
        else if (event->type() == QEvent::HideToParent)
            column_->hide();
    } else if (watched == column_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
        applyHeight();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace brv
