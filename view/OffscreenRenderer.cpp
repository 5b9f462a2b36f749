#include "OffscreenRenderer.h"

#include "SceneFrame.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <cstring>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("OffscreenRenderer", text);
}

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
    return tr("%1 failed (EGL error 0x%2)")
        .arg(QLatin1String(what))
        .arg(static_cast<unsigned>(eglGetError()), 4, 16, QLatin1Char('0'));
}

// A desktop OpenGL context of the compatibility profile on Mesa's surfaceless platform, current
// on this thread while the object lives.
class SurfacelessContext {
  public:
    SurfacelessContext() {
        const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
        if (!hasExtension(clientExtensions, "EGL_MESA_platform_surfaceless")) {
            error_ = tr("this system's EGL has no surfaceless platform (Mesa's libegl-mesa0 "
                        "provides one)");
            return;
        }
        const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
            eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (!getPlatformDisplay) {
            error_ = tr("this system's EGL cannot open a platform display");
            return;
        }
        display_ = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display_ == EGL_NO_DISPLAY || !eglInitialize(display_, nullptr, nullptr)) {
            error_ = eglFailure("Opening the surfaceless EGL display");
            display_ = EGL_NO_DISPLAY;
            return;
        }
        const char* extensions = eglQueryString(display_, EGL_EXTENSIONS);
        if (!hasExtension(extensions, "EGL_KHR_surfaceless_context") ||
            !hasExtension(extensions, "EGL_KHR_no_config_context") ||
            !hasExtension(extensions, "EGL_KHR_create_context")) {
            error_ = tr("this system's EGL cannot make a context without a surface");
            return;
        }
        if (!eglBindAPI(EGL_OPENGL_API)) {
            error_ = eglFailure("Choosing desktop OpenGL");
            return;
        }
        // Below 3.2 the profile is ignored and the context is a legacy one; Mesa answers with
        // the highest compatibility version it has.
        const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION_KHR,
                                     2,
                                     EGL_CONTEXT_MINOR_VERSION_KHR,
                                     1,
                                     EGL_CONTEXT_OPENGL_PROFILE_MASK_KHR,
                                     EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT_KHR,
                                     EGL_NONE};
        context_ = eglCreateContext(display_, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
        if (context_ == EGL_NO_CONTEXT) {
            error_ = eglFailure("Making an OpenGL context");
            return;
        }
        if (!eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_))
            error_ = eglFailure("Making the OpenGL context current");
    }

    ~SurfacelessContext() {
        if (display_ == EGL_NO_DISPLAY)
            return;
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (context_ != EGL_NO_CONTEXT)
            eglDestroyContext(display_, context_);
        eglTerminate(display_);
        eglReleaseThread();
    }

    SurfacelessContext(const SurfacelessContext&) = delete;
    SurfacelessContext& operator=(const SurfacelessContext&) = delete;

    // Empty once the context is current.
    const QString& error() const { return error_; }

  private:
    EGLDisplay display_ = EGL_NO_DISPLAY;
    EGLContext context_ = EGL_NO_CONTEXT;
    QString error_;
};

// An RGBA framebuffer object, bound while the object lives.
class Framebuffer {
  public:
    explicit Framebuffer(const QSize& size) {
        glGenFramebuffers(1, &framebuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glGenRenderbuffers(1, &colour_);
        glBindRenderbuffer(GL_RENDERBUFFER, colour_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, size.width(), size.height());
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
        complete_ = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE &&
                    glGetError() == GL_NO_ERROR;
    }
    ~Framebuffer() {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteRenderbuffers(1, &colour_);
        glDeleteFramebuffers(1, &framebuffer_);
    }
    Framebuffer(const Framebuffer&) = delete;
    Framebuffer& operator=(const Framebuffer&) = delete;

    bool complete() const { return complete_; }

  private:
    GLuint framebuffer_ = 0;
    GLuint colour_ = 0;
    bool complete_ = false;
};

// The largest picture the context can draw, in each direction.
int largestSide() {
    GLint renderbuffer = 0;
    GLint viewport[2] = {};
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    return std::min({renderbuffer, viewport[0], viewport[1]});
}

} // namespace

OffscreenPicture renderSceneOffscreen(const OrbitCamera& camera, const PointPairs* scene,
                                      const QSize& size) {
    SurfacelessContext context;
    if (!context.error().isEmpty())
        return {QImage(), context.error()};
    const int largest = largestSide();
    if (size.isEmpty() || size.width() > largest || size.height() > largest)
        return {QImage(), tr("a picture can be at most %1 pixels wide and high here").arg(largest),
                largest};
    // Read straight into the picture; the fourth byte of each pixel is ignored, as it is on
    // screen, so the picture is opaque.
    QImage image(size, QImage::Format_RGBX8888);
    if (image.isNull())
        return {QImage(), tr("there is not enough memory for a picture of that size")};

    Framebuffer framebuffer(size);
    if (!framebuffer.complete())
        return {QImage(), tr("the OpenGL driver could not make a framebuffer of that size")};
    // What a scene view does on its first frame, then the frame itself.
    glViewport(0, 0, size.width(), size.height());
    setUpSceneContext(camera);
    drawSceneFrame(camera, scene);

    glPixelStorei(GL_PACK_ALIGNMENT, 4); // rows of 32-bit pixels, as the picture holds them
    glReadPixels(0, 0, size.width(), size.height(), GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    if (glGetError() != GL_NO_ERROR)
        return {QImage(), tr("the finished picture could not be read back")};
    // OpenGL's rows run from the bottom up.
    image.mirror(false, true);
    return {image, QString()};
}
