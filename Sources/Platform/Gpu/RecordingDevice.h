#pragma once
// A device without a card: it keeps every state like the real one and writes
// one line per call into its log ("setRenderState(22, 1)"), so that the
// engines can be tested without a display. Drawing draws nothing; the draw
// calls it accepted are counted.
#include "Platform/Gpu/DeviceBase.h"

#include <string>
#include <vector>

namespace Platform::Gpu
{

class RecordingDevice final : public DeviceBase
{
public:
    explicit RecordingDevice(const PresentParameters& parameters = PresentParameters{});
    ~RecordingDevice() override;

    const std::vector<std::string>& calls() const { return mCalls; }
    void clearCalls() { mCalls.clear(); }
    // Calls whose line starts with the prefix ("setRenderState(22,").
    size_t countCalls(const std::string& prefix) const;
    uint32_t drawCount() const { return mDraws; }
    uint32_t presentCount() const { return mPresents; }

protected:
    void log(const std::string& line) override { mCalls.push_back(line); }
    bool logging() const override { return true; }
    PlatformResult doDraw(const DrawCall& call) override;
    PlatformResult doClear(uint32_t, uint32_t, float, uint32_t) override { return GPU_OK; }
    PlatformResult doPresent() override;
    PlatformResult doCreateTexture(Texture&) override { return GPU_OK; }
    void doDestroyTexture(Texture&) override {}
    PlatformResult doSetRenderTarget(Texture*) override { return GPU_OK; }
    PlatformResult doSaveScreenshot(const std::string& path) override;

private:
    std::vector<std::string> mCalls;
    uint32_t mDraws = 0;
    uint32_t mPresents = 0;
};

} // namespace Platform::Gpu
