#pragma once

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QSurfaceFormat>

#include <gtest/gtest.h>

// A real legacy (compatibility profile) OpenGL context, current for the lifetime of the test.
// Needs a display: the suite runs these under Xvfb.
class GlContextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QSurfaceFormat format;
        format.setRenderableType(QSurfaceFormat::OpenGL);
        format.setProfile(QSurfaceFormat::CompatibilityProfile);
        format.setVersion(2, 1);
        surface_.setFormat(format);
        surface_.create();
        context_.setFormat(format);
        ASSERT_TRUE(context_.create()) << "no OpenGL context: is a display (Xvfb) available?";
        ASSERT_TRUE(context_.makeCurrent(&surface_));
    }
    void TearDown() override { context_.doneCurrent(); }

    QOffscreenSurface surface_;
    QOpenGLContext context_;
};
