// A unit's own texts.  Each text is a function in namespace brv::str, so a
// translation loaded at start-up replaces it, translated in the context of
// the unit that shows it ("uBall"): a translator sees each experiment's texts
// together, and a change to one experiment's texts rebuilds that experiment
// alone.  The shell's and the shared texts stay in BRV_StrConstants.h.
#pragma once

#include <QCoreApplication>
#include <QString>

#define BRV_UNIT_STRING(context, name, text)               \
    inline QString name()                                  \
    {                                                      \
        return QCoreApplication::translate(context, text); \
    }
