// Test entry point for suites that need a Qt application object (and so a display).
#include "view/FrameRenderThread.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no display.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    QApplication application(argc, argv);
    const int status = RUN_ALL_TESTS();
    FrameRenderThread::endAll(status);
    return status;
}
