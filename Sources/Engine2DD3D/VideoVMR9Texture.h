#pragma once
// A widget that plays a video into a texture and shows it as a 2D image,
// stretched over its rectangle: menu backgrounds and the video controller use
// it. Videos stored in the resource archive play from memory, others from
// the disk. Play, pause, stop, seeking, playback rate (backward rates are
// emulated by stepping the position), the sound track's level, a still
// image shown while the video is stopped at its start, and a callback at the
// end of the video.
//
// Pictures arrive on the player's decoding thread and are copied into the
// texture there (TextureRendererFilter); everything else runs on the main
// thread.
#include "Engine/Engine2D.h"
#include "Engine2DD3D/EngineComponent.h"
#include "Engine2DD3D/TextureRendererFilter.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Platform
{
class AudioDevice;
class MediaPlayer;
} // namespace Platform

// What the reader of a video held in memory announces its bytes as, chosen
// by the file's extension.
enum class VideoStreamType : uint32_t
{
    Unknown = 0,
    Mpeg1System,
    Mpeg1Audio,
    Mpeg1Video,
    Mpeg1VideoCD,
    Avi,
    QuickTime,
    Wave
};

// The type for a file name's extension (after its last '.', any case).
VideoStreamType videoStreamTypeOf(const std::string& fileName);
// The text after the last '.', empty when there is none.
std::string videoFileExtension(const std::string& fileName);

class VideoVMR9Texture final : public EngineComponent
{
public:
    VideoVMR9Texture(Engine2D& engine, int32_t x, int32_t y, int32_t width, int32_t height,
                     RenderList* renderList);
    ~VideoVMR9Texture() override;

    ErrorCode render() override;
    void updateLayout() override;
    // Rate emulation by the application's frame time, the image, and the
    // end of the video.
    void animate() override;
    ErrorCode onDeviceLost() override;
    ErrorCode onDeviceReset() override;

    ErrorCode open(const std::string& fileName) override;
    Image2D* getImage() override { return mImage.get(); }
    uint32_t getState() override;
    ErrorCode play() override;
    ErrorCode stop() override;
    ErrorCode pause() override;
    ErrorCode resume() override;
    int32_t getDuration() override;
    int32_t getPosition() override;
    ErrorCode setPosition(int32_t positionMs) override;
    void getVideoSize(uint32_t& width, uint32_t& height) override;
    ErrorCode setRate(float rate) override;
    float getRate() override { return mRate; }
    ErrorCode setVolume(uint32_t level) override;
    int32_t getVolume() override;
    int32_t getStepPeriod() override { return mStepPeriod; }
    void setStepPeriod(int32_t periodMs) override { mStepPeriod = periodMs; }
    void setStillImage(Texture* texture) override;
    void setRect(int32_t x, int32_t y, int32_t width, int32_t height) override;

    // One frame's step of `frameMs` milliseconds (animate passes the
    // application's frame time).
    void animateFor(uint32_t frameMs);

    Texture* getVideoTexture() const { return mVideoTexture; }
    bool isOpen() const { return mPlayer != nullptr; }
    bool isRateEmulated() const { return mRateEmulated; }
    // Pictures copied into the texture since the video opened.
    uint64_t framesRendered() const;

    // The device the sound tracks of videos opened from now on play on
    // (null: silent videos). It must outlive the videos.
    static void setAudioDevice(Platform::AudioDevice* device);
    static Platform::AudioDevice* audioDevice();
    // The open video's sound track reaches the mixer.
    bool hasSoundTrack() const;

private:
    void refreshImage();
    void setVideoSize(uint32_t width, uint32_t height);
    void releaseGraph();
    ErrorCode openGraph(const std::string& fileName);
    void clearVideoTexture();
    void dropVideoTexture();
    void endOfVideo();

    Engine2D& mEngine;
    uint32_t mState = 0;
    int32_t mPosition = 0;
    std::unique_ptr<Platform::MediaPlayer> mPlayer;
    std::unique_ptr<Image2D> mImage;
    Texture* mVideoTexture = nullptr;
    std::unique_ptr<TextureRendererFilter> mRenderer;
    bool mRateEmulated = false;
    bool mNoBackwards = false;
    int32_t mStepPeriod = 250;
    int32_t mStepAccumulator = 0;
    float mRate = 1.0f;
    int32_t mDuration = 0;
    int32_t mSavedPosition = 0;
    uint32_t mSavedState = 0;
    Texture* mStillImage = nullptr;
    uint64_t mFramesBeforeOpen = 0;
};
