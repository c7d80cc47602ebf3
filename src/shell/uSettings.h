// The six user preferences of the main window, and where the pupil was, kept per user under
// "Karvelle" / "BRV_v4" (the registry on Windows, an INI file under the user's
// config folder elsewhere).
//
// The settings are the user's file and may have been edited or damaged, so
// reading checks every value: one of the wrong type or size, or out of its
// range, counts as absent and the window keeps its default for it.
#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

class QSettings;

namespace brv {

// Values that were present and sound; the rest are left empty.
struct TSavedSettings {
    std::optional<int> zoom;                // 0-4
    std::optional<QString> textBackground;  // "#FFFFFF", "#D9EAFF" or "#FFFFE0"
    std::optional<bool> toolbarsAtTop;      // "TBTop": only 0 means the bottom
    std::optional<QString> skin;            // a known theme name
    std::optional<bool> large;
    std::optional<QRect> position;  // window bounds, fitted into a screen's work area
    // Where the pupil was, beside the six: the lesson page (a file name of the
    // lesson book's html folder), the experiment and the split (0 normal,
    // 1 left pane maximised, 2 right pane maximised).
    std::optional<QString> page;
    std::optional<int> experiment;
    std::optional<int> split;
    // The store's file, and the names of the values it held that could not be
    // used (the window keeps its defaults for them).
    QString file;
    QStringList unusable;
};

// What the user is told of unusable values: which file held which; empty
// when every value present was used.
QString UnusableSettingsMessage(const TSavedSettings& saved);

// What the window writes when it closes.
struct TSettingsToSave {
    int zoom = 2;
    QString textBackground;
    bool toolbarsAtTop = true;
    QString skin;
    bool large = false;
    QRect position;
    QString page;  // empty: none to remember
    int experiment = 0;
    int split = 0;
};

// The store itself: organisation "Karvelle", application "BRV_v4", native format.
QSettings* NewSettingsStore();

// The user's own values, each one the user does not have taken from the
// school's settings (SchoolSettingsFiles) when the school set it.  A value
// the school locks (its "locked" list of value names) is the school's even
// where the user has one, or the built-in one when the school gives none.
// Nothing when neither has a value (first start without school settings).
std::optional<TSavedSettings> ReadSettings();
// The values of one store as they are, without the school's.
std::optional<TSavedSettings> ReadSettings(QSettings& store);

// The school's settings: the files "Karvelle/BRV_v4.conf" (then
// "Karvelle.conf") that exist in the system's configuration folders
// ($XDG_CONFIG_DIRS, /etc/xdg when unset), in the order they are read, the
// first holding a value winning.  The same files Qt's own system scope reads.
QStringList SchoolSettingsFiles();
// Those of SchoolSettingsFiles that cannot be used and are ignored whole: a
// file that cannot be read, is damaged, or holds a value of no use.  The
// school meant every value in it, so none of them is taken on its own.
QStringList IgnoredSchoolSettingsFiles();

// Writes the six values in their fixed order, then where the pupil was; false (and nothing said to the
// user) when the store cannot be written.
bool WriteSettings(const TSettingsToSave& values);
bool WriteSettings(QSettings& store, const TSettingsToSave& values);

// "position": Left, Top, Right, Bottom as signed 32-bit little-endian
// integers; Right and Bottom lie just outside the window.
QByteArray EncodePosition(const QRect& bounds);
// Empty for anything but 16 bytes describing a window of sane size.
std::optional<QRect> DecodePosition(const QByteArray& bytes);
// bounds made to fit the available area (the work area) of the screen they
// land on, the one holding most of them: no wider or taller than that area
// and moved inside it.  Settings saved on a large display and read on a small
// one would otherwise open a window the engine cannot draw, or one whose close
// confirmation is off the screen.  Empty when no screen shows a usable part.
std::optional<QRect> FitOnScreen(const QRect& bounds);

// The results panel under the experiment, beside the six: shown or not, and
// its height in pixels.  Read and written on their own, when the pupil
// changes them.
struct TResultsPanelPlace {
    bool shown = false;
    int height = 0;  // 0: not chosen yet
};
TResultsPanelPlace ReadResultsPanelPlace();
void WriteResultsPanelPlace(const TResultsPanelPlace& place);

}  // namespace brv
