#include "Engine2DD3D/VideoControlAdapter.h"

#include "Engine/Engine2D.h"
#include "Engine/Image2D.h"
#include "Gui/Skin.h"
#include "Gui/VideoControler.h"

#include <algorithm>
#include <limits>

VideoControlAdapter::VideoControlAdapter(std::unique_ptr<EngineComponent> video) : mVideo(std::move(video))
{
    mVideo->setEndCallback(&VideoControlAdapter::onVideoEnd, this);
}

VideoControlAdapter::~VideoControlAdapter()
{
    mVideo->setEndCallback(nullptr, nullptr);
}

void VideoControlAdapter::install()
{
    VideoControler::setVideoFactory(
        [](int32_t x, int32_t y, int32_t width, int32_t height,
           RenderList* renderList) -> std::unique_ptr<ControllableVideo>
        {
            Engine2D* engine = findEngine2D();
            if (engine == nullptr)
                return nullptr;
            std::unique_ptr<EngineComponent> video(engine->createVideo(x, y, width, height, renderList));
            if (!video)
                return nullptr;
            return std::make_unique<VideoControlAdapter>(std::move(video));
        });
}

uint32_t VideoControlAdapter::getDuration()
{
    return static_cast<uint32_t>(std::max(mVideo->getDuration(), 0));
}

uint32_t VideoControlAdapter::getPosition()
{
    return static_cast<uint32_t>(std::max(mVideo->getPosition(), 0));
}

void VideoControlAdapter::setPosition(uint32_t ms)
{
    mVideo->setPosition(static_cast<int32_t>(std::min<uint32_t>(ms, std::numeric_limits<int32_t>::max())));
}

void VideoControlAdapter::getVideoSize(int32_t& width, int32_t& height)
{
    uint32_t w = 0, h = 0;
    mVideo->getVideoSize(w, h);
    width = static_cast<int32_t>(std::min<uint32_t>(w, std::numeric_limits<int32_t>::max()));
    height = static_cast<int32_t>(std::min<uint32_t>(h, std::numeric_limits<int32_t>::max()));
}

Texture* VideoControlAdapter::getTexture()
{
    Image2D* image = mVideo->getImage();
    return image != nullptr ? image->getTexture() : nullptr;
}

bool VideoControlAdapter::isTextureMirrored()
{
    Image2D* image = mVideo->getImage();
    return image != nullptr && image->isMirrorY();
}

void VideoControlAdapter::setEndCallback(std::function<void()> callback)
{
    mEndCallback = std::move(callback);
}

void VideoControlAdapter::onVideoEnd(uint32_t, void* self)
{
    auto* adapter = static_cast<VideoControlAdapter*>(self);
    if (adapter->mEndCallback)
        adapter->mEndCallback();
}
