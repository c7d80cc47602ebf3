// Feeds arbitrary bytes to the lesson-index loader.  A damaged file may only
// end in EBadIndexFile; whatever was loaded must then render and answer
// lookups without touching memory it does not own.
#include "shell/ewb_Index.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    brv::TEWBHTMLIndex index;
    try {
        index.LoadFromData(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const brv::EBadIndexFile&) {
    }
    index.Expand(0);
    index.ExpandAll();
    const int heading = index.FindHeading(QStringLiteral("BALL.HTM"));
    index.Toggle(heading);
    index.Select(QStringLiteral("ball.htm"));
    (void)index.Render();
    return 0;
}
