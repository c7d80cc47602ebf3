#include "common/ErrorBox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QString>

#include <utility>

namespace brv {

namespace {

void ShowStandardErrorBox(std::exception_ptr error)
{
    QString message;
    try {
        std::rethrow_exception(std::move(error));
    } catch (const std::exception& e) {
        message = QString::fromUtf8(e.what());
    } catch (...) {
        // Our code throws only std::exception; anything else has no text to show.
        qCritical("An operation was stopped by an exception of unknown type");
        return;
    }
    ShowErrorBox(nullptr, message);
}

TErrorReporter& Reporter()
{
    static TErrorReporter reporter;
    return reporter;
}

}  // namespace

void ShowErrorBox(QWidget* parent, const QString& message)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || !app->inherits("QApplication")) {
        qCritical("%s", qUtf8Printable(message));
        return;
    }
    if (parent == nullptr)
        parent = QApplication::activeWindow();
    QMessageBox::critical(parent, QGuiApplication::applicationDisplayName(), message);
}

void ReportError(std::exception_ptr error)
{
    if (Reporter())
        Reporter()(std::move(error));
    else
        ShowStandardErrorBox(std::move(error));
}

void SetErrorReporter(TErrorReporter reporter)
{
    Reporter() = std::move(reporter);
}

}  // namespace brv
