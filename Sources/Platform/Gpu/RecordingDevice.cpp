#include "Platform/Gpu/RecordingDevice.h"

#include "Platform/Gpu/PngWriter.h"

namespace Platform::Gpu
{

RecordingDevice::RecordingDevice(const PresentParameters& parameters) : DeviceBase(parameters) {}

RecordingDevice::~RecordingDevice() = default;

size_t RecordingDevice::countCalls(const std::string& prefix) const
{
    size_t count = 0;
    for (const std::string& line : mCalls)
    {
        count += line.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
    }
    return count;
}

PlatformResult RecordingDevice::doDraw(const DrawCall&)
{
    ++mDraws;
    return GPU_OK;
}

PlatformResult RecordingDevice::doPresent()
{
    ++mPresents;
    return GPU_OK;
}

// Without a card the frame is black.
PlatformResult RecordingDevice::doSaveScreenshot(const std::string& path)
{
    std::vector<uint32_t> pixels(size_t(mParameters.backBufferWidth) * mParameters.backBufferHeight,
                                 0xFF000000u);
    return writePng(path, mParameters.backBufferWidth, mParameters.backBufferHeight, pixels.data())
               ? GPU_OK
               : GPU_FAIL;
}

} // namespace Platform::Gpu
