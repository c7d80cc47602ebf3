// Reading a sanitizer's report out of what a process of ours wrote on its
// error output: is the fault ours, or a library's?  The help reader runs
// chmlib on damaged files on purpose, and chmlib's own faults on them are
// expected; a fault in our code never is.
#pragma once

#include <QByteArray>
#include <QRegularExpression>
#include <QString>

namespace brv::test {

// The first frame of the log's first stack trace that is not the sanitizer's
// own, as the sanitizer wrote it ("in CopyObject ../src/shell/x.cpp:97",
// "(/usr/lib/x86_64-linux-gnu/libchm.so.1+0x3a1b)"); empty when the log holds
// no stack trace.
inline QString FirstFrameOfSubstance(const QByteArray& log)
{
    static const QRegularExpression frame(QStringLiteral(R"(^\s*#\d+ 0x[0-9a-f]+ (.*)$)"),
                                          QRegularExpression::MultilineOption);
    static const QRegularExpression sanitizers(QStringLiteral(
        R"(^in (__interceptor_|__asan|__sanitizer|__ubsan)|/libasan|/libubsan|/libsanitizer/)"));
    for (auto it = frame.globalMatch(QString::fromUtf8(log)); it.hasNext();) {
        const QString text = it.next().captured(1).trimmed();
        if (!sanitizers.match(text).hasMatch())
            return text;
    }
    return {};
}

// True when the log reports a fault whose first frame of substance is in our
// code (a function of ours, or a source file of ours: symbolizers differ in
// whether they name the namespace), or any undefined behaviour (only our code
// is built to report it).
inline bool SanitizerFaultOfOurs(const QByteArray& log)
{
    static const QRegularExpression ours(
        QStringLiteral(R"(^in brv::|\s(\S*/)?(src|tests|tools)/\S+\.(cpp|h):\d+)"));
    const QString first = FirstFrameOfSubstance(log);
    return log.contains("runtime error:") ||
           (!first.contains(QLatin1String("/usr/")) && ours.match(first).hasMatch());
}

}  // namespace brv::test
