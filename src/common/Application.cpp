#include "common/Application.h"

#include "common/ErrorBox.h"

#include <QScopeGuard>

#include <exception>

namespace brv {

TBrevalisApplication::TBrevalisApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TBrevalisApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (FReporting) {
            qCritical("A further error while an error was being shown was not reported");
            return false;
        }
        FReporting = true;
        const auto reported = qScopeGuard([this] { FReporting = false; });
        ReportError(std::current_exception());
        return false;
    }
}

}  // namespace brv
