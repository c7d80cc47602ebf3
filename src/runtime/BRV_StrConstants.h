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
#include "strings/Amylase.inc"
#include "strings/Apparatus.inc"
#include "strings/Ball.inc"
#include "strings/CaCarb.inc"
#include "strings/Car.inc"
#include "strings/Common.inc"
#include "strings/EMagnet.inc"
#include "strings/Expansion.inc"
#include "strings/Friction.inc"
#include "strings/Heating.inc"
#include "strings/Lesson.inc"
#include "strings/Notebook.inc"
#include "strings/Particles.inc"
#include "strings/Peroxide.inc"
#include "strings/Photosynthesis.inc"
#include "strings/Reswire.inc"
#include "strings/Shell.inc"
#include "strings/Spring.inc"
#include "strings/TerminalVelocity.inc"
#include "strings/ThermoChem.inc"
#include "strings/Yeast.inc"
}  // namespace brv::str
