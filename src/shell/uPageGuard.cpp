#include "shell/uPageGuard.h"

#include "runtime/BRV_StrConstants.h"

#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>

#include <csignal>

#include <sys/types.h>

namespace brv {

// --- TQuietPage -----------------------------------------------------------------

void TQuietPage::javaScriptAlert(const QUrl&, const QString&) {}

bool TQuietPage::javaScriptConfirm(const QUrl&, const QString&)
{
    return true;
}

bool TQuietPage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*)
{
    return false;
}

// --- TWindowRelay ---------------------------------------------------------------

TWindowRelay::TWindowRelay(QWebEnginePage& target)
    : QWebEnginePage(target.profile(), &target), target_(&target)
{
}

bool TWindowRelay::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame)
{
    // A script may open an empty window first; wait for a real address.
    if (!isMainFrame || forwarded_ || url.scheme() == QLatin1String("about"))
        return false;
    forwarded_ = true;
    QTimer::singleShot(0, target_, [target = target_, url] {
        if (target)
            target->load(url);
    });
    deleteLater();
    return false;
}

QWebEnginePage* TWindowRelay::createWindow(WebWindowType)
{
    return nullptr;
}

// --- links and renderers -----------------------------------------------------------

bool IsWebLink(const QUrl& url)
{
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

TWebLinkOpener AskThenOpenInBrowser(QWidget* parent)
{
    return [parent = QPointer<QWidget>(parent)](const QUrl& url) {
        QMessageBox box(QMessageBox::Question, QGuiApplication::applicationDisplayName(),
                        str::sWebLinkQuestion().arg(url.toDisplayString()),
                        QMessageBox::Yes | QMessageBox::No, parent);
        box.setDefaultButton(QMessageBox::No);
        if (box.exec() == QMessageBox::Yes)
            QDesktopServices::openUrl(url);
    };
}

bool StopRenderer(const QWebEnginePage& page)
{
    const qint64 pid = page.renderProcessPid();
    if (pid <= 0)
        return false;
    return ::kill(pid_t(pid), SIGKILL) == 0;
}

QString ShownAddress(const QUrl& url)
{
    return url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toDisplayString();
}

}  // namespace brv
