// Every caption, hint, menu item, unit postfix and message of the program.
// Each text is a function so that a translation loaded at start-up replaces it;
// the texts of each unit live in a file of their own under strings/.
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
#include "strings/Ball.inc"
#include "strings/Common.inc"
#include "strings/EMagnet.inc"
#include "strings/Expansion.inc"
#include "strings/Heating.inc"
#include "strings/Lesson.inc"
#include "strings/Reswire.inc"
#include "strings/Shell.inc"
#include "strings/TerminalVelocity.inc"
}  // namespace brv::str
