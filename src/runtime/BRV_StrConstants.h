// Every caption, hint, menu item, unit postfix and message of the shell, and
// the texts many units share.  Each text is a function so that a translation
// loaded at start-up replaces it; the texts of each unit live in a file of
// their own under strings/.  An experiment's own texts live beside it, in its
// uNameStrings.h (runtime/UnitStrings.h).
#pragma once

#include <QCoreApplication>
#include <QString>

#define BRV_STRING(name, text)                                        \
    inline QString name()                                             \
    {                                                                 \
        return QCoreApplication::translate("BRV_StrConstants", text); \
    }

namespace brv::str {
#include "strings/Apparatus.inc"
#include "strings/Common.inc"
#include "strings/Lesson.inc"
#include "strings/Notebook.inc"
#include "strings/Shell.inc"
}  // namespace brv::str
