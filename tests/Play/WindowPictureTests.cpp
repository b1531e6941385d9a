// What the player's window shows of the menu: the frame, video and all,
// fitted into a larger window by bilinear scaling, with black bands.
#include "Journeys.h"
#include "PlayChecks.h"

#include "Engine2DD3D/Engine2DD3D.h"
#include "Engine2DD3D/VideoVMR9Texture.h"
#include "Platform/Gpu/GlDevice.h"
#include "Tarnaveli/MenuVideoWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace Play;

namespace
{

Platform::Gpu::GlDevice* glDevice(Driver& driver)
{
    auto* engine = dynamic_cast<Engine2DD3D*>(driver.game().getEngine2D());
    return engine != nullptr ? dynamic_cast<Platform::Gpu::GlDevice*>(engine->getDevice()) : nullptr;
}

// One channel of the frame sampled bilinearly at (x, y) in its pixels,
// edges clamped.
float bilinear(const Frame& frame, float x, float y, int shift)
{
    int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    float fx = x - float(x0), fy = y - float(y0);
    auto at = [&](int px, int py)
    {
        px = std::clamp(px, 0, kFrameWidth - 1);
        py = std::clamp(py, 0, kFrameHeight - 1);
        return float((frame.at(px, py) >> shift) & 0xFF);
    };
    return (1 - fy) * ((1 - fx) * at(x0, y0) + fx * at(x0 + 1, y0)) +
           fy * ((1 - fx) * at(x0, y0 + 1) + fx * at(x0 + 1, y0 + 1));
}

} // namespace

TEST(PlayWindowPicture, TheMenuAndItsVideoFillTheWindowAsTheFrameScaled)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    ASSERT_NE(reachMainMenu(driver), nullptr);
    ASSERT_NE(MenuVideoWindow::current(), nullptr);
    auto* video = dynamic_cast<VideoVMR9Texture*>(MenuVideoWindow::current()->getVideo());
    ASSERT_NE(video, nullptr);
    ASSERT_TRUE(driver.waitFor([&] { return video->framesRendered() > 5; }));
    driver.run(3);
    Platform::Gpu::GlDevice* device = glDevice(driver);
    ASSERT_NE(device, nullptr);
    Frame frame = driver.readFrame();
    ASSERT_FALSE(frame.empty());
    int width = 0, height = 0;
    std::vector<uint32_t> window = device->readWindow(width, height);
    ASSERT_GT(width, 0);
    ASSERT_GT(height, 0);
    // The video behind the menu: the picture is not one flat colour.
    uint32_t corner = frame.at(20, 700) & 0xFFFFFF;
    int differing = 0;
    for (int y = 300; y < 760; y += 23)
        for (int x = 10; x < 1014; x += 31)
            differing += (frame.at(x, y) & 0xFFFFFF) != corner ? 1 : 0;
    EXPECT_GT(differing, 100);
    // Fitted as present fits it: centred, keeping its shape.
    float scale = std::min(float(width) / kFrameWidth, float(height) / kFrameHeight);
    int shownWidth = int(std::lround(kFrameWidth * scale)), shownHeight = int(std::lround(kFrameHeight * scale));
    int left = (width - shownWidth) / 2, top = (height - shownHeight) / 2;
    if (top > 0)
    {
        EXPECT_EQ(window[size_t(top / 2) * size_t(width) + size_t(width / 2)] & 0xFFFFFF, 0u) << "band above";
        EXPECT_EQ(window[size_t(height - 1 - top / 2) * size_t(width) + size_t(width / 2)] & 0xFFFFFF, 0u)
            << "band below";
    }
    int worst = 0;
    for (int y = 0; y < shownHeight; y += 3)
    {
        for (int x = 0; x < shownWidth; x += 3)
        {
            float fx = (float(x) + 0.5f) / scale - 0.5f, fy = (float(y) + 0.5f) / scale - 0.5f;
            uint32_t shown = window[size_t(top + y) * size_t(width) + size_t(left + x)];
            for (int shift = 0; shift < 24; shift += 8)
            {
                float expected = bilinear(frame, fx, fy, shift);
                worst = std::max(worst, int(std::lround(std::fabs(expected - float((shown >> shift) & 0xFF)))));
            }
        }
    }
    EXPECT_LE(worst, 2) << "window " << width << " x " << height;
}
