#pragma once
// What both devices share: every state with its default value, argument
// checks, the light slots, the bindings and the bookkeeping of live
// resources. The implementations add what happens on the card (or in the
// log) through the hooks at the end.
#include "Platform/Gpu/Device.h"

#include <array>
#include <atomic>
#include <map>
#include <thread>
#include <unordered_set>
#include <vector>

namespace Platform::Gpu
{

// One draw call as the implementations receive it, already checked: every
// vertex it reads lies inside the vertex buffer.
struct DrawCall
{
    uint32_t type = PT_TRIANGLELIST;
    uint32_t fvf = 0;
    uint32_t stride = 0;
    const uint8_t* vertices = nullptr; // the stream's data from its offset
    uint32_t primitiveCount = 0;
    // Not indexed: vertices startVertex onwards.
    uint32_t startVertex = 0;
    // Indexed: indices startIndex onwards, each naming vertex baseVertex + index.
    const IndexBuffer* indices = nullptr;
    uint32_t startIndex = 0;
    int32_t baseVertex = 0;
    uint32_t minVertexIndex = 0;
    uint32_t vertexCount = 0;
};

// Vertices a primitive count needs (3 per triangle of a list, 2 more than the
// count for strips and fans).
uint64_t verticesForPrimitives(uint32_t type, uint32_t primitiveCount);

class DeviceBase : public Device
{
public:
    explicit DeviceBase(const PresentParameters& parameters);
    ~DeviceBase() override;

    PlatformResult testCooperativeLevel() override;
    PlatformResult reset(const PresentParameters& parameters) override;
    const PresentParameters& presentParameters() const override { return mParameters; }
    PlatformResult beginScene() override;
    PlatformResult endScene() override;
    PlatformResult present() override;
    PlatformResult clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) override;

    PlatformResult setRenderState(uint32_t state, uint32_t value) override;
    PlatformResult getRenderState(uint32_t state, uint32_t* value) override;
    PlatformResult setTextureStageState(uint32_t stage, uint32_t type, uint32_t value) override;
    PlatformResult getTextureStageState(uint32_t stage, uint32_t type, uint32_t* value) override;
    PlatformResult setSamplerState(uint32_t sampler, uint32_t type, uint32_t value) override;
    PlatformResult getSamplerState(uint32_t sampler, uint32_t type, uint32_t* value) override;

    PlatformResult setTransform(uint32_t type, const Matrix& matrix) override;
    PlatformResult getTransform(uint32_t type, Matrix* matrix) override;
    PlatformResult multiplyTransform(uint32_t type, const Matrix& matrix) override;

    PlatformResult setMaterial(const Material& material) override;
    PlatformResult getMaterial(Material* material) override;
    PlatformResult setLight(uint32_t index, const Light& light) override;
    PlatformResult getLight(uint32_t index, Light* light) override;
    PlatformResult lightEnable(uint32_t index, bool enable) override;
    PlatformResult getLightEnable(uint32_t index, bool* enable) override;

    PlatformResult createTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                 uint32_t format, uint32_t pool, std::unique_ptr<Texture>* texture) override;
    PlatformResult createVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, uint32_t pool,
                                      std::unique_ptr<VertexBuffer>* buffer) override;
    PlatformResult createIndexBuffer(uint32_t length, uint32_t usage, uint32_t format, uint32_t pool,
                                     std::unique_ptr<IndexBuffer>* buffer) override;

    PlatformResult setTexture(uint32_t stage, Texture* texture) override;
    Texture* getTexture(uint32_t stage) override;
    PlatformResult setStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset,
                                   uint32_t stride) override;
    PlatformResult setFVF(uint32_t fvf) override;
    PlatformResult getFVF(uint32_t* fvf) override;
    PlatformResult setIndices(IndexBuffer* buffer) override;
    PlatformResult drawPrimitive(uint32_t type, uint32_t startVertex, uint32_t primitiveCount) override;
    PlatformResult drawIndexedPrimitive(uint32_t type, int32_t baseVertexIndex, uint32_t minVertexIndex,
                                        uint32_t vertexCount, uint32_t startIndex,
                                        uint32_t primitiveCount) override;

    PlatformResult setRenderTarget(Texture* target) override;
    Texture* getRenderTarget() override { return mRenderTarget; }
    uint32_t getAvailableTextureMem() override;
    void beginReusablePass() override;
    void endReusablePass() override;
    // Passes whose picture was copied instead of drawn, and a switch to draw
    // every pass and every frame (for tests and measurements).
    uint64_t reusedPassCount() const { return mReusedPasses; }
    void allowPassReuse(bool allowed) { mPassReuseAllowed = allowed; }
    // Frames presented again instead of drawn, and a switch to draw every
    // frame while passes may still be reused.
    uint64_t skippedFrameCount() const { return mSkippedFrames; }
    void allowFrameSkip(bool allowed) { mFrameSkipAllowed = allowed; }
    // What the textures keep in CPU memory beside the card's copy (for
    // measurements; main thread).
    uint64_t textureCopyBytes() const;
    PlatformResult saveScreenshot(const std::string& path) override;
    PlatformResult getDeviceCaps(DeviceCaps* caps) override;
    PlatformResult createEffect(const std::string& text, const std::vector<EffectMacro>& macros,
                                std::unique_ptr<Effect>* effect, std::string* errors) override;

    // Called by the resources.
    void textureDestroyed(Texture* texture);
    void vertexBufferDestroyed(VertexBuffer* buffer);
    void indexBufferDestroyed(IndexBuffer* buffer);
    void effectDestroyed(Effect* effect);
    // Between these two the effect's pass program draws.
    PlatformResult effectPassBegins(Effect* effect);
    void effectPassEnds(Effect* effect);
    // A texture is about to be written on the calling thread.
    virtual void textureLocking(Texture* texture) { (void)texture; }
    // A buffer or texture is about to be written or released: calls held
    // back that may read it are drawn first (on the thread that holds them;
    // elsewhere the contents' version tells the next pass apart).
    void resourceChanging();
    // The texture's contents are final: a device may send them to the card
    // now, so that its CPU copy can go.
    virtual void textureComplete(Texture* texture) { (void)texture; }

    // The texture memory the device pretends to have.
    static constexpr uint64_t TEXTURE_MEMORY = 256u * 1024 * 1024;

protected:
    struct LightSlot
    {
        Light light;
        bool enabled = false;
    };

    void resetStates();
    // Implementations stop using the resources before the base forgets them.
    void detachAllResources();
    template <class Visit> void forEachLiveTexture(Visit&& visit)
    {
        for (Texture* texture : mLiveTextures)
        {
            visit(*texture);
        }
    }

    // Hooks. beforeChange runs before any state that drawing reads changes.
    virtual void beforeChange() {}
    virtual void log(const std::string& line) { (void)line; }
    virtual bool logging() const { return false; }
    virtual PlatformResult doDraw(const DrawCall& call) = 0;
    virtual PlatformResult doClear(uint32_t flags, uint32_t color, float z, uint32_t stencil) = 0;
    virtual PlatformResult doPresent() = 0;
    virtual PlatformResult doCreateTexture(Texture& texture) = 0;
    virtual void doDestroyTexture(Texture& texture) = 0;
    virtual PlatformResult doSetRenderTarget(Texture* target) = 0;
    virtual PlatformResult doSaveScreenshot(const std::string& path) = 0;
    virtual PlatformResult doReset() { return GPU_OK; }
    // Keeps a copy of the frame's picture and depth as the reusable pass
    // left them / puts that copy back into the frame; false when the
    // device cannot.
    virtual bool keepsPasses() const { return false; }
    virtual bool doStorePass() { return false; }
    virtual bool doReusePass() { return false; }
    // No pass to reuse any more (a screen without a 3D scene): the copy can go.
    virtual void doForgetPass() {}
    // Draws the calls held back so far, if any, and lets later calls through.
    void releaseHeldCalls();
    // The frame shows what no held frame describes: the next one is drawn.
    void frameChanged() { mShownSignature.clear(); }
    // The vertex stage's uniform room in four-float vectors.
    virtual uint32_t vertexShaderConstants() const { return 256; }
    // Builds the effect's programs; the base makes one that only keeps its
    // parameters (and logs its passes).
    virtual PlatformResult doCreateEffect(EffectSource source, const std::vector<EffectMacro>& macros,
                                          std::unique_ptr<Effect>* effect, std::string* errors);

    PresentParameters mParameters;
    bool mInScene = false;
    std::array<uint32_t, RENDER_STATE_COUNT> mRenderStates{};
    std::array<std::array<uint32_t, TEXTURE_STAGE_STATE_COUNT>, TEXTURE_STAGE_COUNT> mStageStates{};
    std::array<std::array<uint32_t, SAMPLER_STATE_COUNT>, SAMPLER_COUNT> mSamplerStates{};
    Matrix mWorld, mView, mProjection;
    Material mMaterial;
    std::map<uint32_t, LightSlot> mLights;
    std::array<Texture*, TEXTURE_STAGE_COUNT> mTextures{};
    VertexBuffer* mStream = nullptr;
    uint32_t mStreamOffset = 0;
    uint32_t mStreamStride = 0;
    uint32_t mFvf = 0;
    IndexBuffer* mIndices = nullptr;
    Texture* mRenderTarget = nullptr;
    uint64_t mTextureBytes = 0;
    // During doPresent: nothing was drawn since the last present, the frame
    // still holds the picture that present showed.
    bool mPresentingShownFrame = false;

    // What changed since the implementation last looked.
    bool mRenderStatesChanged = true;
    bool mTransformsChanged = true;
    bool mMaterialChanged = true;
    bool mLightsChanged = true;
    bool mSamplerChanged = true;
    // The effect whose pass is drawing, or null.
    Effect* mActiveEffect = nullptr;

private:
    friend class Effect;

    // Every state a draw reads, as a held call needs it again.
    struct HeldState
    {
        std::array<uint32_t, RENDER_STATE_COUNT> renderStates;
        std::array<std::array<uint32_t, TEXTURE_STAGE_STATE_COUNT>, TEXTURE_STAGE_COUNT> stageStates;
        std::array<std::array<uint32_t, SAMPLER_STATE_COUNT>, SAMPLER_COUNT> samplerStates;
        Matrix world, view, projection;
        Material material;
        std::map<uint32_t, LightSlot> lights;
        std::array<Texture*, TEXTURE_STAGE_COUNT> textures;
    };
    struct HeldCall
    {
        bool clear = false;
        uint32_t flags = 0, color = 0, stencil = 0;
        float z = 0;
        DrawCall draw;
        size_t state = 0;
    };

    Matrix* transformSlot(uint32_t type);
    PlatformResult checkAndDraw(DrawCall& call);
    PlatformResult checkIndices(const DrawCall& call, uint64_t available);
    static bool sameLights(const std::map<uint32_t, LightSlot>& a, const std::map<uint32_t, LightSlot>& b);
    HeldState currentState() const;
    void restoreState(const HeldState& state);
    // Appends the state to the pass's signature when it differs from the
    // last held one; the index of the held state.
    size_t holdState();
    void hold(HeldCall call);
    template <class T> void sign(const T& value);

    void replayHeldCalls(size_t from, size_t to);
    // The held pass, drawn or copied from the picture kept of the last one.
    void drawHeldPass();
    bool heldFromWholeClear() const;
    // The held calls' signature up to `size` bytes is the kept one.
    bool signatureMatches(const std::vector<uint8_t>& kept, size_t size) const;

    // Calls are held from the pass's begin to the frame's present.
    bool mHolding = false;
    // Between beginReusablePass and endReusablePass.
    bool mPassOpen = false;
    // The pass ended: its calls and signature are the first ones held.
    bool mPassEnded = false;
    bool mPassReusable = false;
    size_t mPassCalls = 0;
    size_t mPassSignatureSize = 0;
    // Other threads lock textures too: only this one may draw what is held.
    std::atomic<std::thread::id> mHoldingThread{};
    // What was held read something whose contents may change unseen.
    bool mPassUnreusable = false;
    bool mFrameUnreusable = false;
    std::vector<HeldState> mHeldStates;
    std::vector<HeldCall> mHeldCalls;
    std::vector<uint8_t> mSignature;
    // The pass whose picture is kept, and the frame the device shows.
    std::vector<uint8_t> mStoredSignature;
    std::vector<uint8_t> mShownSignature;
    uint64_t mReusedPasses = 0;
    uint64_t mSkippedFrames = 0;
    bool mPassReuseAllowed = true;
    bool mFrameSkipAllowed = true;

    std::unordered_set<Texture*> mLiveTextures;
    std::unordered_set<VertexBuffer*> mLiveVertexBuffers;
    std::unordered_set<IndexBuffer*> mLiveIndexBuffers;
    std::unordered_set<Effect*> mLiveEffects;
};

} // namespace Platform::Gpu
