// The pupil's results of one experiment, kept in a file of their own in the
// user's data folder and written as the pupil types.
//
// The file is JSON:
//     {"format": "brevalis-results", "version": 1, "experiment": 1,
//      "question": "height", "fit": "line", "fromZero": false,
//      "tables": {"height": [{"x": 20, "r": [29.4, null, 31.0], "a": [0, 0, 1],
//                              "c": ["20 ºC"]}, …]}}
// "r" holds the repeats (null: blank), "a" marks the anomalies, "c" the
// control settings as recorded.  Tables are keyed by the declaration's stable
// key, so a translation of the question texts keeps them.
//
// Writes are atomic (a whole new file renamed over the old one) and guarded by
// a lock file, so two running copies of the program never leave a file half
// written.  A file that cannot be read is moved aside under a new name and
// reported; the pupil starts again with empty tables, and nothing is lost.
#pragma once

#include "notebook/ResultsModel.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace brv {

enum class TFitKind { None, Line, ThroughOrigin, Curve };

struct TNotebookContents {
    QString question;  // key of the table shown
    TFitKind fit = TFitKind::Line;
    bool fromZero = false;
    std::map<QString, std::vector<TResultsRow>> tables;
};

// Files larger than this are refused unread: a table of ten thousand rows
// takes well under a megabyte.
constexpr qint64 kMaxResultsFileBytes = 4 * 1024 * 1024;

QByteArray EncodeNotebook(ExperimentId id, const TNotebookContents& contents);

struct TDecodedNotebook {
    std::optional<TNotebookContents> contents;  // empty: damaged
    QString error;                              // why, in a few words
};
// Tables the declarations don't know are dropped; rows are fitted to the
// declared number of repeats and controls.
TDecodedNotebook DecodeNotebook(const QByteArray& bytes, ExperimentId id,
                                const std::vector<TResultsTableDeclaration>& declarations);

// The folder the results live in: the user's data folder.
QString DefaultResultsFolder();

class TResultsStore {
public:
    explicit TResultsStore(QString folder = DefaultResultsFolder());
    QString Folder() const { return folder_; }
    QString FilePath(ExperimentId id) const;

    struct TLoaded {
        TNotebookContents contents;  // empty when there was no file or it was damaged
        QString damagedPath;         // where a damaged file was put aside
        QString error;               // what was wrong with it
    };
    TLoaded Load(ExperimentId id, const std::vector<TResultsTableDeclaration>& declarations) const;
    // Empty on success, otherwise why not.
    QString Save(ExperimentId id, const TNotebookContents& contents) const;

private:
    QString folder_;
};

}  // namespace brv
