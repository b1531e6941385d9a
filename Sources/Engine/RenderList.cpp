#include "Engine/RenderList.h"

#include "Engine/Image2D.h"

#include <algorithm>

RenderList::~RenderList()
{
    // The images outlive their clip: they are drawn unclipped from now on.
    std::vector<Image2D*> images;
    images.swap(mImages);
    for (Image2D* image : images)
    {
        image->mRenderList = nullptr;
        image->update();
    }
}

void RenderList::setRect(int32_t x, int32_t y, int32_t width, int32_t height)
{
    Rect2D rect{x, y, width, height};
    if (rect == mRect)
        return;
    mRect = rect;
    for (Image2D* image : mImages)
        image->update();
}

void RenderList::remove(Image2D* image)
{
    auto found = std::find(mImages.begin(), mImages.end(), image);
    if (found != mImages.end())
        mImages.erase(found);
}
