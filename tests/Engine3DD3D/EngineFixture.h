#pragma once
// A 3D engine on a recording device with its own render-state cache.
#include "Engine3DD3D/Engine3DD3D.h"
#include "Platform/Gpu/RecordingDevice.h"

#include <gtest/gtest.h>

#include <cmath>

namespace Engine3DTest
{

inline ::testing::AssertionResult matricesNear(const Platform::Matrix& actual,
                                               const Platform::Matrix& expected, float tolerance = 1e-5f)
{
    for (int r = 0; r < 4; ++r)
    {
        for (int c = 0; c < 4; ++c)
        {
            if (std::fabs(actual.m[r][c] - expected.m[r][c]) > tolerance)
                return ::testing::AssertionFailure() << "element (" << r << ", " << c << ") is "
                                                     << actual.m[r][c] << ", not " << expected.m[r][c];
        }
    }
    return ::testing::AssertionSuccess();
}

class EngineFixture : public ::testing::Test
{
protected:
    EngineFixture()
    {
        cache.setDevice(&device);
        engine = std::make_unique<Engine3DD3D>(&device, &cache);
        EXPECT_EQ(engine->init(), 0u);
    }

    Platform::Gpu::RecordingDevice device;
    RenderStateCache cache;
    std::unique_ptr<Engine3DD3D> engine;
};

} // namespace Engine3DTest
