#include "Engine2DD3D/VideoVMR9Texture.h"

#include "Framework/ApplicationGeneric.h"
#include "Framework/BinaryStream.h"
#include "Framework/FileLookup.h"
#include "Framework/Messages.h"
#include "Framework/Text1252Literal.h"
#include "Platform/Media/MediaPlayer.h"
#include "Sound/SoundManager.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace
{

Platform::AudioDevice* gAudioDevice = nullptr;

constexpr uint32_t kOpaqueBlack = 0xFF000000;

} // namespace

std::string videoFileExtension(const std::string& fileName)
{
    size_t dot = fileName.rfind('.');
    if (dot == std::string::npos)
        return std::string();
    return fileName.substr(dot + 1);
}

VideoStreamType videoStreamTypeOf(const std::string& fileName)
{
    std::string extension = videoFileExtension(fileName);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    struct Entry
    {
        const char* extension;
        VideoStreamType type;
    };
    // Windows Media files are announced as AVI: the reader only needs a
    // container it can probe.
    static const Entry table[] = {
        {"mpg", VideoStreamType::Mpeg1System}, {"mpa", VideoStreamType::Mpeg1Audio},
        {"mpv", VideoStreamType::Mpeg1Video},  {"dat", VideoStreamType::Mpeg1VideoCD},
        {"avi", VideoStreamType::Avi},         {"mov", VideoStreamType::QuickTime},
        {"wav", VideoStreamType::Wave},        {"wmv", VideoStreamType::Avi},
    };
    for (const Entry& entry : table)
        if (extension == entry.extension)
            return entry.type;
    return VideoStreamType::Unknown;
}

void VideoVMR9Texture::setAudioDevice(Platform::AudioDevice* device)
{
    gAudioDevice = device;
}

Platform::AudioDevice* VideoVMR9Texture::audioDevice()
{
    return gAudioDevice;
}

bool VideoVMR9Texture::hasSoundTrack() const
{
    return mPlayer != nullptr && mPlayer->hasAudio();
}

VideoVMR9Texture::VideoVMR9Texture(Engine2D& engine, int32_t x, int32_t y, int32_t width, int32_t height,
                                   RenderList* renderList)
    : EngineComponent(x, y, width, height, renderList), mEngine(engine),
      mRenderer(std::make_unique<TextureRendererFilter>())
{
    // Pictures come top down, so the image is not mirrored.
    mImage =
        mEngine.createImage(static_cast<float>(x), static_cast<float>(y), nullptr, Image2D::SIZE_STRETCHED,
                            static_cast<float>(width), static_cast<float>(height), 0xFFFFFFFF, renderList);
    setVideoSize(10, 10);
}

VideoVMR9Texture::~VideoVMR9Texture()
{
    releaseGraph();
    mImage.reset();
    dropVideoTexture();
    if (mStillImage != nullptr)
        mStillImage->release();
}

ErrorCode VideoVMR9Texture::render()
{
    if (mVisible && mImage != nullptr)
        return mImage->draw();
    return 0;
}

void VideoVMR9Texture::updateLayout()
{
    if (mImage == nullptr)
        return;
    mImage->setPosition(static_cast<float>(mX), static_cast<float>(mY));
    mImage->setSize(static_cast<float>(mWidth), static_cast<float>(mHeight), Image2D::SIZE_STRETCHED);
}

void VideoVMR9Texture::setRect(int32_t x, int32_t y, int32_t width, int32_t height)
{
    moveTo(x, y, false);
    resize(width, height, true);
}

void VideoVMR9Texture::dropVideoTexture()
{
    if (mVideoTexture == nullptr)
        return;
    mRenderer->setTarget(nullptr, 0, 0);
    if (mImage != nullptr && mImage->getTexture() == mVideoTexture)
        mImage->setTexture(nullptr);
    mVideoTexture->unload();
    mVideoTexture->release();
    mVideoTexture = nullptr;
}

void VideoVMR9Texture::setVideoSize(uint32_t width, uint32_t height)
{
    if (mVideoTexture != nullptr && mVideoTexture->getWidth() == width &&
        mVideoTexture->getHeight() == height)
    {
        mRenderer->setTarget(mVideoTexture, width, height);
        return;
    }
    dropVideoTexture();
    Texture* texture = mEngine.createTexture(width, height, 0);
    if (texture == nullptr)
        return;
    if (texture->load() != 0)
    {
        texture->release();
        return;
    }
    texture->fillAll(kOpaqueBlack, true);
    mVideoTexture = texture;
    mRenderer->setTarget(texture, width, height);
    if (mImage != nullptr && mImage->getTexture() != mStillImage)
        mImage->setTexture(texture);
    refreshImage();
}

void VideoVMR9Texture::clearVideoTexture()
{
    mRenderer->withTextureLocked(
        [](Texture* texture)
        {
            if (texture != nullptr && texture->isCreated())
                texture->fillAll(kOpaqueBlack, true);
        });
}

void VideoVMR9Texture::refreshImage()
{
    if (mImage == nullptr)
        return;
    bool showVideo = mStillImage == nullptr || (getState() != 0 && getPosition() != 0);
    Texture* wanted = showVideo ? mVideoTexture : mStillImage;
    if (mImage->getTexture() != wanted)
    {
        mImage->setTexture(wanted);
        mImage->setSize(static_cast<float>(mWidth), static_cast<float>(mHeight), Image2D::SIZE_STRETCHED);
    }
}

void VideoVMR9Texture::releaseGraph()
{
    if (mPlayer != nullptr)
    {
        // After this no picture reaches the texture any more.
        mPlayer->setFrameSink(nullptr);
        mPlayer->close();
        mPlayer.reset();
    }
    mState = 0;
    mPosition = 0;
    mRateEmulated = false;
    mStepAccumulator = 0;
}

ErrorCode VideoVMR9Texture::openGraph(const std::string& fileName)
{
    releaseGraph();
    mPlayer = std::make_unique<Platform::MediaPlayer>();
    mPlayer->setAudioDevice(gAudioDevice);

    std::unique_ptr<ByteBuffer> bytes;
    ErrorCode code = readDataFromArchives(fileName, bytes);
    if (code != 0)
        return code;

    Platform::PlatformResult result;
    if (bytes != nullptr)
    {
        if (videoStreamTypeOf(fileName) == VideoStreamType::Unknown)
        {
            showMessage(TEXT_1252("Type d'extenstion vidéo de fichier inconnue : \"%s\""),
                        videoFileExtension(fileName).c_str());
            return 2;
        }
        // The player keeps the archive's bytes alive while it reads them.
        std::shared_ptr<ByteBuffer> owner(std::move(bytes));
        const uint8_t* data = owner->data();
        size_t size = owner->size();
        result = mPlayer->openMemory(data, size, std::move(owner), fileName);
    }
    else
    {
        result = mPlayer->openFile(fileName);
    }
    if (Platform::resultFailed(result))
        return Platform::videoOpenErrorCode(result, fileName);

    setVideoSize(mPlayer->videoWidth(), mPlayer->videoHeight());
    mFramesBeforeOpen = mRenderer->framesRendered();
    mPlayer->setFrameSink(mRenderer.get());
    // The running application's sound-effect level, now and on every change.
    ApplicationGeneric* application = getApplication();
    if (SoundManager* sound = application != nullptr ? application->getSoundManager() : nullptr)
        listenToSoundManager(*sound);
    setVolume(soundLevel());
    return 0;
}

ErrorCode VideoVMR9Texture::open(const std::string& fileName)
{
    ErrorCode code = openGraph(fileName);
    // Whatever stage found no way to play it, a Windows Media file names its decoder.
    if (code == ERROR_VIDEO_CODEC_UNAVAILABLE)
        code = Platform::videoOpenErrorCode(Platform::kMediaNoDecoder, fileName);
    if (code != 0)
    {
        releaseGraph();
        return code;
    }
    refreshImage();
    mDuration = getDuration();
    mNoBackwards = !mPlayer->canPlayBackwards();
    return 0;
}

uint32_t VideoVMR9Texture::getState()
{
    if (mPlayer == nullptr)
        return 0;
    mState = static_cast<uint32_t>(mPlayer->state());
    return mState;
}

ErrorCode VideoVMR9Texture::play()
{
    if (mPlayer == nullptr)
        return 0;
    mPlayer->setFrameSink(mRenderer.get());
    mPlayer->play();
    refreshImage();
    return 0;
}

ErrorCode VideoVMR9Texture::stop()
{
    if (mPlayer == nullptr)
        return 0;
    mPlayer->stop();
    // A picture the decoding thread was handing over as the video stopped
    // must not land on the cleared texture: no picture is taken while
    // stopped, and detaching waits for one in flight.
    mPlayer->setFrameSink(nullptr);
    mPlayer->setPositionMs(0);
    clearVideoTexture();
    refreshImage();
    return 0;
}

ErrorCode VideoVMR9Texture::pause()
{
    if (mPlayer == nullptr)
        return 0;
    mPlayer->setFrameSink(mRenderer.get());
    mPlayer->pause();
    return 0;
}

ErrorCode VideoVMR9Texture::resume()
{
    if (mPlayer == nullptr)
        return 0;
    mPlayer->setFrameSink(mRenderer.get());
    mPlayer->play();
    return 0;
}

int32_t VideoVMR9Texture::getDuration()
{
    if (mPlayer == nullptr)
        return 0;
    return static_cast<int32_t>(std::min<int64_t>(mPlayer->durationMs(), INT32_MAX));
}

int32_t VideoVMR9Texture::getPosition()
{
    if (mPlayer == nullptr)
        return 0;
    mPosition = static_cast<int32_t>(std::clamp<int64_t>(mPlayer->positionMs(), 0, INT32_MAX));
    return mPosition;
}

ErrorCode VideoVMR9Texture::setPosition(int32_t positionMs)
{
    if (mPlayer != nullptr)
        mPlayer->setPositionMs(positionMs);
    return 0;
}

void VideoVMR9Texture::getVideoSize(uint32_t& width, uint32_t& height)
{
    width = 0;
    height = 0;
    if (mPlayer != nullptr)
    {
        width = mPlayer->videoWidth();
        height = mPlayer->videoHeight();
    }
    else if (mStillImage != nullptr)
    {
        // The size is known once the image has been read.
        if (mStillImage->load() == 0)
        {
            width = mStillImage->getWidth();
            height = mStillImage->getHeight();
            mStillImage->unload();
        }
    }
}

ErrorCode VideoVMR9Texture::setRate(float rate)
{
    // An infinite step would overflow the position arithmetic of emulation.
    if (!std::isfinite(rate))
        return 1;
    bool wasEmulatingForwards = mRate > 0.0f && mRate != 1.0f && mRateEmulated;
    bool wasEmulatingBackwards = mRate < 0.0f && mNoBackwards;
    mRate = rate;
    if (mPlayer == nullptr)
        return 0;
    // Emulation may run or pause the player below.
    mPlayer->setFrameSink(mRenderer.get());
    if (!(rate < 0.0f && mNoBackwards))
    {
        if (!Platform::resultFailed(mPlayer->setRate(rate)))
        {
            mRateEmulated = false;
            if (wasEmulatingBackwards)
                mPlayer->play();
            return 0;
        }
    }
    mRateEmulated = true;
    if (rate < 0.0f)
    {
        if (!wasEmulatingBackwards)
            mPlayer->pause();
    }
    else if (!wasEmulatingForwards)
    {
        // Forward emulation adds jumps to normal playback.
        mPlayer->play();
    }
    // The first step comes at the next frame.
    mStepAccumulator = mStepPeriod;
    return 0;
}

ErrorCode VideoVMR9Texture::setVolume(uint32_t level)
{
    if (mPlayer != nullptr)
        mPlayer->setVolume(SoundManager::levelToVolume(static_cast<int32_t>(std::min<uint32_t>(level, 255))));
    return 0;
}

int32_t VideoVMR9Texture::getVolume()
{
    if (mPlayer == nullptr)
        return -1;
    int32_t volume = 0;
    if (Platform::resultFailed(mPlayer->getVolume(volume)))
        return -1;
    return SoundManager::volumeToLevel(volume);
}

void VideoVMR9Texture::setStillImage(Texture* texture)
{
    if (texture == mStillImage)
        return;
    Texture* previous = mStillImage;
    mStillImage = texture;
    refreshImage();
    if (previous != nullptr)
        previous->release();
}

void VideoVMR9Texture::endOfVideo()
{
    stop();
    if (mEndCallback != nullptr)
        mEndCallback(0, mUserValue);
}

void VideoVMR9Texture::animate()
{
    ApplicationGeneric* application = getApplication();
    animateFor(application != nullptr ? application->getFrameDelta() : 0);
}

void VideoVMR9Texture::animateFor(uint32_t frameMs)
{
    if (mPlayer == nullptr)
        return;
    bool emulating = mRate != 1.0f && ((mRate < 0.0f && mNoBackwards) || (mRate > 0.0f && mRateEmulated));
    if (emulating && mStepPeriod > 0)
    {
        mStepAccumulator += static_cast<int32_t>(std::min<uint32_t>(frameMs, 1u << 20));
        if (mStepAccumulator >= mStepPeriod)
        {
            int32_t steps = mStepAccumulator / mStepPeriod;
            mStepAccumulator %= mStepPeriod;
            int64_t target = static_cast<int64_t>(getPosition()) +
                             static_cast<int64_t>(static_cast<double>(mStepPeriod) * steps * mRate);
            if (target < 0)
            {
                stop();
            }
            else if (target > mDuration)
            {
                // The callback may open another video or delete this one.
                endOfVideo();
                return;
            }
            else
            {
                // A paused player shows the picture at the new position at once.
                setPosition(static_cast<int32_t>(target));
            }
        }
    }
    refreshImage();
    uint32_t event = 0;
    if (mPlayer != nullptr && mPlayer->getEvent(event) && event == Platform::kMediaEventComplete)
        endOfVideo();
}

uint64_t VideoVMR9Texture::framesRendered() const
{
    // The renderer lives as long as the widget and counts every video's pictures.
    return mRenderer->framesRendered() - mFramesBeforeOpen;
}

ErrorCode VideoVMR9Texture::onDeviceLost()
{
    mSavedState = getState();
    if (mSavedState != 0)
    {
        mSavedPosition = getPosition();
        stop();
    }
    return 0;
}

ErrorCode VideoVMR9Texture::onDeviceReset()
{
    if (mSavedState != 0)
    {
        play();
        setPosition(mSavedPosition);
        if (mSavedState == 2)
            pause();
    }
    return 0;
}
