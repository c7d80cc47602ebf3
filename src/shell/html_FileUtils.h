// Helpers the lesson pane routes with: the last segment of an address, the
// table from lesson page names to experiments, the files behind "$" picture
// links and behind a picture's source address, and string literals for the
// scripts the pane runs in its pages.
#pragma once

#include "runtime/Catalogue.h"

#include <QString>

namespace brv {

// The text after the last "/" of url (after the last "\" when it has no "/").
QString LastUrlSegment(const QString& url);

// The experiment a lesson page belongs to.  segment is a last segment as
// above; a leading "/" and any anchor ("#...") are dropped and case is
// ignored.  Pages outside the table (the index page, general pages) give
// current, so opening them keeps the experiment shown.
ExperimentId PageExperimentId(const QString& segment, ExperimentId current);

// The lesson page that shows id's experiment (the family's main page); empty
// when no page leads to id.
QString ExperimentMainPage(ExperimentId id);

// The file a "$" link names: "html\images\" + the segment without its "$",
// percent escapes decoded, resolved case-insensitively in programFolder.
// Empty when the name is empty or would leave the images folder, by ".." or
// by a symbolic link that leads out of it.
QString DollarPicturePath(const QString& programFolder, const QString& segment);

// True when file lies in one of the program folder's content folders (the
// lesson book "html", the movies "Flash", the help "Help"), matched without
// regard to case.  Links are followed to where they really lead, so neither
// ".." nor a symbolic link gets out.
bool IsInsideLessonBook(const QString& programFolder, const QString& file);

// The local file behind a picture's source address ("file:///.../a%20b.png");
// empty for an address that is not a local file.
QString PictureSourceToFile(const QString& sourceUrl);

// text as a JavaScript string literal (JSON string syntax, quotes included),
// safe to splice into a script whatever the text holds.
QString JsStringLiteral(const QString& text);

}  // namespace brv
