// Watches a web page's loads so that no page can leave its view stuck.  A
// page whose script never ends (or one too large to lay out) holds its
// renderer's only thread: the next page asked for is never shown, whatever
// the pupil chooses.  When a load does not finish in time, the watch asks
// the renderer a trivial question; a renderer that answers is merely busy,
// one that twice does not is stopped, and the watch says which page it was.
#pragma once

#include <QObject>
#include <QTimer>
#include <QUrl>

class QWebEngineLoadingInfo;
class QWebEnginePage;

namespace brv {

class TPageWatch : public QObject {
    Q_OBJECT
public:
    // How long a load may go on, and a question may go unanswered, by default.
    static constexpr int DefaultPatienceMs = 3000;

    explicit TPageWatch(QWebEnginePage& page, QObject* parent = nullptr);

    void SetPatience(int ms) { patienceMs_ = ms; }
    // A load of url is about to start.
    void Expect(const QUrl& url);

signals:
    // The renderer showing stuck (the page shown, or the one being loaded)
    // did not answer and was stopped.  retry is the page that was asked for
    // and should be loaded again; empty when it was the stuck one.
    void Stopped(const QUrl& stuck, const QUrl& retry);

private:
    void onLoadingChanged(const QWebEngineLoadingInfo& info);
    void onRenderProcessTerminated();
    void ask();
    void onAnswer(int question);
    void onSilence();
    void stop(QUrl stuck, QUrl retry);

    QWebEnginePage& page_;
    int patienceMs_ = DefaultPatienceMs;
    QTimer loadTimer_;
    QTimer answerTimer_;
    QUrl shown_;                  // the last page that finished loading
    QUrl wanted_;                 // the page being loaded; empty when none is
    bool loading_ = false;        // the engine has started a load that has not finished
    QUrl started_;                // the page of the last load started
    QUrl suspect_;                // the page the renderer was busy with when a new one was asked for
    bool checkingShown_ = false;  // the question is about suspect_, not the page wanted
    int question_ = 0;
    int unanswered_ = 0;
    // Set between stopping a renderer and the engine's word that it ended.
    bool stopping_ = false;
    QUrl stuck_;
    QUrl retry_;
};

}  // namespace brv
