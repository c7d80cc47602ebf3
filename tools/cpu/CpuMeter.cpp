#include "CpuMeter.h"

#include <QDir>
#include <QFile>
#include <QList>

#include <unistd.h>

#include <map>
#include <vector>

namespace brv::cpu {

bool ParseProcStat(const QByteArray& line, long long& parent, long long& ticks)
{
    const int close = line.lastIndexOf(')');
    if (close < 0)
        return false;
    // After the name: state(3) ppid(4) … utime(14) stime(15).
    const QList<QByteArray> fields = line.mid(close + 1).simplified().split(' ');
    if (fields.size() < 13)
        return false;
    bool ok1 = false;
    bool ok2 = false;
    bool ok3 = false;
    parent = fields[1].toLongLong(&ok1);
    ticks = fields[11].toLongLong(&ok2) + fields[12].toLongLong(&ok3);
    return ok1 && ok2 && ok3;
}

namespace {

struct TProcess {
    long long parent = 0;
    long long ticks = 0;
};

std::map<long long, TProcess> AllProcesses()
{
    std::map<long long, TProcess> all;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : pids) {
        bool numeric = false;
        const long long pid = name.toLongLong(&numeric);
        if (!numeric)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(name));
        if (!stat.open(QIODevice::ReadOnly))
            continue;  // gone meanwhile
        TProcess p;
        if (ParseProcStat(stat.readAll(), p.parent, p.ticks))
            all[pid] = p;
    }
    return all;
}

}  // namespace

TCpuTimes ReadCpuTimes()
{
    const double tick = double(sysconf(_SC_CLK_TCK));
    const std::map<long long, TProcess> all = AllProcesses();
    const long long self = getpid();
    TCpuTimes times;
    if (const auto found = all.find(self); found != all.end())
        times.self = double(found->second.ticks) / tick;
    // Descendants: walk each process's parents up to us.
    for (const auto& [pid, process] : all) {
        if (pid == self)
            continue;
        long long up = process.parent;
        for (int depth = 0; up > 1 && up != self && depth < 64; ++depth) {
            const auto parent = all.find(up);
            up = parent == all.end() ? 0 : parent->second.parent;
        }
        if (up == self)
            times.helpers += double(process.ticks) / tick;
    }
    return times;
}

}  // namespace brv::cpu
