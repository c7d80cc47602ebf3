// The program folder (the executable's folder) and paths inside it.
//
// Lesson content is addressed the Windows way ("HTML\Images\Splash.png") and
// was written on a case-insensitive file system, so a relative path is joined
// to the folder and resolved component by component, ignoring case.
#pragma once

#include <QString>

namespace brv {

// The folder of the running executable (QCoreApplication::applicationDirPath).
QString DefaultProgramFolder();

// Joins relative ("html\index.html" or "html/index.html") to folder.  Each
// component is matched case-insensitively against what exists (an exact match
// wins); components that do not exist are appended as written.  ".." and "."
// components are refused (the result is empty) so a name can never leave the
// folder.
QString ResolveInFolder(const QString& folder, const QString& relative);

// True when ResolveInFolder gives an existing file.
bool ExistsInFolder(const QString& folder, const QString& relative);

}  // namespace brv
