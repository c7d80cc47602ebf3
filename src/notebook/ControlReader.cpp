#include "notebook/ControlReader.h"

#include "notebook/TypedValue.h"
#include "runtime/ExperimentForm.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QDoubleSpinBox>
#include <QMenu>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

namespace brv {

namespace {

// The form keeps its toolbar docked in the main window: the toolbar's
// children are no longer the form's.
QObject* FindControl(TExperimentForm* form, const QString& name)
{
    if (QObject* found = form->findChild<QObject*>(name))
        return found;
    if (QToolBar* toolbar = form->Toolbar())
        return toolbar->findChild<QObject*>(name);
    return nullptr;
}

QString Plain(QString caption)
{
    return caption.remove(QLatin1Char('&')).trimmed();
}

std::optional<double> NumberOf(QObject* control)
{
    if (auto* spin = qobject_cast<QSpinBox*>(control))
        return spin->value();
    if (auto* spin = qobject_cast<QDoubleSpinBox*>(control))
        return spin->value();
    if (auto* slider = qobject_cast<QAbstractSlider*>(control))
        return slider->value();
    return std::nullopt;
}

// The checked choice of a menu, of a checkable action, or of the radio
// buttons inside a container.
std::optional<QString> ChoiceOf(QObject* control)
{
    if (auto* menu = qobject_cast<QMenu*>(control)) {
        for (QAction* a : menu->actions())
            if (a->isCheckable() && a->isChecked())
                return Plain(a->text());
        return QString();
    }
    if (auto* action = qobject_cast<QAction*>(control))
        return action->isChecked() ? Plain(action->text()) : QString();
    // A drop-down button that shows the choice made in its menu.
    if (auto* dropDown = qobject_cast<QToolButton*>(control);
        dropDown != nullptr && dropDown->menu() != nullptr)
        return Plain(dropDown->text());
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        if (!button->isCheckable())
            return std::nullopt;
    if (auto* radio = qobject_cast<QRadioButton*>(control))
        return radio->isChecked() ? Plain(radio->text()) : QString();
    if (auto* widget = qobject_cast<QWidget*>(control)) {
        const QList<QRadioButton*> radios = widget->findChildren<QRadioButton*>();
        for (QRadioButton* r : radios)
            if (r->isChecked())
                return Plain(r->text());
        if (!radios.isEmpty())
            return QString();
    }
    return std::nullopt;
}

}  // namespace

std::optional<TSettingValue> ReadSetting(TExperimentForm* form, const TResultsVariable& variable,
                                         const QLocale& locale)
{
    if (form == nullptr || variable.control.objectName.isEmpty())
        return std::nullopt;
    QObject* control = FindControl(form, variable.control.objectName);
    if (control == nullptr)
        return std::nullopt;
    TSettingValue setting;
    if (const std::optional<double> raw = NumberOf(control)) {
        setting.number = *raw * variable.control.scale;
        setting.text = FormatFixed(*setting.number, variable.decimals, locale);
        if (!variable.unit.isEmpty())
            setting.text += QLatin1Char(' ') + variable.unit;
        return setting;
    }
    if (const std::optional<QString> choice = ChoiceOf(control)) {
        setting.text = *choice;
        return setting;
    }
    return std::nullopt;
}

}  // namespace brv
