#include "common/Composition.h"

#include <QByteArray>
#include <QStringList>
#include <QtGlobal>

#include <dlfcn.h>

#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace brv {

namespace {

QString Lowered(const QString& s)
{
    return s.trimmed().toLower();
}

// Window system plug-ins that never compose through a GPU.
bool IsPlatformWithoutGpu(const QString& platform)
{
    static const QStringList kWithout = {QStringLiteral("offscreen"), QStringLiteral("minimal"),
                                         QStringLiteral("vnc"), QStringLiteral("linuxfb")};
    return kWithout.contains(platform);
}

// QT_QPA_PLATFORM names the plug-in first, its options after a colon; an
// empty result is the default plug-in of the build.
QString PlatformFromEnvironment()
{
    const QString value = qEnvironmentVariable("QT_QPA_PLATFORM");
    return Lowered(value.section(QLatin1Char(';'), 0, 0).section(QLatin1Char(':'), 0, 0));
}

// --- the EGL probe ------------------------------------------------------------------
//
// The library is opened at run time, so that the program starts (and picks
// the software path) where it is missing, and needs no EGL headers to build.

using EGLDisplay = void*;
using EGLConfig = void*;
using EGLContext = void*;
using EGLSurface = void*;
using EGLint = std::int32_t;
using EGLBoolean = unsigned int;
using EGLenum = unsigned int;

constexpr EGLint kEglNone = 0x3038;
constexpr EGLint kEglSurfaceType = 0x3033;
constexpr EGLint kEglPbufferBit = 0x0001;
constexpr EGLint kEglRenderableType = 0x3040;
constexpr EGLint kEglOpenGlEs2Bit = 0x0004;
constexpr EGLint kEglWidth = 0x3057;
constexpr EGLint kEglHeight = 0x3056;
constexpr EGLint kEglContextClientVersion = 0x3098;
constexpr EGLenum kEglOpenGlEsApi = 0x30A0;
constexpr EGLenum kEglPlatformSurfacelessMesa = 0x31DD;
constexpr unsigned int kGlRenderer = 0x1F01;

struct TEgl {
    EGLDisplay (*GetDisplay)(void*) = nullptr;
    EGLBoolean (*Initialize)(EGLDisplay, EGLint*, EGLint*) = nullptr;
    EGLBoolean (*Terminate)(EGLDisplay) = nullptr;
    EGLBoolean (*BindAPI)(EGLenum) = nullptr;
    EGLBoolean (*ChooseConfig)(EGLDisplay, const EGLint*, EGLConfig*, EGLint, EGLint*) = nullptr;
    EGLSurface (*CreatePbufferSurface)(EGLDisplay, EGLConfig, const EGLint*) = nullptr;
    EGLBoolean (*DestroySurface)(EGLDisplay, EGLSurface) = nullptr;
    EGLContext (*CreateContext)(EGLDisplay, EGLConfig, EGLContext, const EGLint*) = nullptr;
    EGLBoolean (*DestroyContext)(EGLDisplay, EGLContext) = nullptr;
    EGLBoolean (*MakeCurrent)(EGLDisplay, EGLSurface, EGLSurface, EGLContext) = nullptr;
    EGLBoolean (*ReleaseThread)() = nullptr;
    void* (*GetProcAddress)(const char*) = nullptr;
    // Optional (EGL 1.5).
    EGLDisplay (*GetPlatformDisplay)(EGLenum, void*, const std::intptr_t*) = nullptr;

    bool Load(void* library)
    {
        const auto load = [library](auto& fn, const char* name) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(library, name));
            return fn != nullptr;
        };
        const bool core =
            load(GetDisplay, "eglGetDisplay") && load(Initialize, "eglInitialize") &&
            load(Terminate, "eglTerminate") && load(BindAPI, "eglBindAPI") &&
            load(ChooseConfig, "eglChooseConfig") && load(CreatePbufferSurface, "eglCreatePbufferSurface") &&
            load(DestroySurface, "eglDestroySurface") && load(CreateContext, "eglCreateContext") &&
            load(DestroyContext, "eglDestroyContext") && load(MakeCurrent, "eglMakeCurrent") &&
            load(ReleaseThread, "eglReleaseThread") && load(GetProcAddress, "eglGetProcAddress");
        load(GetPlatformDisplay, "eglGetPlatformDisplay");  // optional
        return core;
    }
};

// A library opened for the probe only.
class TLibrary {
public:
    explicit TLibrary(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            if ((handle_ = dlopen(name, RTLD_NOW | RTLD_LOCAL)) != nullptr)
                break;
    }
    ~TLibrary()
    {
        if (handle_ != nullptr)
            dlclose(handle_);
    }
    TLibrary(const TLibrary&) = delete;
    TLibrary& operator=(const TLibrary&) = delete;
    void* Handle() const { return handle_; }

private:
    void* handle_ = nullptr;
};

// The driver's own chatter about a display it cannot accelerate is no news
// here: the probe is there to find that out.
class TQuietDriver {
public:
    TQuietDriver() : set_(qEnvironmentVariableIsEmpty("EGL_LOG_LEVEL"))
    {
        if (set_)
            qputenv("EGL_LOG_LEVEL", "fatal");
    }
    ~TQuietDriver()
    {
        if (set_)
            qunsetenv("EGL_LOG_LEVEL");
    }
    TQuietDriver(const TQuietDriver&) = delete;
    TQuietDriver& operator=(const TQuietDriver&) = delete;

private:
    bool set_;
};

// A 1 × 1 off-screen surface where the display offers one, else none at all
// (a display without a window system, which has no pbuffers).
std::optional<QString> RendererOnDisplay(const TEgl& egl, EGLDisplay display)
{
    if (!egl.BindAPI(kEglOpenGlEsApi))
        return std::nullopt;
    const EGLint pbufferConfig[] = {kEglSurfaceType, kEglPbufferBit, kEglRenderableType, kEglOpenGlEs2Bit,
                                    kEglNone};
    const EGLint anyConfig[] = {kEglSurfaceType, 0, kEglRenderableType, kEglOpenGlEs2Bit, kEglNone};
    EGLConfig config = nullptr;
    EGLint count = 0;
    EGLSurface surface = nullptr;
    if (egl.ChooseConfig(display, pbufferConfig, &config, 1, &count) && count > 0) {
        const EGLint size[] = {kEglWidth, 1, kEglHeight, 1, kEglNone};
        surface = egl.CreatePbufferSurface(display, config, size);
    } else if (!egl.ChooseConfig(display, anyConfig, &config, 1, &count) || count < 1) {
        return std::nullopt;
    }
    const EGLint contextAttributes[] = {kEglContextClientVersion, 2, kEglNone};
    EGLContext context = egl.CreateContext(display, config, nullptr, contextAttributes);
    std::optional<QString> renderer;
    if (context != nullptr && egl.MakeCurrent(display, surface, surface, context)) {
        using GetString = const unsigned char* (*)(unsigned int);
        auto getString = reinterpret_cast<GetString>(egl.GetProcAddress("glGetString"));
        if (getString != nullptr) {
            if (const unsigned char* name = getString(kGlRenderer))
                renderer = QString::fromLatin1(reinterpret_cast<const char*>(name));
        }
        egl.MakeCurrent(display, nullptr, nullptr, nullptr);
    }
    if (context != nullptr)
        egl.DestroyContext(display, context);
    if (surface != nullptr)
        egl.DestroySurface(display, surface);
    return renderer;
}

// The display the window will be composed on: the X server's where there is
// one (an X session, or XWayland beside a Wayland one), else the GPU as it
// stands, without a window system (a Wayland session without XWayland, a
// kiosk).
EGLDisplay DisplayOfSession(const TEgl& egl)
{
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || egl.GetPlatformDisplay == nullptr)
        return egl.GetDisplay(nullptr);
    return egl.GetPlatformDisplay(kEglPlatformSurfacelessMesa, nullptr, nullptr);
}

TCompositionChoice& Chosen()
{
    static TCompositionChoice choice;
    return choice;
}

}  // namespace

bool IsSoftwareRenderer(const QString& renderer)
{
    static const QStringList kSoftware = {
        QStringLiteral("llvmpipe"),
        QStringLiteral("softpipe"),
        QStringLiteral("swrast"),
        QStringLiteral("swiftshader"),
        QStringLiteral("software rasterizer"),
        QStringLiteral("microsoft basic render"),
        QStringLiteral("gdi generic"),
    };
    const QString lowered = renderer.toLower();
    for (const QString& name : kSoftware)
        if (lowered.contains(name))
            return true;
    return false;
}

TCompositionChoice DecideComposition(const TCompositionFacts& facts)
{
    using enum TComposition;
    const QString quick = Lowered(facts.quickBackend);
    if (!quick.isEmpty()) {
        return {quick == QStringLiteral("software") ? Software : Gpu,
                QStringLiteral("QT_QUICK_BACKEND=%1 as set").arg(facts.quickBackend.trimmed())};
    }
    const QString asked = Lowered(facts.graphicsOverride);
    if (asked == QStringLiteral("software"))
        return {Software, QStringLiteral("BRV_GRAPHICS=software")};
    if (asked == QStringLiteral("gpu"))
        return {Gpu, QStringLiteral("BRV_GRAPHICS=gpu")};
    const QString note = asked.isEmpty() || asked == QStringLiteral("auto")
                             ? QString()
                             : QStringLiteral(" (BRV_GRAPHICS=%1 is neither software, gpu nor auto)")
                                   .arg(facts.graphicsOverride.trimmed());
    if (IsPlatformWithoutGpu(facts.platform))
        return {Software, QStringLiteral("no GPU on the %1 platform").arg(facts.platform) + note};
    const std::optional<QString> renderer = facts.glRenderer ? facts.glRenderer() : std::nullopt;
    if (!renderer)
        return {Software, QStringLiteral("no OpenGL context could be made") + note};
    if (IsSoftwareRenderer(*renderer))
        return {Software, QStringLiteral("OpenGL renders by software (%1)").arg(*renderer) + note};
    return {Gpu, QStringLiteral("OpenGL renderer %1").arg(*renderer) + note};
}

std::optional<QString> ProbeOpenGLRenderer()
{
    TLibrary library({"libEGL.so.1", "libEGL.so"});
    TEgl egl;
    if (library.Handle() == nullptr || !egl.Load(library.Handle()))
        return std::nullopt;
    const TQuietDriver quiet;
    EGLDisplay display = DisplayOfSession(egl);
    if (display == nullptr)
        return std::nullopt;
    EGLint major = 0;
    EGLint minor = 0;
    if (!egl.Initialize(display, &major, &minor))
        return std::nullopt;
    std::optional<QString> renderer = RendererOnDisplay(egl, display);
    egl.Terminate(display);
    egl.ReleaseThread();
    return renderer;
}

TCompositionChoice ChooseComposition()
{
    TCompositionFacts facts;
    facts.graphicsOverride = qEnvironmentVariable("BRV_GRAPHICS");
    facts.quickBackend = qEnvironmentVariable("QT_QUICK_BACKEND");
    facts.platform = PlatformFromEnvironment();
    facts.glRenderer = &ProbeOpenGLRenderer;
    TCompositionChoice choice = DecideComposition(facts);
    if (choice.path == TComposition::Software && facts.quickBackend.trimmed().isEmpty())
        qputenv("QT_QUICK_BACKEND", "software");
    Chosen() = choice;
    return choice;
}

const TCompositionChoice& ChosenComposition()
{
    return Chosen();
}

}  // namespace brv
