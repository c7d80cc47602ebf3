// The program folder (the executable's folder) and paths inside it.
//
// Lesson content is addressed the Windows way ("HTML\Images\Splash.png") and
// was written on a case-insensitive file system, so a relative path is joined
// to the folder and resolved component by component, ignoring case.
#pragma once

#include <QString>

namespace brv {

// The folder that holds the lesson book for the running executable
// (ProgramFolderFor its own folder).
QString DefaultProgramFolder();

// Where an executable in executableFolder finds its lesson book: beside
// itself, as in the build folder, else in the data folder of an installed
// layout (share/brevalis of the same prefix, found relative to the
// executable so that any prefix works).  The executable's own folder when
// neither holds a book: the missing pages are then skipped as any missing
// content is.
QString ProgramFolderFor(const QString& executableFolder);

// True when folder holds a lesson book (its html folder).
bool HoldsLessonBook(const QString& folder);

// A helper program of Brevalis ("brv-helpreader") for an executable in
// executableFolder: beside it in the build folder, else in the installed
// layout's helper folder (libexec/brevalis of the same prefix).  The path
// beside the executable when neither exists, so a message can name it.
QString HelperProgramFor(const QString& executableFolder, const QString& name);
QString HelperProgram(const QString& name);

// Joins relative ("html\index.html" or "html/index.html") to folder.  Each
// component is matched case-insensitively against what exists (an exact match
// wins); components that do not exist are appended as written.  ".." and "."
// components are refused (the result is empty) so a name can never leave the
// folder.
QString ResolveInFolder(const QString& folder, const QString& relative);

// True when ResolveInFolder gives an existing file.
bool ExistsInFolder(const QString& folder, const QString& relative);

}  // namespace brv
