// How the main window reaches the screen: through the GPU, or by software.
//
// A window that holds a web view is composed through OpenGL.  Without a GPU
// that OpenGL is software GL, and every repaint of any widget of the window
// (a picture frame, a blinking text cursor) costs some 30 ms of CPU whatever
// its size.  Qt Quick's software renderer, which the web views then use, puts
// the same window on the screen for about 0.6 ms a repaint; the lesson pages,
// the Flash movies and print preview work the same on it, only the web
// engine's own GPU acceleration goes.
//
// The choice is made once, before the application object exists: the
// variable BRV_GRAPHICS overrides it ("software" or "gpu"; "auto" or unset
// asks the system), and a QT_QUICK_BACKEND the user set is left as it is.
// Otherwise the GPU path is kept only when an OpenGL context can be made and
// its renderer is not a software rasteriser.
#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace brv {

enum class TComposition { Gpu, Software };

struct TCompositionChoice {
    TComposition path = TComposition::Gpu;
    QString reason;  // for the log and the measuring tool
};

// What the choice is made from, gathered from the environment and the system.
struct TCompositionFacts {
    QString graphicsOverride;  // BRV_GRAPHICS
    QString quickBackend;      // QT_QUICK_BACKEND as the user set it
    QString platform;          // the window system plug-in that will be used ("xcb", "offscreen"…)
    // The OpenGL renderer name; nullopt when no context could be made.  Only
    // asked for when the other facts leave the choice open.
    std::function<std::optional<QString>()> glRenderer;
};

// The decision alone, on facts given.
TCompositionChoice DecideComposition(const TCompositionFacts& facts);

// Whether a renderer name is a software rasteriser (llvmpipe, softpipe,
// SwiftShader…).
bool IsSoftwareRenderer(const QString& renderer);

// The renderer of an OpenGL (ES) context made through EGL on the default
// display, or nullopt when none can be made (no EGL library, no display, no
// driver).  Safe before the application object exists.
std::optional<QString> ProbeOpenGLRenderer();

// Decides from this process's environment and the system, and applies the
// choice for the web views (QT_QUICK_BACKEND).  Call before the application
// object is made.
TCompositionChoice ChooseComposition();

// The choice ChooseComposition made, for the program's parts that report it.
const TCompositionChoice& ChosenComposition();

}  // namespace brv
