// The Flash panel of the left pane: Flash movies play in the Ruffle emulator's
// web build, hosted by a page beside the executable (ruffle/FlashHost.html)
// in a web view.  The movie is shown whole (scaled to show all of it), loops,
// plays at high quality, has no network access, splash or context menu.
#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

class QLabel;
class QWebEngineView;

namespace brv {

class TFlashPanel : public QWidget {
    Q_OBJECT
public:
    // programFolder holds ruffle/ with the player and its host page.
    explicit TFlashPanel(const QString& programFolder, QWidget* parent = nullptr);

    // No movie of the program comes near this; a larger file is not handed
    // to the player.
    static constexpr qint64 MaxMovieBytes = qint64(64) << 20;

    // Loads the movie file as the main movie.  A missing, damaged or
    // oversized movie is not played: the panel says which file it is and
    // what still works.  A missing player loads nothing and says nothing.
    void LoadMovie(const QString& path);
    // What the panel says in place of a movie (empty while it plays one).
    QString Notice() const;
    QString MoviePath() const { return moviePath_; }

    // The address the player page is opened with for a movie.
    QUrl PlayerUrl(const QString& moviePath) const;
    bool PlayerAvailable() const;

    // The web view that plays the movie, made on the first movie (null until then).
    QWebEngineView* Flash() const { return flash_; }
    // A movie is loaded in the player (none while the panel is hidden).
    bool Playing() const;

protected:
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWebEngineView* ensureView();
    void showNotice(const QString& text);
    void onTitleChanged(const QString& title);
    QString playerFolder_;
    QString moviePath_;
    QWebEngineView* flash_ = nullptr;
    QLabel* notice_ = nullptr;
};

}  // namespace brv
