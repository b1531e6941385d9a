// One result type for the graphics, sound and video services: their codes
// keep the values the game compares with, and one table names them.
#include "Platform/Audio/AudioResult.h"
#include "Platform/Gpu/GpuTypes.h"
#include "Platform/Media/MediaResult.h"
#include "Platform/System/PlatformResult.h"

#include <gtest/gtest.h>

using namespace Platform;

TEST(PlatformResult, EveryServicesCodesKeepTheirPublishedNames)
{
    EXPECT_STREQ(resultName(Gpu::GPU_OK), "S_OK");
    EXPECT_STREQ(resultName(Gpu::GPU_DEVICELOST), "D3DERR_DEVICELOST");
    EXPECT_STREQ(resultName(Gpu::GPU_NOTAVAILABLE), "D3DERR_NOTAVAILABLE");
    EXPECT_STREQ(resultName(Gpu::GPU_INVALIDCALL), "D3DERR_INVALIDCALL");
    EXPECT_STREQ(resultName(Gpu::GPU_OUTOFVIDEOMEMORY), "D3DERR_OUTOFVIDEOMEMORY");
    EXPECT_STREQ(resultName(kAudioBufferLost), "DSERR_BUFFERLOST");
    EXPECT_STREQ(resultName(kAudioNoDriver), "DSERR_NODRIVER");
    EXPECT_STREQ(resultName(kAudioNotInitialised), "CO_E_NOTINITIALIZED");
    // The codes the services share are one code each.
    EXPECT_STREQ(resultName(kAudioInvalidArgument), "E_INVALIDARG");
    EXPECT_EQ(kMediaInvalidArgument, kAudioInvalidArgument);
    EXPECT_EQ(Gpu::GPU_FAIL, kAudioFailed);
    EXPECT_STREQ(resultName(Gpu::GPU_FAIL), "E_FAIL");
    EXPECT_STREQ(resultName(static_cast<PlatformResult>(0x80158520u)), "DPNERR_TIMEDOUT");
    EXPECT_STREQ(resultName(static_cast<PlatformResult>(0x12345678)), "Unknown");
    // Success codes are not failures, whatever their value.
    EXPECT_FALSE(resultFailed(kAudioNoVirtualisation));
    EXPECT_TRUE(resultFailed(kMediaNoDecoder));
}
