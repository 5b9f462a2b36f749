#include "OffscreenRenderer.h"

#include "SceneFrame.h"
#include "SurfacelessGl.h"

#include <GL/gl.h>

#include <QCoreApplication>
#include <QString>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("OffscreenRenderer", text);
}

} // namespace

OffscreenPicture renderSceneOffscreen(const OrbitCamera& camera, const PointPairs* scene,
                                      const QSize& size) {
    SurfacelessContext context;
    if (!context.error().isEmpty())
        return {QImage(), context.error()};
    const int largest = largestFramebufferSide();
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

    if (!readFramebufferBottomUp(image))
        return {QImage(), tr("the finished picture could not be read back")};
    // OpenGL's rows run from the bottom up.
    image.mirror(false, true);
    return {image, QString()};
}
