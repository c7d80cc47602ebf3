// What every web view of the program holds shut, whatever the page it shows
// was written to do: no boxes raised by a page's scripts, no other windows,
// no web page inside the program (a web link is offered to the desktop's
// browser instead), and a renderer that stops answering can be stopped.
#pragma once

#include <QPointer>
#include <QUrl>
#include <QWebEnginePage>

#include <functional>

class QWidget;

namespace brv {

// A page whose scripts cannot raise alert, confirm or prompt boxes.  The
// lesson book and the help use none, and a page that raised them in a loop
// would leave the pupil a box that comes back as soon as it is dismissed.
// confirm() is answered "OK" without a box: the engine asks the same question
// when a page wants to keep the pupil from leaving it, and the pupil may
// always leave.
class TQuietPage : public QWebEnginePage {
    Q_OBJECT
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    void javaScriptAlert(const QUrl& securityOrigin, const QString& message) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& message) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& message, const QString& defaultValue,
                          QString* result) override;
};

// Stands in for a window that a link or a script asked for: the first page
// it is sent to opens in target instead (through target's own routing), and
// the stand-in goes away.
class TWindowRelay : public QWebEnginePage {
    Q_OBJECT
public:
    explicit TWindowRelay(QWebEnginePage& target);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    QPointer<QWebEnginePage> target_;
    bool forwarded_ = false;
};

// An address on the web (http or https), as opposed to the program's own files.
bool IsWebLink(const QUrl& url);

// What is done with a web link a page leads to; the default asks the user
// (over parent) and opens the link in the desktop's browser on Yes.
using TWebLinkOpener = std::function<void(const QUrl& url)>;
TWebLinkOpener AskThenOpenInBrowser(QWidget* parent);

// Ends the renderer process of page at once; the engine starts a fresh one
// for the next page it loads.  False when page has no renderer.
bool StopRenderer(const QWebEnginePage& page);

// How an address is named to the pupil: a local file by its path.
QString ShownAddress(const QUrl& url);

}  // namespace brv
