// CPU time of this process and of the processes it started (the web
// engine's renderer and helpers), read from /proc.
#pragma once

#include <QByteArray>

namespace brv::cpu {

struct TCpuTimes {
    double self = 0;     // seconds, every thread of this process
    double helpers = 0;  // seconds, every process descended from this one
};

TCpuTimes ReadCpuTimes();

// One line of /proc/<pid>/stat: its parent's id and its user + system time
// in clock ticks.  The command name may hold spaces and parentheses, so the
// fields are counted from the last ')'.
bool ParseProcStat(const QByteArray& line, long long& parent, long long& ticks);

}  // namespace brv::cpu
