#include "SceneFrame.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

constexpr std::size_t pairsPerBatch = 16384;

// Every pair as one segment, in array order, each given to `draw` between glBegin(GL_LINES) and
// glEnd().
template <class Draw> void drawPairs(const PointPairs& scene, Draw draw) {
    glBegin(GL_LINES);
    std::size_t inBatch = 0;
    for (const auto& pair : scene) {
        if (pair)
            draw(*pair);
        // A software renderer sorts every line it is given into screen tiles before it draws
        // any, which for a large scene takes far more memory than the scene itself: drawing
        // it in batches, each finished before the next, keeps that store small. The lines are
        // separate segments, so the picture is the same to the bit.
        if (++inBatch == pairsPerBatch) {
            glEnd();
            glFinish();
            glBegin(GL_LINES);
            inBatch = 0;
        }
    }
    glEnd();
}

} // namespace

void setUpSceneContext(const OrbitCamera& camera) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    gluPerspective(30.0, 4.0 / 3.0, 0.1, 2.0 * camera.basedist);
    glMatrixMode(GL_MODELVIEW);
}

void drawSceneFrame(const OrbitCamera& camera, const PointPairs* scene, const UserView& userView,
                    Background background) {
    // Without a user view not one matrix more is multiplied in, so the frame is the camera's
    // to the last bit.
    const bool userMoved = !userView.isIdentity();
    // The frame is opaque, as the picture means it to be: a compositor that shows the frame's
    // alpha would otherwise let the desktop through the background and the fainter lines.
    glClearColor(0, 0, 0, background == Background::Opaque ? 1 : 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (userMoved)
        glMultMatrixd(userView.screenMatrix().data());
    glOrtho(-edgeOfUniverse, edgeOfUniverse, -edgeOfUniverse, edgeOfUniverse, -edgeOfUniverse,
            edgeOfUniverse);
    // On the projection matrix: the model-view matrix stays the identity.
    if (userMoved)
        glMultMatrixd(userView.turnMatrix(camera).data());
    const OrbitCamera& c = camera;
    gluLookAt(c.px, c.py, c.pz, c.px + c.fx, c.py + c.fy, c.pz + c.fz, c.ux, c.uy, c.uz);
    glMatrixMode(GL_MODELVIEW);
    // The points' alpha colours nothing: the lines leave the frame's alpha as cleared.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    if (scene)
        drawPairs(*scene, [](const GLPointPair& pair) { pair.render(); });
    // On nothing, the same vertices again make the lines' pixels opaque: the same segments
    // cover the same pixels.
    if (scene && background == Background::Transparent) {
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
        glColor4d(0, 0, 0, 1);
        drawPairs(*scene, [](const GLPointPair& pair) {
            for (const GLPointWithColor* point : {pair.point1().get(), pair.point2().get()})
                if (point)
                    glVertex3d(point->x(), point->y(), point->z());
        });
    }
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void drawFrame(const FrameInputs& inputs) {
    drawSceneFrame(inputs.camera, inputs.scene.get(), inputs.userView, inputs.background);
}

void animatePointPairs(const PointPairs* scene) {
    if (!scene)
        return;
    for (const auto& pair : *scene) {
        if (pair)
            pair->animate();
    }
}

void advanceCamera(OrbitCamera& camera) {
    advanceAngles(camera);
    calculateCameraPosition(camera);
}

void animateScene(OrbitCamera& camera, const PointPairs* scene) {
    advanceCamera(camera);
    animatePointPairs(scene);
}
