#pragma once

#include "model/GLPointPair.h"

#include <gtest/gtest.h>

// A scene read back from a file is the scene written: the same pairs in the same order, each
// point with the same position and colour (doubles and colour object alike). Velocities are
// not stored, so every point reads back at rest.
inline void expectSameScene(const PointPairs& read, const PointPairs& written) {
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        for (int end = 0; end < 2; ++end) {
            SCOPED_TRACE(testing::Message() << "pair " << i + 1 << " point " << end + 1);
            const GLPointWithColor& a = end == 0 ? *read[i]->point1() : *read[i]->point2();
            const GLPointWithColor& b = end == 0 ? *written[i]->point1() : *written[i]->point2();
            EXPECT_EQ(a.x(), b.x());
            EXPECT_EQ(a.y(), b.y());
            EXPECT_EQ(a.z(), b.z());
            EXPECT_EQ(a.red(), b.red());
            EXPECT_EQ(a.green(), b.green());
            EXPECT_EQ(a.blue(), b.blue());
            EXPECT_EQ(a.alpha(), b.alpha());
            EXPECT_EQ(a.color(), b.color());
            double dx = 1, dy = 1, dz = 1;
            a.getDx(&dx, &dy, &dz);
            EXPECT_EQ(dx, 0.0);
            EXPECT_EQ(dy, 0.0);
            EXPECT_EQ(dz, 0.0);
        }
    }
}
