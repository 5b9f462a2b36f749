#include "model/GLPointPair.h"
#include "support/GlTestContext.h"

#include <GL/gl.h>

#include <array>
#include <vector>

namespace {

struct FedVertex {
    std::array<float, 3> position;
    std::array<float, 4> colour;
};

// Runs draw() in GL feedback mode with an identity model-view and a ±1000 orthographic
// projection, and returns the line segments that the context itself received.
std::vector<std::array<FedVertex, 2>> linesFedBy(void (*draw)(const GLPointPair&),
                                                 const GLPointPair& pair) {
    std::vector<GLfloat> buffer(4096);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1000, 1000, -1000, 1000, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(0, 0, 2000, 2000);
    glShadeModel(GL_SMOOTH);
    glBegin(GL_LINES);
    draw(pair);
    glEnd();
    const GLint count = glRenderMode(GL_RENDER);

    auto toScene = [](float window) { return (window * 2.0f - 1.0f) * 1000.0f; };
    std::vector<std::array<FedVertex, 2>> lines;
    for (GLint i = 0; i < count;) {
        const auto token = static_cast<GLint>(buffer[i++]);
        EXPECT_TRUE(token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) << token;
        std::array<FedVertex, 2> line{};
        for (FedVertex& vertex : line) {
            const float wx = buffer[i++], wy = buffer[i++], wz = buffer[i++];
            vertex.position = {toScene(wx / 2000.0f), toScene(wy / 2000.0f), -toScene(wz)};
            for (float& c : vertex.colour)
                c = buffer[i++];
        }
        lines.push_back(line);
    }
    return lines;
}

} // namespace

using RenderTest = GlContextTest;

TEST_F(RenderTest, PairFeedsTwoVerticesFirstPointFirstEachInItsOwnColour) {
    const auto first = GLPointWithColor::pointWithX(100, -200, 300, 1, 0, 0, 1);
    const auto second = GLPointWithColor::pointWithX(-400, 500, -600);
    GLPointPair pair(first, second);

    const auto lines = linesFedBy([](const GLPointPair& p) { p.render(); }, pair);
    ASSERT_EQ(lines.size(), 1u);
    const FedVertex& a = lines[0][0];
    const FedVertex& b = lines[0][1];
    EXPECT_NEAR(a.position[0], 100, 1);
    EXPECT_NEAR(a.position[1], -200, 1);
    EXPECT_NEAR(a.position[2], 300, 1);
    EXPECT_EQ(a.colour, (std::array<float, 4>{1, 0, 0, 1}));
    EXPECT_NEAR(b.position[0], -400, 1);
    EXPECT_NEAR(b.position[1], 500, 1);
    EXPECT_NEAR(b.position[2], -600, 1);
    EXPECT_EQ(b.colour, (std::array<float, 4>{0, 1, 1, 1}));
}

TEST_F(RenderTest, ComponentSetterChangesWhatIsDrawn) {
    const auto first = GLPointWithColor::pointWithX(0, 0, 0, 0.5, 0.5, 0.5, 1);
    GLPointPair pair(first, GLPointWithColor::pointWithX(10, 10, 10));
    first->setRed(0.25);

    const auto lines = linesFedBy([](const GLPointPair& p) { p.render(); }, pair);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NEAR(lines[0][0].colour[0], 0.25f, 1e-6f);
}
