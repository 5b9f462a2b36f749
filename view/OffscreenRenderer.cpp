#include "OffscreenRenderer.h"

#include "SurfacelessGl.h"

#include <GL/gl.h>

#include <QCoreApplication>

#include <optional>

namespace {

struct OffscreenRendering {
    Q_DECLARE_TR_FUNCTIONS(OffscreenRenderer)
};

} // namespace

struct OffscreenRenderer::Gl {
    SurfacelessContext context;
    std::optional<Framebuffer> framebuffer;
};

OffscreenRenderer::OffscreenRenderer(const QSize& size)
    : gl_(std::make_unique<Gl>()) {
    if (!gl_->context.ready()) {
        ready_ = gl_->context.ready();
        return;
    }
    const int largest = largestFramebufferSide();
    if (size.isEmpty() || size.width() > largest || size.height() > largest) {
        ready_ = Failure::because(
            OffscreenRendering::tr("a picture can be at most %1 pixels wide and high here")
                .arg(largest));
        return;
    }
    if (!gl_->framebuffer.emplace(size).complete()) {
        ready_ = Failure::because(
            OffscreenRendering::tr("the OpenGL driver could not make a framebuffer of that size"));
        return;
    }
    glViewport(0, 0, size.width(), size.height());
}

OffscreenRenderer::~OffscreenRenderer() = default;

Result<QImage> OffscreenRenderer::draw(const FrameInputs& inputs) {
    if (!ready_)
        return ready_.failure();
    const QSize size = gl_->framebuffer->size();
    // Read straight into the picture. Opaque, the fourth byte of each pixel is ignored, as it
    // is on screen.
    QImage image(size, inputs.background == Background::Opaque ? QImage::Format_RGBX8888
                                                               : QImage::Format_RGBA8888);
    if (image.isNull())
        return Failure::because(
            OffscreenRendering::tr("there is not enough memory for a picture of that size"));
    // What a scene view does on its first frame, then the frame itself.
    if (!setUp_) {
        setUpSceneContext(inputs.camera);
        setUp_ = true;
    }
    drawFrame(inputs);
    if (!readFramebufferBottomUp(image))
        return Failure::because(
            OffscreenRendering::tr("the finished picture could not be read back"));
    // OpenGL's rows run from the bottom up.
    image.mirror(false, true);
    return image;
}

Result<QImage> renderSceneOffscreen(const FrameInputs& inputs) {
    OffscreenRenderer renderer(inputs.devicePixels);
    return renderer.draw(inputs);
}

Result<int> largestOffscreenSide() {
    SurfacelessContext context;
    if (!context.ready())
        return context.ready().failure();
    return largestFramebufferSide();
}
