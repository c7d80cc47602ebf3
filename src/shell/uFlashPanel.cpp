#include "shell/uFlashPanel.h"

#include "runtime/BRV_StrConstants.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHideEvent>
#include <QLabel>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QtEndian>

namespace brv {

namespace {

const QString kHostPage = QStringLiteral("FlashHost.html");
const QString kPlayerScript = QStringLiteral("ruffle.js");

// A movie cut short: an uncompressed movie records its own length in its
// header, and an empty file is no movie.  The player would show what it has
// of a cut movie, or nothing, without a word.
bool CutShort(const QFileInfo& movie)
{
    QFile file(movie.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return true;
    const QByteArray header = file.read(8);
    if (header.isEmpty())
        return true;
    if (header.size() < 8 || !header.startsWith("FWS"))
        return false;
    return movie.size() < qFromLittleEndian<quint32>(header.constData() + 4);
}

}  // namespace

TFlashPanel::TFlashPanel(const QString& programFolder, QWidget* parent)
    : QWidget(parent), playerFolder_(QDir(programFolder).filePath(QStringLiteral("ruffle")))
{
    setObjectName(QStringLiteral("FlashPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    notice_ = new QLabel(this);
    notice_->setObjectName(QStringLiteral("MovieNotice"));
    notice_->setWordWrap(true);
    notice_->setAlignment(Qt::AlignCenter);
    notice_->setMargin(24);
    notice_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    notice_->hide();
    layout->addWidget(notice_);
}

QString TFlashPanel::Notice() const
{
    return notice_->isHidden() ? QString() : notice_->text();
}

void TFlashPanel::showNotice(const QString& text)
{
    notice_->setText(text);
    notice_->show();
    if (flash_ != nullptr) {
        flash_->hide();
        if (Playing())
            flash_->setUrl(QUrl(QStringLiteral("about:blank")));
    }
}

// The host page's title says how the movie went: "loaded", or "failed".
void TFlashPanel::onTitleChanged(const QString& title)
{
    if (title == QLatin1String("failed") && !moviePath_.isEmpty())
        showNotice(str::sMovieDamaged().arg(QDir::toNativeSeparators(moviePath_)));
}

bool TFlashPanel::PlayerAvailable() const
{
    const QDir folder(playerFolder_);
    return QFileInfo(folder.filePath(kHostPage)).isFile() &&
           QFileInfo(folder.filePath(kPlayerScript)).isFile();
}

QUrl TFlashPanel::PlayerUrl(const QString& moviePath) const
{
    QUrl url = QUrl::fromLocalFile(QDir(playerFolder_).filePath(kHostPage));
    // Encoded whole, so no character of the path ("&", "+", "%") can be read
    // as part of the query's own syntax.
    const QByteArray movie = QUrl::fromLocalFile(moviePath).toEncoded(QUrl::FullyEncoded);
    url.setQuery(
        QStringLiteral("movie=") + QString::fromLatin1(QUrl::toPercentEncoding(QString::fromLatin1(movie))),
        QUrl::StrictMode);
    return url;
}

QWebEngineView* TFlashPanel::ensureView()
{
    if (flash_ != nullptr)
        return flash_;
    // Made on the first movie: most lessons never show one, and a web view
    // is the heaviest thing the program has.
    flash_ = new QWebEngineView(this);
    flash_->setObjectName(QStringLiteral("Flash"));
    flash_->setContextMenuPolicy(Qt::NoContextMenu);
    QWebEngineSettings* settings = flash_->settings();
    // The movies' sounds start with the movie, as in the Flash player.
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    settings->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    layout()->addWidget(flash_);
    connect(flash_, &QWebEngineView::titleChanged, this, &TFlashPanel::onTitleChanged);
    return flash_;
}

void TFlashPanel::LoadMovie(const QString& path)
{
    if (!PlayerAvailable())
        return;
    const QFileInfo movie(path);
    moviePath_.clear();
    if (!movie.isFile()) {
        showNotice(str::sMovieMissing().arg(QDir::toNativeSeparators(movie.absoluteFilePath())));
        return;
    }
    if (movie.size() > MaxMovieBytes) {
        showNotice(str::sMovieTooLarge()
                       .arg(QDir::toNativeSeparators(movie.absoluteFilePath()))
                       .arg(movie.size() >> 20)
                       .arg(MaxMovieBytes >> 20));
        return;
    }
    if (CutShort(movie)) {
        showNotice(str::sMovieDamaged().arg(QDir::toNativeSeparators(movie.absoluteFilePath())));
        return;
    }
    moviePath_ = movie.absoluteFilePath();
    notice_->hide();
    ensureView()->show();
    flash_->setUrl(PlayerUrl(moviePath_));
}

bool TFlashPanel::Playing() const
{
    return flash_ != nullptr && flash_->url().scheme() != QLatin1String("about") && !flash_->url().isEmpty();
}

// A hidden movie would go on using the processor and playing its sound: it
// is unloaded with its panel and starts again when the panel comes back.
void TFlashPanel::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous() && Playing())
        flash_->setUrl(QUrl(QStringLiteral("about:blank")));
}

void TFlashPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // After the event that showed the panel: that may be the loading of
    // another movie, which then plays instead.
    if (!event->spontaneous())
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && flash_ != nullptr && !moviePath_.isEmpty() && !Playing() &&
                notice_->isHidden())
                flash_->setUrl(PlayerUrl(moviePath_));
        });
}

}  // namespace brv
