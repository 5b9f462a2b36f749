#include "OffscreenRenderer.h"

#include "SceneFrame.h"
#include "SurfacelessGl.h"

#include <GL/gl.h>

#include <QCoreApplication>

namespace {

struct OffscreenRenderer {
    Q_DECLARE_TR_FUNCTIONS(OffscreenRenderer)
};

} // namespace

Result<QImage> renderSceneOffscreen(const OrbitCamera& camera, const PointPairs* scene,
                                    const QSize& size) {
    SurfacelessContext context;
    if (!context.ready())
        return context.ready().failure();
    const int largest = largestFramebufferSide();
    if (size.isEmpty() || size.width() > largest || size.height() > largest)
        return Failure::because(
            OffscreenRenderer::tr("a picture can be at most %1 pixels wide and high here")
                .arg(largest));
    // Read straight into the picture; the fourth byte of each pixel is ignored, as it is on
    // screen, so the picture is opaque.
    QImage image(size, QImage::Format_RGBX8888);
    if (image.isNull())
        return Failure::because(
            OffscreenRenderer::tr("there is not enough memory for a picture of that size"));

    Framebuffer framebuffer(size);
    if (!framebuffer.complete())
        return Failure::because(
            OffscreenRenderer::tr("the OpenGL driver could not make a framebuffer of that size"));
    // What a scene view does on its first frame, then the frame itself.
    glViewport(0, 0, size.width(), size.height());
    setUpSceneContext(camera);
    drawSceneFrame(camera, scene);

    if (!readFramebufferBottomUp(image))
        return Failure::because(
            OffscreenRenderer::tr("the finished picture could not be read back"));
    // OpenGL's rows run from the bottom up.
    image.mirror(false, true);
    return image;
}

Result<int> largestOffscreenSide() {
    SurfacelessContext context;
    if (!context.ready())
        return context.ready().failure();
    return largestFramebufferSide();
}
