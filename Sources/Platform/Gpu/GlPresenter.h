#pragma once
// Copies the offscreen frame into the window, scaled to fit, by drawing one
// textured rectangle. A framebuffer blit would do the same, but Mesa's
// software renderer runs a blit through its general pixel pipeline, while a
// rectangle whose colour is a plain texture lookup, drawn into a target
// without a depth buffer, takes its much cheaper 2D path.
#include <cstdint>

namespace Platform::Gpu
{

class GlPresenter
{
public:
    GlPresenter() = default;
    ~GlPresenter();
    GlPresenter(const GlPresenter&) = delete;
    GlPresenter& operator=(const GlPresenter&) = delete;

    // Makes the program; false when it does not build (the caller then
    // keeps to a blit).
    bool create();
    // Draws the frame texture (top row first) into the bound draw
    // framebuffer's rectangle x, y, width, height (OpenGL's bottom-left
    // origin), bilinear unless it fits exactly. Leaves the program, vertex
    // array, sampler of unit 0, texture of unit 0, viewport, blending, depth
    // test, culling and colour mask changed: the caller sets its own again.
    void draw(uint32_t frameTexture, int x, int y, int width, int height, bool exact);

private:
    uint32_t mProgram = 0;
    uint32_t mVertexArray = 0;
    uint32_t mLinear = 0;
    uint32_t mNearest = 0;
};

} // namespace Platform::Gpu
