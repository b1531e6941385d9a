#pragma once
// Widgets that draw pictures of their own (digits, bar pieces) besides their
// children keep them as owned images: these are drawn after the children and
// follow the widget from one render list to another.
#include "Engine/Image2D.h"

#include <memory>
#include <span>

// Draws the images that are there and not culled, in order; the first
// failure stops the drawing and is returned.
inline ErrorCode drawOwnedImages(std::span<const std::unique_ptr<Image2D>> images)
{
    for (const auto& image : images)
    {
        if (image && !image->isCulled())
        {
            if (ErrorCode code = image->draw())
                return code;
        }
    }
    return 0;
}

inline void setOwnedImagesRenderList(std::span<const std::unique_ptr<Image2D>> images, RenderList* list)
{
    for (const auto& image : images)
    {
        if (image)
            image->setRenderList(list);
    }
}
