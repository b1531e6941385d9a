#pragma once
// The clipping context a widget that clips its content (a text field, a
// scrolling container) hands down to the 2D images of its children: a clip
// rectangle in screen pixels and the images that clip against it. Images
// join and leave it themselves; the list does not own them. When the list
// goes first, its images forget it and are recomputed unclipped.
#include "Engine/Rect2D.h"

#include <vector>

class Image2D;

class RenderList
{
public:
    RenderList() = default;
    explicit RenderList(const Rect2D& rect) : mRect(rect) {}
    ~RenderList();
    RenderList(const RenderList&) = delete;
    RenderList& operator=(const RenderList&) = delete;

    // Stores the rectangle and recomputes every image, unless nothing
    // changed.
    void setRect(int32_t x, int32_t y, int32_t width, int32_t height);
    const Rect2D& getRect() const { return mRect; }
    const std::vector<Image2D*>& getImages() const { return mImages; }

private:
    friend class Image2D;
    void add(Image2D* image) { mImages.push_back(image); }
    void remove(Image2D* image);

    std::vector<Image2D*> mImages;
    Rect2D mRect;
};
