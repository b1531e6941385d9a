#include "Engine2DD3D/RenderStateCache.h"

#include "Platform/Gpu/RecordingDevice.h"

#include <gtest/gtest.h>

using namespace Platform::Gpu;

namespace
{

class RenderStateCacheTest : public ::testing::Test
{
protected:
    RenderStateCacheTest() { cache.setDevice(&device); }

    size_t sets(uint32_t state) { return device.countCalls("setRenderState(" + std::to_string(state) + ","); }
    size_t allSets() { return device.countCalls("setRenderState("); }
    uint32_t onDevice(uint32_t state)
    {
        uint32_t value = 0;
        device.getRenderState(state, &value);
        return value;
    }

    RecordingDevice device;
    RenderStateCache cache;
};

} // namespace

TEST_F(RenderStateCacheTest, SettingTheDeviceValueListsNothing)
{
    cache.setState(RS_CULLMODE, CULL_CCW); // the device's default
    cache.setState(RS_LIGHTING, 1);
    EXPECT_TRUE(cache.changedStates().empty());
    cache.flush();
    EXPECT_EQ(allSets(), 0u);
}

TEST_F(RenderStateCacheTest, ChangesReachTheDeviceOnlyAtTheFlushAndInOrder)
{
    cache.setState(RS_ZENABLE, 0);
    cache.setState(RS_ALPHABLENDENABLE, 1);
    EXPECT_EQ(allSets(), 0u);
    EXPECT_EQ(onDevice(RS_ZENABLE), 1u);
    cache.flush();
    EXPECT_EQ(onDevice(RS_ZENABLE), 0u);
    EXPECT_EQ(onDevice(RS_ALPHABLENDENABLE), 1u);
    std::vector<std::string> order;
    for (const auto& line : device.calls())
    {
        if (line.rfind("setRenderState(", 0) == 0)
        {
            order.push_back(line);
        }
    }
    EXPECT_EQ(order, (std::vector<std::string>{"setRenderState(7, 0)", "setRenderState(27, 1)"}));
    EXPECT_TRUE(cache.changedStates().empty());
}

TEST_F(RenderStateCacheTest, StateSetTwiceBeforeAFlushIsListedTwiceAndSendsTheLastValue)
{
    cache.setState(RS_SRCBLEND, BLEND_SRCALPHA);
    cache.setState(RS_SRCBLEND, BLEND_DESTALPHA);
    EXPECT_EQ(cache.changedStates(), (std::vector<uint32_t>{RS_SRCBLEND, RS_SRCBLEND}));
    cache.flush();
    EXPECT_EQ(device.countCalls("setRenderState(19, 7)"), 2u);
    EXPECT_EQ(onDevice(RS_SRCBLEND), uint32_t(BLEND_DESTALPHA));
}

TEST_F(RenderStateCacheTest, PendingValueIsTheCurrentValue)
{
    cache.setState(RS_CULLMODE, CULL_NONE);
    // Reading before the flush answers the waiting value and keeps it waiting.
    EXPECT_EQ(cache.getState(RS_CULLMODE), uint32_t(CULL_NONE));
    // Setting the waiting value again adds nothing.
    cache.setState(RS_CULLMODE, CULL_NONE);
    EXPECT_EQ(cache.changedStates().size(), 1u);
    cache.flush();
    EXPECT_EQ(onDevice(RS_CULLMODE), uint32_t(CULL_NONE));
}

TEST_F(RenderStateCacheTest, ChangesMadeOnTheDeviceDirectlyAreSeen)
{
    cache.setState(RS_ALPHATESTENABLE, 1);
    cache.flush();
    device.setRenderState(RS_ALPHATESTENABLE, 0); // as an effect would
    EXPECT_EQ(cache.getState(RS_ALPHATESTENABLE), 0u);
    device.clearCalls();
    cache.setState(RS_ALPHATESTENABLE, 1);
    cache.flush();
    EXPECT_EQ(sets(RS_ALPHATESTENABLE), 1u);
    EXPECT_EQ(onDevice(RS_ALPHATESTENABLE), 1u);
}

TEST_F(RenderStateCacheTest, StatesOutsideTheTableAreIgnored)
{
    cache.setState(RENDER_STATE_COUNT, 1);
    cache.setState(0xFFFFFFFF, 1);
    EXPECT_TRUE(cache.changedStates().empty());
    EXPECT_EQ(cache.getState(5000), 0u);
    cache.flush();
    EXPECT_EQ(allSets(), 0u);
}

TEST_F(RenderStateCacheTest, ScopedStateRestoresThePreviousValue)
{
    {
        ScopedRenderState cull(cache, RS_CULLMODE, CULL_CW);
        ScopedRenderState blend(cache, RS_ALPHABLENDENABLE, 1);
        cache.flush();
        EXPECT_EQ(onDevice(RS_CULLMODE), uint32_t(CULL_CW));
        EXPECT_EQ(onDevice(RS_ALPHABLENDENABLE), 1u);
    }
    cache.flush();
    EXPECT_EQ(onDevice(RS_CULLMODE), uint32_t(CULL_CCW));
    EXPECT_EQ(onDevice(RS_ALPHABLENDENABLE), 0u);
}

TEST_F(RenderStateCacheTest, ScopedStateKeepsAnEarlierPendingChange)
{
    cache.setState(RS_LIGHTING, 0); // not flushed yet
    {
        ScopedRenderState lighting(cache, RS_LIGHTING, 1);
    }
    cache.flush();
    EXPECT_EQ(onDevice(RS_LIGHTING), 0u);
}

TEST_F(RenderStateCacheTest, ScopedStateWithoutAStateDoesNothing)
{
    {
        ScopedRenderState none(cache, ScopedRenderState::NO_STATE, 5);
        EXPECT_TRUE(cache.changedStates().empty());
    }
    EXPECT_TRUE(cache.changedStates().empty());
    EXPECT_EQ(device.countCalls("getRenderState("), 0u);
}
