// The choice between composing the window through the GPU and by software.
#include "common/Composition.h"

#include <QByteArray>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <optional>

namespace brv {
namespace {

// The system's answer, or none at all; counts the asks, since probing makes
// an OpenGL context and is asked for only when nothing else settles it.
struct Renderer {
    std::optional<QString> name;
    int* asked;
    std::optional<QString> operator()() const
    {
        ++*asked;
        return name;
    }
};

struct Case {
    const char* what;
    const char* graphics;  // BRV_GRAPHICS
    const char* quick;     // QT_QUICK_BACKEND
    const char* platform;
    std::optional<QString> renderer;
    TComposition expected;
    bool probed;
    const char* reasonHolds;
};

TEST(CompositionTest, TheCheapestPathUnlessTheUserChoseOne)
{
    using enum TComposition;
    const QString llvmpipe = QStringLiteral("llvmpipe (LLVM 15.0.6, 256 bits)");
    const QString intel = QStringLiteral("Mesa Intel(R) UHD Graphics 620 (KBL GT2)");
    const Case cases[] = {
        {"software GL", "", "", "xcb", llvmpipe, Software, true, "llvmpipe"},
        {"a real GPU", "", "", "xcb", intel, Gpu, true, "Intel"},
        {"no OpenGL at all", "", "", "", std::nullopt, Software, true, "no OpenGL"},
        {"auto asks the system", " Auto ", "", "xcb", intel, Gpu, true, "Intel"},
        {"a platform without a GPU", "", "", "offscreen", intel, Software, false, "offscreen"},
        {"the user's software", "software", "", "xcb", intel, Software, false, "BRV_GRAPHICS"},
        {"the user's GPU", "GPU", "", "xcb", llvmpipe, Gpu, false, "BRV_GRAPHICS"},
        {"the user's Qt Quick backend", "", "software", "xcb", intel, Software, false, "QT_QUICK_BACKEND"},
        {"Qt Quick's own choice beats ours", "software", "rhi", "xcb", llvmpipe, Gpu, false,
         "QT_QUICK_BACKEND"},
        {"a value we do not know is said", "fast", "", "xcb", llvmpipe, Software, true, "fast"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int asked = 0;
        TCompositionFacts facts;
        facts.graphicsOverride = QString::fromLatin1(c.graphics);
        facts.quickBackend = QString::fromLatin1(c.quick);
        facts.platform = QString::fromLatin1(c.platform);
        facts.glRenderer = Renderer{c.renderer, &asked};
        const TCompositionChoice choice = DecideComposition(facts);
        EXPECT_EQ(choice.path, c.expected);
        EXPECT_EQ(asked > 0, c.probed);
        EXPECT_TRUE(choice.reason.contains(QString::fromLatin1(c.reasonHolds))) << qPrintable(choice.reason);
    }
}

TEST(CompositionTest, SoftwareRasterisersAreKnownByName)
{
    for (const char* name : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Software Rasterizer",
                             "Google SwiftShader", "Mesa X11 swrast", "Microsoft Basic Render Driver"})
        EXPECT_TRUE(IsSoftwareRenderer(QString::fromLatin1(name))) << name;
    for (const char* name : {"Mesa Intel(R) UHD Graphics 620", "AMD Radeon RX 580 (radeonsi, polaris10)",
                             "NVIDIA GeForce GTX 1050/PCIe/SSE2", "Apple M1", ""})
        EXPECT_FALSE(IsSoftwareRenderer(QString::fromLatin1(name))) << name;
}

// Restores an environment variable as it was.
class SavedVariable {
public:
    explicit SavedVariable(const char* name)
        : name_(name), set_(qEnvironmentVariableIsSet(name)), value_(qgetenv(name))
    {
    }
    ~SavedVariable()
    {
        if (set_)
            qputenv(name_, value_);
        else
            qunsetenv(name_);
    }
    SavedVariable(const SavedVariable&) = delete;
    SavedVariable& operator=(const SavedVariable&) = delete;

private:
    const char* name_;
    bool set_;
    QByteArray value_;
};

// The choice reaches the web views through Qt Quick's backend variable, and
// never overrides one the user set.
TEST(CompositionTest, ChoosingSoftwareSetsQtQuicksBackendUnlessTheUserDid)
{
    const SavedVariable graphics("BRV_GRAPHICS");
    const SavedVariable quick("QT_QUICK_BACKEND");
    qunsetenv("QT_QUICK_BACKEND");
    qputenv("BRV_GRAPHICS", "software");
    EXPECT_EQ(ChooseComposition().path, TComposition::Software);
    EXPECT_EQ(qgetenv("QT_QUICK_BACKEND"), QByteArray("software"));
    EXPECT_EQ(ChosenComposition().path, TComposition::Software);

    qunsetenv("QT_QUICK_BACKEND");
    qputenv("BRV_GRAPHICS", "gpu");
    EXPECT_EQ(ChooseComposition().path, TComposition::Gpu);
    EXPECT_FALSE(qEnvironmentVariableIsSet("QT_QUICK_BACKEND"));

    qputenv("QT_QUICK_BACKEND", "rhi");
    qputenv("BRV_GRAPHICS", "software");
    EXPECT_EQ(ChooseComposition().path, TComposition::Gpu);
    EXPECT_EQ(qgetenv("QT_QUICK_BACKEND"), QByteArray("rhi"));
}

// The probe runs before the application object exists and must survive any
// system: no library, no display, or (as here, most likely) a software
// rasteriser.  What it finds depends on the machine; that it answers is the
// test, with a name when it does.
TEST(CompositionTest, TheProbeAnswersOnAnySystem)
{
    const std::optional<QString> renderer = ProbeOpenGLRenderer();
    if (renderer) {
        EXPECT_FALSE(renderer->trimmed().isEmpty());
    }
    const std::optional<QString> again = ProbeOpenGLRenderer();
    EXPECT_EQ(again, renderer);
}

}  // namespace
}  // namespace brv
