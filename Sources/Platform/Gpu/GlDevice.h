#pragma once
// The device on OpenGL 3.3 core (through libepoxy), drawing into an
// offscreen frame of the back-buffer size that present copies into the SDL
// window, scaled to fit. Fixed-function lighting and texture stage 0 are
// emulated by one GLSL program. Draw calls that follow each other with the
// same states are gathered and sent as one; any state change, clear,
// present or read-back sends what was gathered first.
#include "Platform/Gpu/ClearCells.h"
#include "Platform/Gpu/DeviceBase.h"

#include <atomic>
#include <thread>
#include <unordered_map>
#include <vector>

struct SDL_Window;
union SDL_Event;

namespace Platform::Gpu
{

class GlDevice final : public DeviceBase
{
public:
    // The window must have been made with SDL_WINDOW_OPENGL; the device makes
    // its own 3.3 core context on it, current on the calling thread, which
    // becomes the only thread that may draw. GPU_NOTAVAILABLE when the
    // context or the program cannot be made.
    static PlatformResult create(SDL_Window* window, const PresentParameters& parameters,
                                 std::unique_ptr<GlDevice>* device);
    ~GlDevice() override;

    // The current frame, ARGB, top row first (for tests and screenshots).
    std::vector<uint32_t> readFrame();
    // What presenting the frame now would show in the window, ARGB, top row
    // first, with the window's size in pixels (for tests).
    std::vector<uint32_t> readWindow(int& width, int& height);
    // Draw calls sent to OpenGL so far (gathered draws count once).
    uint64_t glDrawCount() const { return mGlDrawCount; }
    // Whether a copy of a reusable pass is held (for tests).
    bool holdsPassCopy() const { return mPassFrameBuffer != 0; }
    // Presents that drew the frame into the window (the others swapped the
    // picture the window's back buffer still held).
    uint64_t windowDrawCount() const { return mWindowDrawCount; }
    // Whether the window's back buffer keeps its picture across a swap here.
    bool windowKeepsBackBuffer() const { return mBackBufferKept; }

    void textureLocking(Texture* texture) override;
    void textureComplete(Texture* texture) override;

private:
    struct Program;
    friend class GlEffect;

    GlDevice(SDL_Window* window, const PresentParameters& parameters);
    PlatformResult initialise();
    PlatformResult makeFrame();
    // A colour texture and a depth buffer of the frame's size and formats
    // on a framebuffer, left bound; false when it is not complete.
    bool makeFrameObjects(uint32_t& texture, uint32_t& depth, uint32_t& framebuffer);
    void releaseFrame();
    // What scaling the frame into the window needs; false when it cannot
    // be made (present then scales by a framebuffer blit).
    bool makePresentObjects();
    // The frame, scaled with bilinear filtering, into the window's
    // rectangle at (x, y), y counted from the bottom.
    void drawFrameScaled(int x, int y, int width, int height);
    // The frame fitted into the window's back buffer, centred, keeping its shape.
    void drawFrameIntoWindow(int drawableWidth, int drawableHeight);
    // Swaps a few near-black pictures and reads each back: whether the
    // driver leaves the back buffer as it was drawn.
    bool probeBackBufferKept();
    // Runs on the thread that pumps the events: what happened to the window
    // may have lost or resized its picture.
    static int watchWindow(void* device, SDL_Event* event);

    void beforeChange() override { flushBatch(); }
    PlatformResult doDraw(const DrawCall& call) override;
    PlatformResult doClear(uint32_t flags, uint32_t color, float z, uint32_t stencil) override;
    PlatformResult doPresent() override;
    PlatformResult doCreateTexture(Texture& texture) override;
    void doDestroyTexture(Texture& texture) override;
    PlatformResult doSetRenderTarget(Texture* target) override;
    PlatformResult doSaveScreenshot(const std::string& path) override;
    PlatformResult doReset() override;
    bool keepsPasses() const override { return true; }
    bool doStorePass() override;
    bool doReusePass() override;
    void doForgetPass() override { releasePassCopy(); }
    void releasePassCopy();
    // Picture and depth, framebuffer to framebuffer, both of the frame's size.
    void copyFrame(uint32_t from, uint32_t to);
    uint32_t vertexShaderConstants() const override;
    PlatformResult doCreateEffect(EffectSource source, const std::vector<EffectMacro>& macros,
                                  std::unique_ptr<Effect>* effect, std::string* errors) override;
    // A draw inside an effect's pass, with its program (GlEffect.cpp).
    PlatformResult drawWithEffect(const DrawCall& call);

    // Gathers only the parts of a rectangle that can change a pixel; false
    // when the draw is not such a rectangle (it is then gathered whole).
    bool drawVisibleParts(const DrawCall& call);
    void flushBatch();
    // Blending of the gathered draws would leave every fragment as it is.
    bool blendChangesNothing() const;
    static bool isOpaque(uint32_t format, const uint8_t* pixels, size_t count);
    // Every alpha byte of `count` blue-first texels is 255.
    static bool alphaAllOpaque(const uint8_t* pixels, size_t count);
    // What stage 0 makes of the texture for the gathered draws: the general
    // stage, the texels as they are, or the texels times one colour that
    // every vertex shares (put in `tint` as red, green, blue, alpha).
    enum class TextureUse
    {
        Stage,
        Alone,
        Tinted,
    };
    TextureUse textureUse(float tint[4] = nullptr) const;
    // The states a program is made for, packed; see GlShaders.cpp. A
    // program that only samples (times a constant) reads none of the
    // stage's states, so one serves them all.
    uint64_t programKey(TextureUse use) const;
    Program* programFor(uint64_t key, TextureUse use);
    bool applyStates();
    void applyRenderStates();
    void applyTransforms();
    void applyMaterial();
    void applyLights();
    void applySampler();
    void applyTexture();
    // Sends the changed levels of the texture to the card.
    void upload(Texture& texture);
    void applyAttributes(uint32_t fvf);
    // Binds the target with the framebuffer the current depth state needs.
    void bindTarget();
    // The frame's own framebuffer with or without its depth buffer, or the
    // target texture's.
    uint32_t targetFrameBuffer(bool withDepth) const;
    void useTargetFrameBuffer(bool withDepth);
    // Reads the levels whose CPU copy was released back from the card.
    void restoreFromCard(Texture& texture);

    SDL_Window* mWindow;
    void* mContext = nullptr;
    uint32_t mWindowId = 0;
    bool mWatchingWindow = false;
    // Set by the window watch, taken by the next present.
    std::atomic<bool> mWindowChanged{true};
    // The window's back buffer holds the frame's picture as the last
    // present drew it, at this drawable size.
    bool mBackBufferKept = false;
    bool mWindowHoldsFrame = false;
    int mPresentedWidth = 0;
    int mPresentedHeight = 0;
    uint64_t mWindowDrawCount = 0;
    std::thread::id mMainThread;
    std::unordered_map<uint64_t, std::unique_ptr<Program>> mPrograms;
    Program* mProgram = nullptr;
    uint64_t mProgramKey = ~0ull;
    bool mPixelSizeChanged = true;
    uint32_t mVertexArray = 0;
    uint32_t mVertexBuffer = 0;
    uint32_t mIndexBuffer = 0;
    uint32_t mSampler = 0;
    uint32_t mPresentProgram = 0;
    uint32_t mPresentVertexArray = 0;
    uint32_t mPresentVertexBuffer = 0;
    uint32_t mPresentSampler = 0;
    uint32_t mFrameTexture = 0;
    uint32_t mFrameDepth = 0;
    uint32_t mFrameBuffer = 0;
    uint32_t mFrameColorBuffer = 0;
    uint32_t mBoundFrameBuffer = 0;
    // The frame's depth buffer still holds nothing but this cleared value.
    bool mFrameDepthClear = false;
    float mFrameDepthValue = 1.0f;
    // The picture and depth a reusable pass left in the frame, in the
    // frame's own formats so that copying them either way is a plain copy.
    uint32_t mPassTexture = 0;
    uint32_t mPassDepth = 0;
    uint32_t mPassFrameBuffer = 0;
    bool mPassDepthClear = false;
    float mPassDepthValue = 1.0f;

    // Gathered draws: vertices repacked to the layout's own size, triangles
    // as a list of 32-bit indices.
    std::vector<uint8_t> mBatchVertices;
    std::vector<uint32_t> mBatchIndices;
    uint32_t mBatchVertexCount = 0;
    uint32_t mBatchFvf = 0;
    // The bits set in every gathered diffuse colour (ARGB), and those set
    // in any of them: the two are equal when all the colours are.
    uint32_t mBatchDiffuseBits = 0xFFFFFFFF;
    uint32_t mBatchDiffuseAnyBits = 0;
    bool mBlendSkipped = false;

    uint32_t mAttributesFvf = 0;
    uint32_t mSourcesFvf = ~0u;
    Texture* mGlTexture = nullptr;
    bool mTextureChanged = true;
    uint64_t mGlDrawCount = 0;
    bool mCopiesReleased = false;
    // Transparent cells of the textures that have some, as last uploaded.
    std::unordered_map<const Texture*, ClearCells> mClearCells;
    std::vector<ClearCells::Part> mParts;
};

} // namespace Platform::Gpu
