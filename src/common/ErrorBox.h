// The standard error box: how an error that escaped an event handler, a
// clock's callback or a form's creation is shown before the program goes on.
#pragma once

#include <exception>
#include <functional>

class QString;
class QWidget;

namespace brv {

// Shows an error that escaped to a handler of the program's own.
using TErrorReporter = std::function<void(std::exception_ptr error)>;

// Shows the error through the reporter in force: the standard error box
// (a critical message box with the error's text) unless tests replaced it.
void ReportError(std::exception_ptr error);

// The standard error box itself: a critical message box with the program's
// name as its title, over parent (the active window if none).
void ShowErrorBox(QWidget* parent, const QString& message);

// Replaces the reporter (tests, so that no modal box blocks them); an empty
// function restores the standard error box.
void SetErrorReporter(TErrorReporter reporter);

}  // namespace brv
