#include "shell/uPageWatch.h"

#include "shell/uPageGuard.h"

#include <QPointer>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace brv {

namespace {

// A page may drop one question by navigating away while it is asked; only a
// renderer that lets two go unanswered is stuck.
constexpr int UnansweredToStop = 2;

}  // namespace

TPageWatch::TPageWatch(QWebEnginePage& page, QObject* parent) : QObject(parent), page_(page)
{
    loadTimer_.setSingleShot(true);
    answerTimer_.setSingleShot(true);
    connect(&loadTimer_, &QTimer::timeout, this, &TPageWatch::ask);
    connect(&answerTimer_, &QTimer::timeout, this, &TPageWatch::onSilence);
    connect(&page_, &QWebEnginePage::loadingChanged, this, &TPageWatch::onLoadingChanged);
    connect(&page_, &QWebEnginePage::renderProcessTerminated, this, &TPageWatch::onRenderProcessTerminated);
}

void TPageWatch::Expect(const QUrl& url)
{
    wanted_ = url;
    unanswered_ = 0;
    answerTimer_.stop();
    loadTimer_.stop();
    // The page the renderer is busy with: one still loading, else the one
    // shown.  The new page cannot be asked apart from it.
    suspect_ = loading_ ? started_ : shown_;
    checkingShown_ = !suspect_.isEmpty();
    if (checkingShown_)
        ask();
    else
        loadTimer_.start(patienceMs_);
}

void TPageWatch::ask()
{
    if (wanted_.isEmpty() || stopping_)
        return;
    // A move within the page shown loads nothing: there is nothing to wait for.
    if (!checkingShown_ && !loading_) {
        wanted_.clear();
        return;
    }
    const int question = ++question_;
    QPointer<TPageWatch> self(this);
    page_.runJavaScript(QStringLiteral("0"), QWebEngineScript::ApplicationWorld,
                        [self, question](const QVariant&) {
                            if (self)
                                self->onAnswer(question);
                        });
    answerTimer_.start(patienceMs_);
}

void TPageWatch::onAnswer(int question)
{
    if (question != question_ || wanted_.isEmpty())
        return;
    answerTimer_.stop();
    unanswered_ = 0;
    // The page shown answers, or the one loading is busy but alive: watch
    // the load on.
    checkingShown_ = false;
    loadTimer_.start(patienceMs_);
}

void TPageWatch::onSilence()
{
    if (wanted_.isEmpty())
        return;
    if (++unanswered_ < UnansweredToStop) {
        ask();
        return;
    }
    if (checkingShown_)
        stop(suspect_, wanted_);
    else
        stop(wanted_, QUrl());
}

// By value: the addresses may be the watch's own, cleared below.
void TPageWatch::stop(QUrl stuck, QUrl retry)
{
    loadTimer_.stop();
    answerTimer_.stop();
    wanted_.clear();
    shown_.clear();
    stuck_ = stuck;
    retry_ = retry;
    stopping_ = StopRenderer(page_);
    if (!stopping_)
        emit Stopped(stuck, retry);
}

void TPageWatch::onLoadingChanged(const QWebEngineLoadingInfo& info)
{
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        loading_ = true;
        started_ = info.url();
        return;
    }
    loading_ = false;
    if (stopping_)
        return;
    shown_ = info.url();
    wanted_.clear();
    loadTimer_.stop();
    answerTimer_.stop();
}

// Whether stopped here or crashed on its own, the renderer is gone; the
// engine starts a new one with the next load.
void TPageWatch::onRenderProcessTerminated()
{
    QUrl stuck = stuck_;
    QUrl retry = retry_;
    if (!stopping_) {
        stuck = wanted_.isEmpty() ? shown_ : wanted_;
        retry.clear();
    }
    stopping_ = false;
    loading_ = false;
    stuck_.clear();
    retry_.clear();
    wanted_.clear();
    shown_.clear();
    loadTimer_.stop();
    answerTimer_.stop();
    // Not from inside the engine's signal: the page may be loaded again.
    QPointer<TPageWatch> self(this);
    QTimer::singleShot(0, this, [self, stuck, retry] {
        if (self)
            emit self->Stopped(stuck, retry);
    });
}

}  // namespace brv
