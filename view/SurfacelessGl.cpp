#include "SurfacelessGl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <mutex>

namespace {

struct SurfacelessGl {
    Q_DECLARE_TR_FUNCTIONS(SurfacelessGl)
};

bool hasExtension(const char* extensions, const char* name) {
    if (!extensions)
        return false;
    const std::size_t length = std::strlen(name);
    for (const char* p = std::strstr(extensions, name); p; p = std::strstr(p + length, name)) {
        const bool starts = p == extensions || p[-1] == ' ';
        const bool ends = p[length] == '\0' || p[length] == ' ';
        if (starts && ends)
            return true;
    }
    return false;
}

QString eglFailure(const char* what) {
    return SurfacelessGl::tr("%1 failed (EGL error 0x%2)")
        .arg(SurfacelessGl::tr(what))
        .arg(static_cast<unsigned>(eglGetError()), 4, 16, QLatin1Char('0'));
}

// The surfaceless display, opened once for the whole process and never terminated: an EGL
// display is one per process, not counted, so terminating it when one context ends would pull
// it from under the contexts of other threads.
struct SurfacelessDisplay {
    EGLDisplay display = EGL_NO_DISPLAY;
    QString error;
};

SurfacelessDisplay openDisplay() {
    SurfacelessDisplay result;
    const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!hasExtension(clientExtensions, "EGL_MESA_platform_surfaceless")) {
        result.error =
            SurfacelessGl::tr("this system's EGL has no surfaceless platform (Mesa's libegl-mesa0 "
                              "provides one)");
        return result;
    }
    const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) {
        result.error = SurfacelessGl::tr("this system's EGL cannot open a platform display");
        return result;
    }
    EGLDisplay display =
        getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) {
        result.error =
            eglFailure(QT_TRANSLATE_NOOP("SurfacelessGl", "Opening the surfaceless EGL display"));
        return result;
    }
    const char* extensions = eglQueryString(display, EGL_EXTENSIONS);
    if (!hasExtension(extensions, "EGL_KHR_surfaceless_context") ||
        !hasExtension(extensions, "EGL_KHR_no_config_context") ||
        !hasExtension(extensions, "EGL_KHR_create_context")) {
        result.error =
            SurfacelessGl::tr("this system's EGL cannot make a context without a surface");
        return result;
    }
    result.display = display;
    return result;
}

const SurfacelessDisplay& surfacelessDisplay() {
    static std::once_flag once;
    static SurfacelessDisplay display;
    std::call_once(once, [] { display = openDisplay(); });
    return display;
}

} // namespace

SurfacelessContext::SurfacelessContext() {
    const SurfacelessDisplay& display = surfacelessDisplay();
    if (display.display == EGL_NO_DISPLAY) {
        ready_ = Failure::because(display.error);
        return;
    }
    // The API is chosen per thread.
    if (!eglBindAPI(EGL_OPENGL_API)) {
        ready_ = Failure::because(
            eglFailure(QT_TRANSLATE_NOOP("SurfacelessGl", "Choosing desktop OpenGL")));
        return;
    }
    // Below 3.2 the profile is ignored and the context is a legacy one; Mesa answers with the
    // highest compatibility version it has.
    const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION_KHR,
                                 2,
                                 EGL_CONTEXT_MINOR_VERSION_KHR,
                                 1,
                                 EGL_CONTEXT_OPENGL_PROFILE_MASK_KHR,
                                 EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT_KHR,
                                 EGL_NONE};
    EGLContext context =
        eglCreateContext(display.display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
    if (context == EGL_NO_CONTEXT) {
        ready_ = Failure::because(
            eglFailure(QT_TRANSLATE_NOOP("SurfacelessGl", "Making an OpenGL context")));
        return;
    }
    context_ = context;
    if (!eglMakeCurrent(display.display, EGL_NO_SURFACE, EGL_NO_SURFACE, context))
        ready_ = Failure::because(
            eglFailure(QT_TRANSLATE_NOOP("SurfacelessGl", "Making the OpenGL context current")));
}

SurfacelessContext::~SurfacelessContext() {
    if (!context_)
        return;
    const EGLDisplay display = surfacelessDisplay().display;
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(display, context_);
    eglReleaseThread();
}

Framebuffer::Framebuffer(const QSize& size)
    : size_(size) {
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glGenRenderbuffers(1, &colour_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, size.width(), size.height());
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    complete_ = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE &&
                glGetError() == GL_NO_ERROR;
}

Framebuffer::~Framebuffer() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteRenderbuffers(1, &colour_);
    glDeleteFramebuffers(1, &framebuffer_);
}

int largestFramebufferSide() {
    GLint renderbuffer = 0;
    GLint viewport[2] = {};
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    return std::min({renderbuffer, viewport[0], viewport[1]});
}

bool readFramebufferBottomUp(QImage& image) {
    glPixelStorei(GL_PACK_ALIGNMENT, 4); // rows of 32-bit pixels, as the picture holds them
    glReadPixels(0, 0, image.width(), image.height(), GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    return glGetError() == GL_NO_ERROR;
}
