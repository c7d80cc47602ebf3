#include "shell/uHelpReader.h"

#include "shell/uHelpReply.h"

#include <chm_lib.h>
#include <sys/resource.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define BRV_HELP_READER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BRV_HELP_READER_ASAN 1
#endif
#endif

namespace brv {

namespace {

using namespace helpreply;

// A damaged file must not leave a core file behind, nor take the machine's
// memory or time: the reader is stopped long before.
void LimitResources()
{
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    const rlimit cpuSeconds{30, 30};
    setrlimit(RLIMIT_CPU, &cpuSeconds);
#ifndef BRV_HELP_READER_ASAN
    // The address sanitizer reserves terabytes of address space up front.
    const rlimit memory{rlim_t(1) << 30, rlim_t(1) << 30};
    setrlimit(RLIMIT_AS, &memory);
#endif
}

class TReplyWriter {
public:
    explicit TReplyWriter(std::FILE* out) : out_(out) {}

    void Begin() { bytes(Magic, MagicLength); }

    void Object(const char* path, const std::vector<unsigned char>& data)
    {
        tag(ObjectTag);
        const auto pathLength = std::uint32_t(std::strlen(path));
        u32(pathLength);
        bytes(path, pathLength);
        u32(std::uint32_t(data.size()));
        bytes(data.data(), data.size());
        ++objects_;
    }

    void End()
    {
        tag(EndTag);
        u32(objects_);
    }

    // False when the program stopped listening.
    bool Flush() { return std::fflush(out_) == 0 && !std::ferror(out_); }

private:
    void tag(char t) { bytes(&t, 1); }

    void u32(std::uint32_t value)
    {
        const unsigned char le[4] = {
            static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
            static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
        bytes(le, 4);
    }

    void bytes(const void* data, std::size_t size)
    {
        if (size > 0)
            std::fwrite(data, 1, size, out_);
    }

    std::FILE* out_;
    std::uint32_t objects_ = 0;
};

struct TReadState {
    TReplyWriter* writer;
    std::uint64_t total = 0;
    std::uint32_t objects = 0;
    int status = Read;
};

// Reads one object whole; any shortfall means the file is damaged.
int CopyObject(chmFile* file, chmUnitInfo& unit, TReadState& state)
{
    if (unit.length > MaxObjectBytes || state.objects >= MaxObjects ||
        state.total + unit.length > MaxTotalBytes || std::strlen(unit.path) > MaxPathBytes)
        return TooLarge;
    std::vector<unsigned char> data(std::size_t(unit.length));
    if (unit.length > 0) {
        const LONGINT64 got = chm_retrieve_object(file, &unit, data.data(), 0, LONGINT64(unit.length));
        if (got != LONGINT64(unit.length))
            return Damaged;
    }
    state.writer->Object(unit.path, data);
    state.total += unit.length;
    ++state.objects;
    return Read;
}

std::uint64_t LittleEndian(const unsigned char* bytes, int count)
{
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

// A compiled help file records its own length in the first section of its
// header.  A file shorter than that was cut off: whatever chmlib would still
// read from it, some of it is gone.
bool CutShort(const char* path)
{
    std::FILE* in = std::fopen(path, "rb");
    if (in == nullptr)
        return false;
    unsigned char header[0x58];
    unsigned char section[16];
    bool cut = false;
    if (std::fread(header, 1, sizeof header, in) == sizeof header && std::memcmp(header, "ITSF", 4) == 0) {
        const std::uint64_t sectionAt = LittleEndian(header + 0x38, 8);
        if (sectionAt <= std::uint64_t(LONG_MAX) && std::fseek(in, long(sectionAt), SEEK_SET) == 0 &&
            std::fread(section, 1, sizeof section, in) == sizeof section &&
            LittleEndian(section, 4) == 0x1FE && std::fseek(in, 0, SEEK_END) == 0) {
            const long actual = std::ftell(in);
            cut = actual >= 0 && LittleEndian(section + 8, 8) > std::uint64_t(actual);
        }
    }
    std::fclose(in);
    return cut;
}

int CopyEach(chmFile* file, chmUnitInfo* unit, void* context)
{
    auto& state = *static_cast<TReadState*>(context);
    state.status = CopyObject(file, *unit, state);
    return state.status == Read ? CHM_ENUMERATOR_CONTINUE : CHM_ENUMERATOR_FAILURE;
}

int CopyAll(chmFile* file, TReplyWriter& writer)
{
    TReadState state{&writer};
    // The system record sits among the special objects the enumeration of
    // ordinary files leaves out.
    chmUnitInfo system{};
    if (chm_resolve_object(file, "/#SYSTEM", &system) == CHM_RESOLVE_SUCCESS)
        state.status = CopyObject(file, system, state);
    if (state.status == Read &&
        chm_enumerate(file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, CopyEach, &state) == 0 &&
        state.status == Read)
        state.status = Damaged;
    return state.status;
}

}  // namespace

int RunHelpReader(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s HELP-FILE\n", argc > 0 ? argv[0] : "brv-helpreader");
        return Usage;
    }
    LimitResources();
    if (CutShort(argv[1]))
        return Damaged;
    chmFile* file = chm_open(argv[1]);
    if (file == nullptr)
        return NotAHelpFile;
    TReplyWriter writer(stdout);
    writer.Begin();
    const int status = CopyAll(file, writer);
    chm_close(file);
    if (status == Read)
        writer.End();
    return writer.Flush() ? status : Damaged;
}

}  // namespace brv
