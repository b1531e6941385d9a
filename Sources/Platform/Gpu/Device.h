#pragma once
// The graphics device the engines draw through: render states numbered as
// the drawing code numbers them (unset states answer their default values),
// texture stage 0 and sampler 0 states, world/view/projection transforms,
// one material, lights in sparse slots, vertex and index buffers in the
// drawing code's vertex layouts, textures with lock and unlock, render
// targets, clear, scenes and present of a fixed-size frame.
//
// Two implementations: GlDevice (OpenGL 3.3 in the main window) and
// RecordingDevice (keeps the states and logs every call, for tests and
// headless runs). Main thread only, except Texture::lockRect/unlockRect.
#include "Platform/Gpu/Effect.h"
#include "Platform/Gpu/GpuTypes.h"
#include "Platform/Gpu/Resources.h"

#include <memory>
#include <string>
#include <vector>

namespace Platform::Gpu
{

// A vertex-shader version as the design's capability checks compare them.
constexpr uint32_t vertexShaderVersion(uint32_t major, uint32_t minor)
{
    return 0xFFFE0000u | (major << 8) | minor;
}

// What the device can do for effects: the vertex-shader version it stands
// for, from the uniform room of its vertex stage (at least 256 vectors: 2.0,
// at least 96: 1.1, else none), and that room in four-float vectors. The
// environment variable VELMORIQUE_VERTEX_SHADER ("2.0", "1.1" or "0")
// replaces the version, so that every skinning path can be run anywhere.
struct DeviceCaps
{
    uint32_t vertexShaderVersion = 0;
    uint32_t maxVertexShaderConst = 0;
};

class Device
{
public:
    virtual ~Device() = default;

    // The lost/reset protocol: a device here is never lost, so the level is
    // always GPU_OK; reset puts every state back to its default value and
    // keeps every resource.
    virtual PlatformResult testCooperativeLevel() = 0;
    virtual PlatformResult reset(const PresentParameters& parameters) = 0;
    virtual const PresentParameters& presentParameters() const = 0;

    virtual PlatformResult beginScene() = 0;
    virtual PlatformResult endScene() = 0;
    // Shows the frame in the window (scaled to fit when the sizes differ).
    virtual PlatformResult present() = 0;
    // Clears the current render target: colour as ARGB, depth 0..1.
    virtual PlatformResult clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) = 0;

    virtual PlatformResult setRenderState(uint32_t state, uint32_t value) = 0;
    virtual PlatformResult getRenderState(uint32_t state, uint32_t* value) = 0;
    virtual PlatformResult setTextureStageState(uint32_t stage, uint32_t type, uint32_t value) = 0;
    virtual PlatformResult getTextureStageState(uint32_t stage, uint32_t type, uint32_t* value) = 0;
    virtual PlatformResult setSamplerState(uint32_t sampler, uint32_t type, uint32_t value) = 0;
    virtual PlatformResult getSamplerState(uint32_t sampler, uint32_t type, uint32_t* value) = 0;

    virtual PlatformResult setTransform(uint32_t type, const Matrix& matrix) = 0;
    virtual PlatformResult getTransform(uint32_t type, Matrix* matrix) = 0;
    // current = matrix x current
    virtual PlatformResult multiplyTransform(uint32_t type, const Matrix& matrix) = 0;

    virtual PlatformResult setMaterial(const Material& material) = 0;
    virtual PlatformResult getMaterial(Material* material) = 0;
    // Any index is a slot; enabling a slot never set gives it a white
    // directional light pointing along +z.
    virtual PlatformResult setLight(uint32_t index, const Light& light) = 0;
    virtual PlatformResult getLight(uint32_t index, Light* light) = 0;
    virtual PlatformResult lightEnable(uint32_t index, bool enable) = 0;
    virtual PlatformResult getLightEnable(uint32_t index, bool* enable) = 0;

    // levels 0 means the whole chain down to 1 x 1.
    virtual PlatformResult createTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                         uint32_t format, uint32_t pool,
                                         std::unique_ptr<Texture>* texture) = 0;
    virtual PlatformResult createVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, uint32_t pool,
                                              std::unique_ptr<VertexBuffer>* buffer) = 0;
    virtual PlatformResult createIndexBuffer(uint32_t length, uint32_t usage, uint32_t format, uint32_t pool,
                                             std::unique_ptr<IndexBuffer>* buffer) = 0;

    virtual PlatformResult setTexture(uint32_t stage, Texture* texture) = 0;
    virtual Texture* getTexture(uint32_t stage) = 0;
    virtual PlatformResult setStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset,
                                           uint32_t stride) = 0;
    virtual PlatformResult setFVF(uint32_t fvf) = 0;
    virtual PlatformResult getFVF(uint32_t* fvf) = 0;
    virtual PlatformResult setIndices(IndexBuffer* buffer) = 0;

    virtual PlatformResult drawPrimitive(uint32_t type, uint32_t startVertex, uint32_t primitiveCount) = 0;
    // Index i of the buffer names vertex baseVertexIndex + i; the indices used
    // must lie in minVertexIndex .. minVertexIndex + vertexCount - 1.
    virtual PlatformResult drawIndexedPrimitive(uint32_t type, int32_t baseVertexIndex,
                                                uint32_t minVertexIndex, uint32_t vertexCount,
                                                uint32_t startIndex, uint32_t primitiveCount) = 0;

    // A texture made with USAGE_RENDERTARGET, or null for the frame. Drawing
    // into a texture is upright: its first row is the top of the picture.
    virtual PlatformResult setRenderTarget(Texture* target) = 0;
    virtual Texture* getRenderTarget() = 0;

    virtual uint32_t getAvailableTextureMem() = 0;

    // A pass that starts by clearing the whole frame and may show the same
    // picture as the last such pass (an idle 3D scene). From its begin up to
    // the present, the whole frame's clears and draws are held back. At the
    // present, a frame whose held calls, every state they read and the
    // contents of every resource they use are those of the frame the device
    // shows already is not drawn at all: the frame is presented again. A
    // frame that differs is drawn, its pass copied from the last pass's
    // picture (and depth) when that pass is the same. Anything that cannot
    // wait (a render target, an effect, a lock or release of a resource, a
    // read-back, a reset) draws the held calls first, and the rest of the
    // frame is drawn as it comes.
    virtual void beginReusablePass() = 0;
    virtual void endReusablePass() = 0;

    // Writes the current frame to a PNG file (through a temporary file).
    virtual PlatformResult saveScreenshot(const std::string& path) = 0;

    virtual PlatformResult getDeviceCaps(DeviceCaps* caps) = 0;
    // Makes an effect from its text (see Effect.h) with the macros before
    // every technique's own. GPU_INVALIDCALL for a text that is no effect,
    // GPU_FAIL when a technique's program does not build; errors (may be
    // null) then says why.
    virtual PlatformResult createEffect(const std::string& text, const std::vector<EffectMacro>& macros,
                                        std::unique_ptr<Effect>* effect, std::string* errors) = 0;
};

} // namespace Platform::Gpu
