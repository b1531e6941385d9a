#include "Platform/Gpu/GlDevice.h"

#include "Platform/Gpu/GlProgram.h"
#include "Platform/Gpu/GlShaders.h"
#include "Platform/Gpu/PngWriter.h"
#include "Platform/System/Memory.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstring>

// OpenGL errors are looked for in debug builds only; a release build does
// not pay for the round trip.
#ifndef NDEBUG
#define GL_CHECK(where) checkGlErrors(where)
#else
#define GL_CHECK(where) ((void)0)
#endif

namespace Platform::Gpu
{

namespace
{

[[maybe_unused]] void checkGlErrors(const char* where)
{
    bool failed = false;
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError())
    {
        std::fprintf(stderr, "OpenGL error 0x%X in %s\n", error, where);
        failed = true;
    }
    assert(!failed && "OpenGL error");
    (void)failed;
}

GLenum glBlend(uint32_t blend)
{
    switch (blend)
    {
    case BLEND_ZERO:
        return GL_ZERO;
    case BLEND_SRCCOLOR:
        return GL_SRC_COLOR;
    case BLEND_INVSRCCOLOR:
        return GL_ONE_MINUS_SRC_COLOR;
    case BLEND_SRCALPHA:
        return GL_SRC_ALPHA;
    case BLEND_INVSRCALPHA:
        return GL_ONE_MINUS_SRC_ALPHA;
    case BLEND_DESTALPHA:
        return GL_DST_ALPHA;
    case BLEND_INVDESTALPHA:
        return GL_ONE_MINUS_DST_ALPHA;
    case BLEND_DESTCOLOR:
        return GL_DST_COLOR;
    case BLEND_INVDESTCOLOR:
        return GL_ONE_MINUS_DST_COLOR;
    case BLEND_SRCALPHASAT:
        return GL_SRC_ALPHA_SATURATE;
    case BLEND_BLENDFACTOR:
        return GL_CONSTANT_COLOR;
    case BLEND_INVBLENDFACTOR:
        return GL_ONE_MINUS_CONSTANT_COLOR;
    default:
        return GL_ONE;
    }
}

GLenum glBlendOp(uint32_t op)
{
    switch (op)
    {
    case BLENDOP_SUBTRACT:
        return GL_FUNC_SUBTRACT;
    case BLENDOP_REVSUBTRACT:
        return GL_FUNC_REVERSE_SUBTRACT;
    case BLENDOP_MIN:
        return GL_MIN;
    case BLENDOP_MAX:
        return GL_MAX;
    default:
        return GL_FUNC_ADD;
    }
}

GLenum glCompare(uint32_t compare)
{
    switch (compare)
    {
    case CMP_NEVER:
        return GL_NEVER;
    case CMP_LESS:
        return GL_LESS;
    case CMP_EQUAL:
        return GL_EQUAL;
    case CMP_LESSEQUAL:
        return GL_LEQUAL;
    case CMP_GREATER:
        return GL_GREATER;
    case CMP_NOTEQUAL:
        return GL_NOTEQUAL;
    case CMP_GREATEREQUAL:
        return GL_GEQUAL;
    default:
        return GL_ALWAYS;
    }
}

GLint glAddress(uint32_t address)
{
    switch (address)
    {
    case TADDRESS_MIRROR:
    case TADDRESS_MIRRORONCE:
        return GL_MIRRORED_REPEAT;
    case TADDRESS_CLAMP:
        return GL_CLAMP_TO_EDGE;
    case TADDRESS_BORDER:
        return GL_CLAMP_TO_BORDER;
    default:
        return GL_REPEAT;
    }
}

GLint glMinFilter(uint32_t minFilter, uint32_t mipFilter)
{
    bool linear = minFilter >= TEXF_LINEAR;
    switch (mipFilter)
    {
    case TEXF_POINT:
        return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    case TEXF_LINEAR:
    case TEXF_ANISOTROPIC:
        return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    default:
        return linear ? GL_LINEAR : GL_NEAREST;
    }
}

void colorOf(uint32_t argb, float out[4])
{
    out[0] = float((argb >> 16) & 0xFF) / 255.0f;
    out[1] = float((argb >> 8) & 0xFF) / 255.0f;
    out[2] = float(argb & 0xFF) / 255.0f;
    out[3] = float(argb >> 24) / 255.0f;
}

struct PixelTransfer
{
    GLint internalFormat;
    GLenum format;
    GLenum type;
};

PixelTransfer transferOf(uint32_t format)
{
    if (format == FMT_A1R5G5B5)
    {
        return {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV};
    }
    // Unsized, so that the software renderer keeps the texels blue first as
    // they come: its fast path for 2D drawing samples no other layout.
    return {GL_RGBA, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV};
}

} // namespace

struct GlDevice::Program
{
    GLuint name = 0;
    GLint worldView, projection, normalMatrix, pixelSize, normalize, localViewer;
    GLint colorSource, material, power, globalAmbient, lightCount, lightType, lightDiffuse, lightSpecular;
    GLint lightAmbient, lightPosition, lightDirection, lightAttenuation, lightSpot;
    GLint texture, textureFactor, alphaRef, tint;

    ~Program()
    {
        if (name)
        {
            glDeleteProgram(name);
        }
    }

    bool build(const std::string& header)
    {
        std::string errors;
        name = linkGlProgram(
            {header.c_str(), kVertexShaderSource}, {header.c_str(), kFragmentShaderSource},
            [](GLuint program) { glBindFragDataLocation(program, 0, "fragColor"); }, errors);
        if (!name)
        {
            std::fprintf(stderr, "Program build failed: %s\n", errors.c_str());
            return false;
        }
        auto at = [this](const char* uniform) { return glGetUniformLocation(name, uniform); };
        worldView = at("uWorldView");
        projection = at("uProjection");
        normalMatrix = at("uNormalMatrix");
        pixelSize = at("uPixelSize");
        normalize = at("uNormalize");
        localViewer = at("uLocalViewer");
        colorSource = at("uColorSource");
        material = at("uMaterial");
        power = at("uPower");
        globalAmbient = at("uGlobalAmbient");
        lightCount = at("uLightCount");
        lightType = at("uLightType");
        lightDiffuse = at("uLightDiffuse");
        lightSpecular = at("uLightSpecular");
        lightAmbient = at("uLightAmbient");
        lightPosition = at("uLightPosition");
        lightDirection = at("uLightDirection");
        lightAttenuation = at("uLightAttenuation");
        lightSpot = at("uLightSpot");
        texture = at("uTexture");
        textureFactor = at("uTextureFactor");
        alphaRef = at("uAlphaRef");
        tint = at("uTint");
        glUseProgram(name);
        glUniform1i(texture, 0);
        return true;
    }
};

PlatformResult GlDevice::create(SDL_Window* window, const PresentParameters& parameters,
                                std::unique_ptr<GlDevice>* device)
{
    if (!window || !device || parameters.backBufferWidth == 0 || parameters.backBufferHeight == 0)
    {
        return GPU_INVALIDCALL;
    }
    std::unique_ptr<GlDevice> made(new GlDevice(window, parameters));
    PlatformResult result = made->initialise();
    if (resultFailed(result))
    {
        return result;
    }
    *device = std::move(made);
    return GPU_OK;
}

GlDevice::GlDevice(SDL_Window* window, const PresentParameters& parameters)
    : DeviceBase(parameters), mWindow(window), mMainThread(std::this_thread::get_id())
{
}

PlatformResult GlDevice::initialise()
{
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    mContext = SDL_GL_CreateContext(mWindow);
    if (!mContext)
    {
        std::fprintf(stderr, "No OpenGL 3.3 context: %s\n", SDL_GetError());
        return GPU_NOTAVAILABLE;
    }
    if (SDL_GL_MakeCurrent(mWindow, mContext) != 0)
    {
        return GPU_NOTAVAILABLE;
    }
    // The game paces its own frames; presenting should not wait for the screen.
    SDL_GL_SetSwapInterval(0);
    // The program for the states a new device starts with proves that the
    // shaders compile here.
    TextureUse use = textureUse();
    mProgramKey = programKey(use);
    mProgram = programFor(mProgramKey, use);
    if (!mProgram)
    {
        return GPU_NOTAVAILABLE;
    }
    glGenVertexArrays(1, &mVertexArray);
    glBindVertexArray(mVertexArray);
    glGenBuffers(1, &mVertexBuffer);
    glGenBuffers(1, &mIndexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, mVertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mIndexBuffer);
    glGenSamplers(1, &mSampler);
    glBindSampler(0, mSampler);
    glActiveTexture(GL_TEXTURE0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glFrontFace(GL_CCW);
    if (!makePresentObjects())
    {
        std::fprintf(stderr, "The frame is scaled into the window by blits\n");
    }
    mBackBufferKept = probeBackBufferKept();
    mWindowId = SDL_GetWindowID(mWindow);
    SDL_AddEventWatch(&GlDevice::watchWindow, this);
    mWatchingWindow = true;
    PlatformResult result = makeFrame();
    if (resultFailed(result))
    {
        return result;
    }
    bindTarget();
    GL_CHECK("initialise");
    return GPU_OK;
}

GlDevice::~GlDevice()
{
    if (mWatchingWindow)
    {
        // Returns only once no watch runs any more on another thread.
        SDL_DelEventWatch(&GlDevice::watchWindow, this);
    }
    if (!mContext)
    {
        return;
    }
    SDL_GL_MakeCurrent(mWindow, mContext);
    mBatchIndices.clear();
    // Resources that outlive the device keep their memory but lose their
    // objects on the card.
    releaseFrame();
    glDeleteSamplers(1, &mSampler);
    glDeleteSamplers(1, &mPresentSampler);
    glDeleteProgram(mPresentProgram);
    glDeleteBuffers(1, &mPresentVertexBuffer);
    glDeleteVertexArrays(1, &mPresentVertexArray);
    glDeleteBuffers(1, &mVertexBuffer);
    glDeleteBuffers(1, &mIndexBuffer);
    glDeleteVertexArrays(1, &mVertexArray);
    mPrograms.clear();
    // Textures that outlive the device keep their contents in memory.
    forEachLiveTexture([this](Texture& texture) { restoreFromCard(texture); });
    detachAllResources();
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(mContext));
}

bool GlDevice::makePresentObjects()
{
    std::string errors;
    mPresentProgram = linkGlProgram(
        {kPresentVertexShaderSource}, {kPresentFragmentShaderSource},
        [](GLuint program) { glBindFragDataLocation(program, 0, "fragColor"); }, errors);
    if (!mPresentProgram)
    {
        std::fprintf(stderr, "Present program: %s\n", errors.c_str());
        return false;
    }
    glUseProgram(mPresentProgram);
    glUniform1i(glGetUniformLocation(mPresentProgram, "uTexture"), 0);
    // Two triangles that the software renderer recognises as one rectangle.
    const float corners[12] = {0, 0, 1, 0, 0, 1, 0, 1, 1, 0, 1, 1};
    glGenVertexArrays(1, &mPresentVertexArray);
    glBindVertexArray(mPresentVertexArray);
    glGenBuffers(1, &mPresentVertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, mPresentVertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof corners, corners, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glGenSamplers(1, &mPresentSampler);
    glSamplerParameteri(mPresentSampler, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glSamplerParameteri(mPresentSampler, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glSamplerParameteri(mPresentSampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(mPresentSampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    // The device's own vertices stay where its draws send them.
    glBindVertexArray(mVertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, mVertexBuffer);
    glUseProgram(0);
    GL_CHECK("makePresentObjects");
    return true;
}

void GlDevice::drawFrameScaled(int x, int y, int width, int height)
{
    glViewport(x, y, width, height);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glUseProgram(mPresentProgram);
    glBindVertexArray(mPresentVertexArray);
    glBindSampler(0, mPresentSampler);
    glBindTexture(GL_TEXTURE_2D, mFrameTexture);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    // The device's program, vertices, sampler and texture again at its next
    // draw; its render states are all applied again after a present.
    glBindVertexArray(mVertexArray);
    glBindSampler(0, mSampler);
    mProgramKey = ~0ull;
    mTextureChanged = true;
}

bool GlDevice::makeFrameObjects(uint32_t& texture, uint32_t& depth, uint32_t& framebuffer)
{
    GLsizei width = GLsizei(mParameters.backBufferWidth), height = GLsizei(mParameters.backBufferHeight);
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    // The window of a software renderer keeps its pixels blue first; a frame
    // laid out the same way (an unsized format given blue-first data) is
    // presented by a plain copy instead of a textured draw over the window.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindTexture(GL_TEXTURE_2D, 0);
    mGlTexture = nullptr;
    mTextureChanged = true;
    return complete;
}

PlatformResult GlDevice::makeFrame()
{
    bool complete = makeFrameObjects(mFrameTexture, mFrameDepth, mFrameBuffer);
    // The same picture without the depth buffer, for drawing that neither
    // tests nor writes depth: the software renderer takes its fast path for
    // 2D drawing only on such a framebuffer.
    glGenFramebuffers(1, &mFrameColorBuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, mFrameColorBuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, mFrameTexture, 0);
    complete = complete && glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, mFrameBuffer);
    mBoundFrameBuffer = mFrameBuffer;
    glClearColor(0, 0, 0, 1);
    glClearDepth(1);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    mFrameDepthClear = true;
    mFrameDepthValue = 1.0f;
    mRenderStatesChanged = true;
    GL_CHECK("makeFrame");
    return complete ? GPU_OK : GPU_OUTOFVIDEOMEMORY;
}

void GlDevice::releasePassCopy()
{
    glDeleteFramebuffers(1, &mPassFrameBuffer);
    glDeleteRenderbuffers(1, &mPassDepth);
    glDeleteTextures(1, &mPassTexture);
    mPassFrameBuffer = mPassDepth = mPassTexture = 0;
}

bool GlDevice::doStorePass()
{
    flushBatch();
    if (!mPassFrameBuffer)
    {
        bool complete = makeFrameObjects(mPassTexture, mPassDepth, mPassFrameBuffer);
        bindTarget();
        if (!complete)
        {
            releasePassCopy();
            GL_CHECK("storePass");
            return false;
        }
    }
    copyFrame(mFrameBuffer, mPassFrameBuffer);
    mPassDepthClear = mFrameDepthClear;
    mPassDepthValue = mFrameDepthValue;
    GL_CHECK("storePass");
    return true;
}

bool GlDevice::doReusePass()
{
    if (!mPassFrameBuffer || mRenderTarget)
    {
        return false;
    }
    flushBatch();
    copyFrame(mPassFrameBuffer, mFrameBuffer);
    mFrameDepthClear = mPassDepthClear;
    mFrameDepthValue = mPassDepthValue;
    GL_CHECK("reusePass");
    return true;
}

void GlDevice::copyFrame(uint32_t from, uint32_t to)
{
    GLint width = GLint(mParameters.backBufferWidth), height = GLint(mParameters.backBufferHeight);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, from);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT,
                      GL_NEAREST);
    // The write masks were changed for the copy.
    mRenderStatesChanged = true;
    bindTarget();
}

void GlDevice::releaseFrame()
{
    releasePassCopy();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    mBoundFrameBuffer = 0;
    glDeleteFramebuffers(1, &mFrameColorBuffer);
    glDeleteFramebuffers(1, &mFrameBuffer);
    glDeleteRenderbuffers(1, &mFrameDepth);
    glDeleteTextures(1, &mFrameTexture);
    mFrameBuffer = mFrameColorBuffer = mFrameDepth = mFrameTexture = 0;
}

void GlDevice::bindTarget()
{
    uint32_t width = mRenderTarget ? mRenderTarget->width() : mParameters.backBufferWidth;
    uint32_t height = mRenderTarget ? mRenderTarget->height() : mParameters.backBufferHeight;
    mBoundFrameBuffer = targetFrameBuffer(mRenderTarget || mRenderStates[RS_ZENABLE]);
    glBindFramebuffer(GL_FRAMEBUFFER, mBoundFrameBuffer);
    glViewport(0, 0, GLsizei(width), GLsizei(height));
    mPixelSizeChanged = true;
}

uint32_t GlDevice::targetFrameBuffer(bool withDepth) const
{
    if (mRenderTarget)
    {
        return mRenderTarget->handles().framebuffer;
    }
    return withDepth ? mFrameBuffer : mFrameColorBuffer;
}

void GlDevice::useTargetFrameBuffer(bool withDepth)
{
    // Changing framebuffers makes the software renderer finish what it has
    // gathered so far: the choice changes only between passes, not per draw.
    uint32_t framebuffer = targetFrameBuffer(withDepth);
    if (framebuffer != mBoundFrameBuffer)
    {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        mBoundFrameBuffer = framebuffer;
    }
}

PlatformResult GlDevice::doReset()
{
    mWindowHoldsFrame = false;
    if (mFrameBuffer)
    {
        releaseFrame();
    }
    PlatformResult result = makeFrame();
    bindTarget();
    mAttributesFvf = 0;
    mSourcesFvf = ~0u;
    return result;
}

void GlDevice::textureLocking(Texture* texture)
{
    // Another thread only writes the CPU copy; what it writes reaches the
    // card at the next draw. On the main thread, draws gathered earlier must
    // still see the old contents.
    if (std::this_thread::get_id() != mMainThread)
    {
        return;
    }
    if (texture == mTextures[0])
    {
        flushBatch();
    }
    restoreFromCard(*texture);
}

void GlDevice::restoreFromCard(Texture& texture)
{
    if (!texture.hasReleasedLevels() || !texture.handles().object)
    {
        return;
    }
    PixelTransfer transfer = transferOf(texture.format());
    glBindTexture(GL_TEXTURE_2D, texture.handles().object);
    texture.restoreReleasedLevels(
        [&](uint32_t level, uint8_t* pixels)
        { glGetTexImage(GL_TEXTURE_2D, GLint(level), transfer.format, transfer.type, pixels); });
    mTextureChanged = true;
    GL_CHECK("restoreFromCard");
}

PlatformResult GlDevice::doCreateTexture(Texture& texture)
{
    PixelTransfer transfer = transferOf(texture.format());
    DeviceHandles& handles = texture.handles();
    glGenTextures(1, &handles.object);
    glBindTexture(GL_TEXTURE_2D, handles.object);
    mGlTexture = nullptr;
    mTextureChanged = true;
    for (uint32_t level = 0; level < texture.storedLevelCount(); ++level)
    {
        glTexImage2D(GL_TEXTURE_2D, GLint(level), transfer.internalFormat, GLsizei(texture.levelWidth(level)),
                     GLsizei(texture.levelHeight(level)), 0, transfer.format, transfer.type, nullptr);
    }
    // A chain shorter than the full one must still count as complete.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(texture.storedLevelCount() - 1));
    // What is drawn into a target may leave any alpha behind; uploads of
    // other textures make it opaque themselves (see upload), since a swizzle
    // keeps the software renderer off its fast path.
    if (texture.format() == FMT_X8R8G8B8 && texture.isRenderTarget())
    {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
    }
    if (texture.isRenderTarget())
    {
        glGenRenderbuffers(1, &handles.depth);
        glBindRenderbuffer(GL_RENDERBUFFER, handles.depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, GLsizei(texture.width()),
                              GLsizei(texture.height()));
        glGenFramebuffers(1, &handles.framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, handles.framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, handles.object, 0);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, handles.depth);
        bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        if (complete)
        {
            glClearColor(0, 0, 0, 1);
            glClearDepth(1);
            glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
            glDepthMask(GL_TRUE);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            mRenderStatesChanged = true;
        }
        bindTarget();
        if (!complete)
        {
            doDestroyTexture(texture);
            return GPU_OUTOFVIDEOMEMORY;
        }
    }
    GL_CHECK("createTexture");
    return GPU_OK;
}

void GlDevice::doDestroyTexture(Texture& texture)
{
    DeviceHandles& handles = texture.handles();
    if (mGlTexture == &texture)
    {
        mGlTexture = nullptr;
        mTextureChanged = true;
    }
    if (handles.framebuffer)
    {
        glDeleteFramebuffers(1, &handles.framebuffer);
        glDeleteRenderbuffers(1, &handles.depth);
    }
    glDeleteTextures(1, &handles.object);
    handles = DeviceHandles{};
    mClearCells.erase(&texture);
    GL_CHECK("destroyTexture");
}

PlatformResult GlDevice::doSetRenderTarget(Texture*)
{
    flushBatch();
    bindTarget();
    GL_CHECK("setRenderTarget");
    return GPU_OK;
}

PlatformResult GlDevice::doClear(uint32_t flags, uint32_t color, float z, uint32_t)
{
    flushBatch();
    GLbitfield mask = 0;
    if (flags & CLEAR_TARGET)
    {
        float c[4];
        colorOf(color, c);
        glClearColor(c[0], c[1], c[2], c[3]);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    // A frame whose depth nothing has written since the same clear (a 2D
    // frame) keeps it: clearing it again would only cost a pass over it.
    bool depthAlreadyClear = !mRenderTarget && mFrameDepthClear && mFrameDepthValue == z;
    if ((flags & CLEAR_ZBUFFER) && !depthAlreadyClear)
    {
        useTargetFrameBuffer(true);
        glClearDepth(z);
        glDepthMask(GL_TRUE);
        mask |= GL_DEPTH_BUFFER_BIT;
        if (!mRenderTarget)
        {
            mFrameDepthClear = true;
            mFrameDepthValue = z;
        }
    }
    if (mask)
    {
        glClear(mask);
        // The write masks were changed for the clear.
        mRenderStatesChanged = true;
    }
    GL_CHECK("clear");
    return GPU_OK;
}

void GlDevice::drawFrameIntoWindow(int drawableWidth, int drawableHeight)
{
    float frameWidth = float(mParameters.backBufferWidth), frameHeight = float(mParameters.backBufferHeight);
    // Fit the frame into the window, keeping its shape, centred.
    float scale = std::min(float(drawableWidth) / frameWidth, float(drawableHeight) / frameHeight);
    GLint width = GLint(std::lround(frameWidth * scale)), height = GLint(std::lround(frameHeight * scale));
    GLint x = (drawableWidth - width) / 2, y = (drawableHeight - height) / 2;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, mFrameBuffer);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    if (width != drawableWidth || height != drawableHeight)
    {
        // Only the bands beside the frame: clearing under it too would cost
        // the software renderer a pass over every pixel of the window.
        glClearColor(0, 0, 0, 1);
        glEnable(GL_SCISSOR_TEST);
        const GLint bands[2][4] = {{0, 0, x > 0 ? x : drawableWidth, y > 0 ? y : drawableHeight},
                                   {x > 0 ? x + width : 0, y > 0 ? y + height : 0, drawableWidth, drawableHeight}};
        for (const GLint* band : bands)
        {
            if (band[2] > band[0] && band[3] > band[1])
            {
                glScissor(band[0], band[1], band[2] - band[0], band[3] - band[1]);
                glClear(GL_COLOR_BUFFER_BIT);
            }
        }
        glDisable(GL_SCISSOR_TEST);
    }
    bool exact = width == GLint(frameWidth) && height == GLint(frameHeight);
    mBoundFrameBuffer = 0;
    if (!exact && mPresentProgram)
    {
        // A scaling blit runs the software renderer's general path over every
        // pixel of the window; a sampled rectangle takes its fast one.
        drawFrameScaled(x, y, width, height);
    }
    else
    {
        // The frame keeps its top row first; the window wants its bottom row first.
        glBlitFramebuffer(0, 0, GLint(frameWidth), GLint(frameHeight), x, y + height, x + width, y,
                          GL_COLOR_BUFFER_BIT, exact ? GL_NEAREST : GL_LINEAR);
    }
}

bool GlDevice::probeBackBufferKept()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    bool kept = true;
    // Drivers that rotate two or three buffers hand back an older one: three
    // different pictures tell them apart from one that keeps its buffer.
    for (int shade = 1; shade <= 3 && kept; ++shade)
    {
        glClearColor(float(shade) / 255.0f, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        SDL_GL_SwapWindow(mWindow);
        uint8_t pixel[4] = {};
        glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        kept = glGetError() == GL_NO_ERROR && pixel[0] == shade;
    }
    mBoundFrameBuffer = 0;
    return kept;
}

int GlDevice::watchWindow(void* device, SDL_Event* event)
{
    auto* self = static_cast<GlDevice*>(device);
    if (event->type != SDL_WINDOWEVENT || event->window.windowID != self->mWindowId)
    {
        return 1;
    }
    switch (event->window.event)
    {
    case SDL_WINDOWEVENT_ENTER:
    case SDL_WINDOWEVENT_LEAVE:
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST:
    case SDL_WINDOWEVENT_TAKE_FOCUS:
    case SDL_WINDOWEVENT_CLOSE:
    case SDL_WINDOWEVENT_HIT_TEST:
        break;
    default:
        // Exposed, shown, restored, resized, moved to another display...:
        // the window may no longer show what its back buffer held.
        self->mWindowChanged.store(true);
        break;
    }
    return 1;
}

PlatformResult GlDevice::doPresent()
{
    flushBatch();
    int drawableWidth = 0, drawableHeight = 0;
    SDL_GL_GetDrawableSize(mWindow, &drawableWidth, &drawableHeight);
    bool windowChanged = mWindowChanged.exchange(false) || drawableWidth != mPresentedWidth ||
                         drawableHeight != mPresentedHeight;
    if (!mPresentingShownFrame || !mWindowHoldsFrame || windowChanged)
    {
        drawFrameIntoWindow(drawableWidth, drawableHeight);
        ++mWindowDrawCount;
    }
    // Otherwise the back buffer still holds this very picture: swapping it
    // again repaints whatever the window may have lost without the stretch.
    SDL_GL_SwapWindow(mWindow);
    // The driver may take a new size only at the swap, after drawing at the
    // old one: the present after a change draws again.
    mWindowHoldsFrame = mBackBufferKept && !windowChanged;
    mPresentedWidth = drawableWidth;
    mPresentedHeight = drawableHeight;
    if (mCopiesReleased)
    {
        // The copies freed lie between live blocks of the heap: without a
        // trim the process would keep them resident.
        Platform::releaseFreeMemory();
        mCopiesReleased = false;
    }
    mRenderStatesChanged = true;
    bindTarget();
    GL_CHECK("present");
    return GPU_OK;
}

std::vector<uint32_t> GlDevice::readFrame()
{
    releaseHeldCalls();
    flushBatch();
    // A screenshot is rare: the next present draws the window afresh
    // rather than trusting what was kept.
    mWindowHoldsFrame = false;
    std::vector<uint32_t> pixels(size_t(mParameters.backBufferWidth) * mParameters.backBufferHeight);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, mFrameBuffer);
    glReadPixels(0, 0, GLsizei(mParameters.backBufferWidth), GLsizei(mParameters.backBufferHeight), GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, pixels.data());
    bindTarget();
    GL_CHECK("readFrame");
    return pixels;
}

std::vector<uint32_t> GlDevice::readWindow(int& width, int& height)
{
    releaseHeldCalls();
    flushBatch();
    // What a present would show, read before it is swapped out of reach.
    SDL_GL_GetDrawableSize(mWindow, &width, &height);
    drawFrameIntoWindow(width, height);
    mWindowHoldsFrame = false;
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels.data());
    // The window keeps its bottom row first.
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
    {
        std::swap_ranges(pixels.begin() + ptrdiff_t(top) * width, pixels.begin() + ptrdiff_t(top + 1) * width,
                         pixels.begin() + ptrdiff_t(bottom) * width);
    }
    mRenderStatesChanged = true;
    bindTarget();
    GL_CHECK("readWindow");
    return pixels;
}

PlatformResult GlDevice::doSaveScreenshot(const std::string& path)
{
    std::vector<uint32_t> pixels = readFrame();
    return writePng(path, mParameters.backBufferWidth, mParameters.backBufferHeight, pixels.data())
               ? GPU_OK
               : GPU_FAIL;
}

namespace
{

// Triangles of a primitive as a list, keeping each one's winding: every odd
// triangle of a strip is taken in the order that faces the same way.
template <class IndexOf>
void appendTriangles(std::vector<uint32_t>& out, uint32_t type, uint32_t primitiveCount, uint32_t base,
                     IndexOf indexOf)
{
    size_t at = out.size();
    out.resize(at + size_t(primitiveCount) * 3);
    uint32_t* write = out.data() + at;
    for (uint32_t t = 0; t < primitiveCount; ++t)
    {
        switch (type)
        {
        case PT_TRIANGLELIST:
            write[0] = base + indexOf(3 * t);
            write[1] = base + indexOf(3 * t + 1);
            write[2] = base + indexOf(3 * t + 2);
            break;
        case PT_TRIANGLESTRIP:
            write[0] = base + indexOf(t + (t & 1));
            write[1] = base + indexOf(t + 1 - (t & 1));
            write[2] = base + indexOf(t + 2);
            break;
        default: // fan
            write[0] = base + indexOf(0);
            write[1] = base + indexOf(t + 1);
            write[2] = base + indexOf(t + 2);
            break;
        }
        write += 3;
    }
}

// The bits set in the diffuse colour of every vertex, and those set in any
// of them: all of them for a layout without one, which draws white.
struct DiffuseBits
{
    uint32_t all = 0xFFFFFFFF;
    uint32_t any = 0xFFFFFFFF;
};

DiffuseBits diffuseBits(uint32_t fvf, const uint8_t* vertices, uint32_t count)
{
    if (!(fvf & FVF_DIFFUSE) || count == 0)
    {
        return {};
    }
    uint32_t size = vertexSize(fvf);
    // After the position and the normal.
    const uint8_t* color = vertices + ((fvf & FVF_NORMAL) ? 24 : 12);
    DiffuseBits bits{0xFFFFFFFF, 0};
    for (uint32_t i = 0; i < count; ++i, color += size)
    {
        uint32_t value;
        std::memcpy(&value, color, sizeof value);
        bits.all &= value;
        bits.any |= value;
    }
    return bits;
}

} // namespace

bool GlDevice::alphaAllOpaque(const uint8_t* pixels, size_t count)
{
    // Without an early exit the loop is vectorised: a video frame is checked
    // at every upload.
    uint8_t all = 0xFF;
    for (size_t i = 0; i < count; ++i)
    {
        all &= pixels[4 * i + 3];
    }
    return all == 0xFF;
}

bool GlDevice::isOpaque(uint32_t format, const uint8_t* pixels, size_t count)
{
    if (format == FMT_X8R8G8B8)
    {
        return true;
    }
    if (format == FMT_A1R5G5B5)
    {
        for (size_t i = 0; i < count; ++i)
        {
            if (!(pixels[2 * i + 1] & 0x80))
            {
                return false;
            }
        }
        return true;
    }
    return alphaAllOpaque(pixels, count);
}

bool GlDevice::blendChangesNothing() const
{
    // Source-alpha blending of a fragment whose alpha is exactly one writes
    // the fragment itself, and the software renderer then need not read the
    // frame.
    const auto& rs = mRenderStates;
    const auto& stage = mStageStates[0];
    const auto& sampler = mSamplerStates[0];
    if (!rs[RS_ALPHABLENDENABLE] || rs[RS_SEPARATEALPHABLENDENABLE] || rs[RS_SRCBLEND] != BLEND_SRCALPHA ||
        rs[RS_DESTBLEND] != BLEND_INVSRCALPHA || rs[RS_BLENDOP] != BLENDOP_ADD)
    {
        return false;
    }
    // Lighting keeps the alpha of the diffuse material colour, taken from
    // the material or from the vertices.
    bool diffuseOpaque = (mBatchDiffuseBits >> 24) == 0xFF;
    if (rs[RS_LIGHTING])
    {
        uint32_t source = rs[RS_COLORVERTEX] ? rs[RS_DIFFUSEMATERIALSOURCE] : MCS_MATERIAL;
        if (source == MCS_COLOR1 && (mBatchFvf & FVF_DIFFUSE))
        {
            diffuseOpaque = (mBatchDiffuseBits >> 24) == 0xFF;
        }
        else if (source == MCS_COLOR2 && (mBatchFvf & FVF_SPECULAR))
        {
            diffuseOpaque = false;
        }
        else
        {
            diffuseOpaque = mMaterial.diffuse.a >= 1.0f;
        }
    }
    Texture* texture = mTextures[0];
    bool textureOpaque =
        !texture || (texture->handles().opaque && !texture->hasPendingUpload() &&
                     sampler[SAMP_ADDRESSU] != TADDRESS_BORDER && sampler[SAMP_ADDRESSV] != TADDRESS_BORDER);
    auto argumentOpaque = [&](uint32_t argument)
    {
        if (argument == TA_TEXTURE)
        {
            return textureOpaque;
        }
        return argument == TA_DIFFUSE && diffuseOpaque;
    };
    if (stage[TSS_COLOROP] == TOP_DISABLE)
    {
        return diffuseOpaque;
    }
    switch (stage[TSS_ALPHAOP])
    {
    case TOP_SELECTARG1:
        return argumentOpaque(stage[TSS_ALPHAARG1]);
    case TOP_SELECTARG2:
        return argumentOpaque(stage[TSS_ALPHAARG2]);
    case TOP_MODULATE:
        return argumentOpaque(stage[TSS_ALPHAARG1]) && argumentOpaque(stage[TSS_ALPHAARG2]);
    default:
        return false;
    }
}

bool GlDevice::drawVisibleParts(const DrawCall& call)
{
    Texture* texture = mTextures[0];
    // What is drawn into a target changes on the card, not through uploads.
    if (!texture || texture->isRenderTarget() || call.indices || call.primitiveCount != 2 ||
        (call.type != PT_TRIANGLESTRIP && call.type != PT_TRIANGLEFAN) || !(call.fvf & FVF_TEXCOUNT_MASK) ||
        texture->hasPendingUpload())
    {
        return false;
    }
    auto found = mClearCells.find(texture);
    if (found == mClearCells.end())
    {
        return false;
    }
    // A fragment whose alpha is zero changes nothing when it is blended by
    // its alpha and writes no depth; its alpha is zero wherever the texture
    // is, when the stage multiplies by the texture's alpha or selects it.
    const auto& rs = mRenderStates;
    const auto& stage = mStageStates[0];
    const auto& sampler = mSamplerStates[0];
    if (!rs[RS_ALPHABLENDENABLE] || rs[RS_SEPARATEALPHABLENDENABLE] || rs[RS_SRCBLEND] != BLEND_SRCALPHA ||
        rs[RS_DESTBLEND] != BLEND_INVSRCALPHA || rs[RS_BLENDOP] != BLENDOP_ADD || rs[RS_LIGHTING] ||
        (rs[RS_ZENABLE] && rs[RS_ZWRITEENABLE]) || rs[RS_FILLMODE] == FILL_POINT ||
        rs[RS_FILLMODE] == FILL_WIREFRAME || stage[TSS_COLOROP] == TOP_DISABLE)
    {
        return false;
    }
    bool alphaFromTexture = (stage[TSS_ALPHAOP] == TOP_SELECTARG1 && stage[TSS_ALPHAARG1] == TA_TEXTURE) ||
                            (stage[TSS_ALPHAOP] == TOP_SELECTARG2 && stage[TSS_ALPHAARG2] == TA_TEXTURE) ||
                            (stage[TSS_ALPHAOP] == TOP_MODULATE &&
                             (stage[TSS_ALPHAARG1] == TA_TEXTURE || stage[TSS_ALPHAARG2] == TA_TEXTURE));
    // Smaller levels or a border colour would reach past the cells.
    if (!alphaFromTexture || (texture->storedLevelCount() > 1 && sampler[SAMP_MIPFILTER] != TEXF_NONE) ||
        sampler[SAMP_ADDRESSU] == TADDRESS_BORDER || sampler[SAMP_ADDRESSV] == TADDRESS_BORDER)
    {
        return false;
    }
    // The corners: origin, along s, along t, and the one across. A strip
    // goes (0,0) (1,0) (0,1) (1,1), a fan round the rectangle.
    const uint32_t size = vertexSize(call.fvf);
    const uint8_t* first = call.vertices + size_t(call.startVertex) * call.stride;
    const uint8_t* corner[4];
    for (int i = 0; i < 4; ++i)
    {
        corner[i] = first + size_t(i) * call.stride;
    }
    if (call.type == PT_TRIANGLEFAN)
    {
        std::swap(corner[2], corner[3]);
    }
    const uint32_t texOffset = size - 8 * ((call.fvf & FVF_TEXCOUNT_MASK) >> FVF_TEXCOUNT_SHIFT);
    auto floats = [](const uint8_t* vertex, uint32_t offset, int count, float* out)
    { std::memcpy(out, vertex + offset, sizeof(float) * size_t(count)); };
    float p[4][3], uv[4][2];
    for (int i = 0; i < 4; ++i)
    {
        floats(corner[i], 0, 3, p[i]);
        floats(corner[i], texOffset, 2, uv[i]);
        // Everything else (normal, colours, further coordinates) the same at
        // every corner, so that only position and coordinates need working out.
        if (std::memcmp(corner[i] + 12, corner[0] + 12, texOffset - 12) != 0 ||
            std::memcmp(corner[i] + texOffset + 8, corner[0] + texOffset + 8, size - texOffset - 8) != 0)
        {
            return false;
        }
    }
    // A parallelogram whose coordinates follow its sides: u along s, v along t.
    auto close = [](float a, float b)
    { return std::fabs(a - b) <= 1e-4f * std::max(1.0f, std::fabs(a) + std::fabs(b)); };
    for (int k = 0; k < 3; ++k)
    {
        if (!close(p[3][k], p[1][k] + p[2][k] - p[0][k]))
        {
            return false;
        }
    }
    if (uv[0][1] != uv[1][1] || uv[2][1] != uv[3][1] || uv[0][0] != uv[2][0] || uv[1][0] != uv[3][0])
    {
        return false;
    }
    if (!found->second.visibleParts(uv[0][0], uv[1][0], uv[0][1], uv[2][1], mParts))
    {
        return false;
    }
    if (!mBatchIndices.empty() && call.fvf != mBatchFvf)
    {
        flushBatch();
    }
    mBatchFvf = call.fvf;
    // Points of the rectangle by parameter, exact at its corners.
    auto lerp = [](float a, float b, float t) { return (1.0f - t) * a + t * b; };
    auto emit = [&](float s, float t)
    {
        size_t at = mBatchVertices.size();
        mBatchVertices.resize(at + size);
        uint8_t* out = mBatchVertices.data() + at;
        std::memcpy(out, corner[0], size);
        float position[3], coordinates[2];
        for (int k = 0; k < 3; ++k)
        {
            position[k] = lerp(lerp(p[0][k], p[2][k], t), lerp(p[1][k], p[3][k], t), s);
        }
        coordinates[0] = lerp(uv[0][0], uv[1][0], s);
        coordinates[1] = lerp(uv[0][1], uv[2][1], t);
        std::memcpy(out, position, sizeof position);
        std::memcpy(out + texOffset, coordinates, sizeof coordinates);
    };
    for (const ClearCells::Part& part : mParts)
    {
        uint32_t base = mBatchVertexCount;
        emit(part.s0, part.t0);
        emit(part.s1, part.t0);
        emit(part.s0, part.t1);
        emit(part.s1, part.t1);
        // The winding of the rectangle's own first triangle.
        for (uint32_t index : {0u, 1u, 2u, 2u, 1u, 3u})
        {
            mBatchIndices.push_back(base + index);
        }
        mBatchVertexCount += 4;
    }
    DiffuseBits bits = diffuseBits(call.fvf, corner[0], 1);
    mBatchDiffuseBits &= bits.all;
    mBatchDiffuseAnyBits |= bits.any;
    return true;
}

PlatformResult GlDevice::doDraw(const DrawCall& call)
{
    if (mActiveEffect)
    {
        return drawWithEffect(call);
    }
    if (drawVisibleParts(call))
    {
        return GPU_OK;
    }
    if (!mBatchIndices.empty() && call.fvf != mBatchFvf)
    {
        flushBatch();
    }
    mBatchFvf = call.fvf;
    uint32_t size = vertexSize(call.fvf);
    uint32_t first =
        call.indices ? uint32_t(call.baseVertex + int32_t(call.minVertexIndex)) : call.startVertex;
    uint32_t count =
        call.indices ? call.vertexCount : uint32_t(verticesForPrimitives(call.type, call.primitiveCount));
    const uint8_t* source = call.vertices + size_t(first) * call.stride;
    size_t at = mBatchVertices.size();
    mBatchVertices.resize(at + size_t(count) * size);
    if (size == call.stride)
    {
        std::memcpy(mBatchVertices.data() + at, source, size_t(count) * size);
    }
    else
    {
        for (uint32_t i = 0; i < count; ++i)
        {
            std::memcpy(mBatchVertices.data() + at + size_t(i) * size, source + size_t(i) * call.stride,
                        size);
        }
    }
    DiffuseBits bits = diffuseBits(call.fvf, mBatchVertices.data() + at, count);
    mBatchDiffuseBits &= bits.all;
    mBatchDiffuseAnyBits |= bits.any;
    uint32_t base = mBatchVertexCount;
    if (call.indices)
    {
        const IndexBuffer& indices = *call.indices;
        uint32_t start = call.startIndex, lowest = call.minVertexIndex;
        appendTriangles(mBatchIndices, call.type, call.primitiveCount, base,
                        [&](uint32_t i) { return indices.indexAt(start + i) - lowest; });
    }
    else
    {
        appendTriangles(mBatchIndices, call.type, call.primitiveCount, base, [](uint32_t i) { return i; });
    }
    mBatchVertexCount += count;
    constexpr size_t flushAt = 1u << 20;
    if (mBatchVertices.size() > flushAt)
    {
        flushBatch();
    }
    return GPU_OK;
}

void GlDevice::flushBatch()
{
    if (mBatchIndices.empty())
    {
        return;
    }
    // The texture's texels decide whether blending can be left out.
    if (mTextures[0] && mTextures[0]->hasPendingUpload())
    {
        upload(*mTextures[0]);
    }
    bool skipBlend = blendChangesNothing();
    if (skipBlend != mBlendSkipped)
    {
        mBlendSkipped = skipBlend;
        mRenderStatesChanged = true;
    }
    if (!applyStates())
    {
        // No program for these states: the draws are dropped, as a card
        // drops what it cannot draw.
        mBatchVertices.clear();
        mBatchIndices.clear();
        mBatchVertexCount = 0;
        mBatchDiffuseBits = 0xFFFFFFFF;
        mBatchDiffuseAnyBits = 0;
        return;
    }
    applyAttributes(mBatchFvf);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(mBatchVertices.size()), mBatchVertices.data(), GL_STREAM_DRAW);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(mBatchIndices.size() * sizeof(uint32_t)),
                 mBatchIndices.data(), GL_STREAM_DRAW);
    glDrawElements(GL_TRIANGLES, GLsizei(mBatchIndices.size()), GL_UNSIGNED_INT, nullptr);
    ++mGlDrawCount;
    mBatchVertices.clear();
    mBatchIndices.clear();
    mBatchVertexCount = 0;
    mBatchDiffuseBits = 0xFFFFFFFF;
    mBatchDiffuseAnyBits = 0;
    GL_CHECK("draw");
}

void GlDevice::applyAttributes(uint32_t fvf)
{
    if (mAttributesFvf == fvf)
    {
        return;
    }
    mAttributesFvf = fvf;
    GLsizei stride = GLsizei(vertexSize(fvf));
    uintptr_t offset = 0;
    auto pointer = [&](GLuint location, GLint components, GLenum type, GLboolean normalised, uintptr_t size)
    {
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, components, type, normalised, stride,
                              reinterpret_cast<void*>(offset));
        offset += size;
    };
    pointer(0, 3, GL_FLOAT, GL_FALSE, 12);
    if (fvf & FVF_NORMAL)
    {
        pointer(1, 3, GL_FLOAT, GL_FALSE, 12);
    }
    else
    {
        glDisableVertexAttribArray(1);
        glVertexAttrib3f(1, 0, 0, 0);
    }
    // Colours are stored B, G, R, A in memory.
    if (fvf & FVF_DIFFUSE)
    {
        pointer(2, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, 4);
    }
    else
    {
        glDisableVertexAttribArray(2);
        glVertexAttrib4f(2, 1, 1, 1, 1);
    }
    if (fvf & FVF_SPECULAR)
    {
        pointer(3, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, 4);
    }
    else
    {
        glDisableVertexAttribArray(3);
        glVertexAttrib4f(3, 0, 0, 0, 0);
    }
    if (fvf & FVF_TEXCOUNT_MASK)
    {
        pointer(4, 2, GL_FLOAT, GL_FALSE, 8);
    }
    else
    {
        glDisableVertexAttribArray(4);
        glVertexAttrib2f(4, 0, 0);
    }
}

uint64_t GlDevice::programKey(TextureUse use) const
{
    if (use != TextureUse::Stage)
    {
        return (uint64_t(1) << 63) | uint64_t(use);
    }
    const auto& stage = mStageStates[0];
    const auto& rs = mRenderStates;
    uint64_t key = 0;
    auto put = [&key](uint64_t value, int bits) { key = (key << bits) | (value & ((1u << bits) - 1)); };
    put(stage[TSS_COLOROP], 5);
    put(stage[TSS_COLORARG1], 6);
    put(stage[TSS_COLORARG2], 6);
    put(stage[TSS_ALPHAOP], 5);
    put(stage[TSS_ALPHAARG1], 6);
    put(stage[TSS_ALPHAARG2], 6);
    put(rs[RS_ALPHATESTENABLE] ? rs[RS_ALPHAFUNC] : 0, 4);
    put(rs[RS_LIGHTING] ? 1 : 0, 1);
    put(rs[RS_SPECULARENABLE] ? 1 : 0, 1);
    put(mTextures[0] ? 1 : 0, 1);
    return key;
}

GlDevice::TextureUse GlDevice::textureUse(float tint[4]) const
{
    // The stage passes the texture on, multiplied at most by vertices that
    // all have the same colour: a shader that only samples, times that
    // colour as a constant unless it is white, draws the same, and lets the
    // software renderer take its fast path for 2D drawing.
    const auto& stage = mStageStates[0];
    const auto& rs = mRenderStates;
    // Nothing gathered yet (an effect's draw) counts as white.
    uint32_t anyBits = mBatchIndices.empty() ? 0xFFFFFFFF : mBatchDiffuseAnyBits;
    if (!mTextures[0] || rs[RS_LIGHTING] || rs[RS_SPECULARENABLE] || rs[RS_ALPHATESTENABLE] ||
        mBatchDiffuseBits != anyBits)
    {
        return TextureUse::Stage;
    }
    float diffuse[4];
    colorOf(mBatchDiffuseBits, diffuse);
    float factor[4] = {1, 1, 1, 1};
    auto fromDiffuse = [](uint32_t argument) { return argument == TA_DIFFUSE || argument == TA_CURRENT; };
    // The texture's channels `first` to `last` times 1 or the shared colour.
    auto passesTexture = [&](uint32_t op, uint32_t arg1, uint32_t arg2, int first, int last)
    {
        switch (op)
        {
        case TOP_SELECTARG1:
            return arg1 == TA_TEXTURE;
        case TOP_SELECTARG2:
            return arg2 == TA_TEXTURE;
        case TOP_MODULATE:
            if ((arg1 == TA_TEXTURE && fromDiffuse(arg2)) || (fromDiffuse(arg1) && arg2 == TA_TEXTURE))
            {
                std::copy(diffuse + first, diffuse + last + 1, factor + first);
                return true;
            }
            return false;
        default:
            return false;
        }
    };
    if (!passesTexture(stage[TSS_COLOROP], stage[TSS_COLORARG1], stage[TSS_COLORARG2], 0, 2) ||
        !passesTexture(stage[TSS_ALPHAOP], stage[TSS_ALPHAARG1], stage[TSS_ALPHAARG2], 3, 3))
    {
        return TextureUse::Stage;
    }
    if (tint)
    {
        std::copy(factor, factor + 4, tint);
    }
    bool white = std::all_of(factor, factor + 4, [](float f) { return f == 1.0f; });
    return white ? TextureUse::Alone : TextureUse::Tinted;
}

GlDevice::Program* GlDevice::programFor(uint64_t key, TextureUse use)
{
    auto found = mPrograms.find(key);
    if (found != mPrograms.end())
    {
        // A program that did not build is not tried again at every draw.
        if (found->second)
        {
            glUseProgram(found->second->name);
        }
        return found->second.get();
    }
    const auto& stage = mStageStates[0];
    const auto& rs = mRenderStates;
    char header[512];
    std::snprintf(header, sizeof header,
                  "#version 330 core\n#define LIGHTING %d\n#define SPECULAR %d\n#define HAS_TEXTURE %d\n"
                  "#define COLOR_OP %u\n#define COLOR_ARG1 %u\n#define COLOR_ARG2 %u\n#define ALPHA_OP %u\n"
                  "#define ALPHA_ARG1 %u\n#define ALPHA_ARG2 %u\n#define ALPHA_FUNC %u\n#define TEXTURE_ONLY %d\n"
                  "#define TEXTURE_TINTED %d\n",
                  rs[RS_LIGHTING] ? 1 : 0, rs[RS_SPECULARENABLE] ? 1 : 0, mTextures[0] ? 1 : 0,
                  stage[TSS_COLOROP] & 0x1F, stage[TSS_COLORARG1] & 0x3F, stage[TSS_COLORARG2] & 0x3F,
                  stage[TSS_ALPHAOP] & 0x1F, stage[TSS_ALPHAARG1] & 0x3F, stage[TSS_ALPHAARG2] & 0x3F,
                  rs[RS_ALPHATESTENABLE] ? rs[RS_ALPHAFUNC] & 0xF : 0u, use == TextureUse::Alone ? 1 : 0,
                  use == TextureUse::Tinted ? 1 : 0);
    auto program = std::make_unique<Program>();
    if (!program->build(header))
    {
        mPrograms.emplace(key, nullptr);
        return nullptr;
    }
    Program* made = program.get();
    mPrograms.emplace(key, std::move(program));
    return made;
}

bool GlDevice::applyStates()
{
    if (!mRenderTarget && mRenderStates[RS_ZENABLE] && mRenderStates[RS_ZWRITEENABLE])
    {
        mFrameDepthClear = false;
    }
    useTargetFrameBuffer(mRenderStates[RS_ZENABLE] != 0);
    float tint[4];
    TextureUse use = textureUse(tint);
    uint64_t key = programKey(use);
    if (key != mProgramKey || !mProgram)
    {
        mProgram = programFor(key, use);
        mProgramKey = key;
        if (!mProgram)
        {
            return false;
        }
        // Uniforms belong to the program: the new one needs them all.
        mRenderStatesChanged = mTransformsChanged = mMaterialChanged = mLightsChanged = mPixelSizeChanged =
            true;
    }
    if (mPixelSizeChanged)
    {
        float width = float(mRenderTarget ? mRenderTarget->width() : mParameters.backBufferWidth);
        float height = float(mRenderTarget ? mRenderTarget->height() : mParameters.backBufferHeight);
        glUniform2f(mProgram->pixelSize, 1.0f / width, 1.0f / height);
        mPixelSizeChanged = false;
    }
    if (mRenderStatesChanged || mSourcesFvf != mBatchFvf)
    {
        applyRenderStates();
    }
    if (mTransformsChanged)
    {
        applyTransforms();
    }
    if (mMaterialChanged)
    {
        applyMaterial();
    }
    if (mLightsChanged)
    {
        applyLights();
    }
    if (mSamplerChanged)
    {
        applySampler();
    }
    applyTexture();
    // The batch's colour may differ from the last one's.
    if (use == TextureUse::Tinted)
    {
        glUniform4fv(mProgram->tint, 1, tint);
    }
    return true;
}

void GlDevice::applyRenderStates()
{
    const auto& rs = mRenderStates;
    const Program& p = *mProgram;
    if (rs[RS_ALPHABLENDENABLE] && !mBlendSkipped)
    {
        glEnable(GL_BLEND);
        if (rs[RS_SEPARATEALPHABLENDENABLE])
        {
            glBlendFuncSeparate(glBlend(rs[RS_SRCBLEND]), glBlend(rs[RS_DESTBLEND]),
                                glBlend(rs[RS_SRCBLENDALPHA]), glBlend(rs[RS_DESTBLENDALPHA]));
            glBlendEquationSeparate(glBlendOp(rs[RS_BLENDOP]), glBlendOp(rs[RS_BLENDOPALPHA]));
        }
        else
        {
            glBlendFunc(glBlend(rs[RS_SRCBLEND]), glBlend(rs[RS_DESTBLEND]));
            glBlendEquation(glBlendOp(rs[RS_BLENDOP]));
        }
        float factor[4];
        colorOf(rs[RS_BLENDFACTOR], factor);
        glBlendColor(factor[0], factor[1], factor[2], factor[3]);
    }
    else
    {
        glDisable(GL_BLEND);
    }
    if (rs[RS_ZENABLE])
    {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(glCompare(rs[RS_ZFUNC]));
        glDepthMask(rs[RS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
        // The biases are depths (0..1) and depth slopes added to each
        // fragment's depth; OpenGL counts the constant one in steps of the
        // 24-bit depth buffer.
        float bias = std::bit_cast<float>(rs[RS_DEPTHBIAS]);
        float slope = std::bit_cast<float>(rs[RS_SLOPESCALEDEPTHBIAS]);
        if (bias != 0.0f || slope != 0.0f)
        {
            glEnable(GL_POLYGON_OFFSET_FILL);
            glPolygonOffset(slope, bias * float((1u << 24) - 1));
        }
        else
        {
            glDisable(GL_POLYGON_OFFSET_FILL);
        }
    }
    else
    {
        glDisable(GL_DEPTH_TEST);
    }
    // Pictures are stored top row first, so a triangle that turns clockwise
    // on the screen turns counter-clockwise for OpenGL: that is its front.
    switch (rs[RS_CULLMODE])
    {
    case CULL_CW:
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT);
        break;
    case CULL_CCW:
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        break;
    default:
        glDisable(GL_CULL_FACE);
        break;
    }
    uint32_t writeMask = rs[RS_COLORWRITEENABLE];
    glColorMask((writeMask & 1) != 0, (writeMask & 2) != 0, (writeMask & 4) != 0, (writeMask & 8) != 0);
    glPolygonMode(GL_FRONT_AND_BACK, rs[RS_FILLMODE] == FILL_POINT       ? GL_POINT
                                     : rs[RS_FILLMODE] == FILL_WIREFRAME ? GL_LINE
                                                                         : GL_FILL);

    glUniform1f(p.alphaRef, float(rs[RS_ALPHAREF] & 0xFF));
    glUniform1i(p.normalize, rs[RS_NORMALIZENORMALS] ? 1 : 0);
    glUniform1i(p.localViewer, rs[RS_LOCALVIEWER] ? 1 : 0);
    float color[4];
    colorOf(rs[RS_TEXTUREFACTOR], color);
    glUniform4fv(p.textureFactor, 1, color);
    colorOf(rs[RS_AMBIENT], color);
    glUniform4fv(p.globalAmbient, 1, color);
    // A material colour comes from the vertex only when the layout has it.
    auto source = [&](uint32_t state)
    {
        if (!rs[RS_COLORVERTEX])
        {
            return 0;
        }
        if (rs[state] == MCS_COLOR1 && (mBatchFvf & FVF_DIFFUSE))
        {
            return 1;
        }
        if (rs[state] == MCS_COLOR2 && (mBatchFvf & FVF_SPECULAR))
        {
            return 2;
        }
        return 0;
    };
    glUniform4i(p.colorSource, source(RS_DIFFUSEMATERIALSOURCE), source(RS_SPECULARMATERIALSOURCE),
                source(RS_AMBIENTMATERIALSOURCE), source(RS_EMISSIVEMATERIALSOURCE));
    mSourcesFvf = mBatchFvf;
    mRenderStatesChanged = false;
}

void GlDevice::applyTransforms()
{
    Matrix worldView = mWorld * mView;
    glUniformMatrix4fv(mProgram->worldView, 1, GL_FALSE, worldView.data());
    glUniformMatrix4fv(mProgram->projection, 1, GL_FALSE, mProjection.data());
    // Normals go through the inverse transpose, so that scaling bends them
    // the right way.
    Matrix inverse;
    Matrix normal = matrixInverse(worldView, inverse) ? matrixTranspose(inverse) : worldView;
    float n[9];
    for (int row = 0; row < 3; ++row)
    {
        for (int column = 0; column < 3; ++column)
        {
            n[row * 3 + column] = normal.m[row][column];
        }
    }
    glUniformMatrix3fv(mProgram->normalMatrix, 1, GL_FALSE, n);
    mTransformsChanged = false;
    // Lights are given in world space and lit in view space.
    mLightsChanged = true;
}

void GlDevice::applyMaterial()
{
    const Material& m = mMaterial;
    const float values[16] = {m.diffuse.r,  m.diffuse.g,  m.diffuse.b,  m.diffuse.a,
                              m.specular.r, m.specular.g, m.specular.b, m.specular.a,
                              m.ambient.r,  m.ambient.g,  m.ambient.b,  m.ambient.a,
                              m.emissive.r, m.emissive.g, m.emissive.b, m.emissive.a};
    glUniform4fv(mProgram->material, 4, values);
    glUniform1f(mProgram->power, m.power);
    mMaterialChanged = false;
}

void GlDevice::applyLights()
{
    GLint types[kMaxActiveLights];
    float diffuse[kMaxActiveLights][4], specular[kMaxActiveLights][4], ambient[kMaxActiveLights][4];
    float position[kMaxActiveLights][3], direction[kMaxActiveLights][3];
    float attenuation[kMaxActiveLights][4], spot[kMaxActiveLights][3];
    int count = 0;
    // The enabled slots with the lowest indices light the scene.
    for (const auto& [index, slot] : mLights)
    {
        if (!slot.enabled || count == kMaxActiveLights)
        {
            continue;
        }
        const Light& light = slot.light;
        types[count] = GLint(light.type);
        auto copyColor = [](const ColorValue& c, float out[4])
        {
            out[0] = c.r;
            out[1] = c.g;
            out[2] = c.b;
            out[3] = c.a;
        };
        copyColor(light.diffuse, diffuse[count]);
        copyColor(light.specular, specular[count]);
        copyColor(light.ambient, ambient[count]);
        Vector3 p = vec3TransformCoord(light.position, mView);
        Vector3 d = vec3Normalize(vec3TransformNormal(light.direction, mView));
        position[count][0] = p.x;
        position[count][1] = p.y;
        position[count][2] = p.z;
        direction[count][0] = d.x;
        direction[count][1] = d.y;
        direction[count][2] = d.z;
        attenuation[count][0] = light.attenuation0;
        attenuation[count][1] = light.attenuation1;
        attenuation[count][2] = light.attenuation2;
        attenuation[count][3] = light.range;
        spot[count][0] = std::cos(light.theta / 2);
        spot[count][1] = std::cos(light.phi / 2);
        spot[count][2] = light.falloff;
        ++count;
    }
    const Program& p = *mProgram;
    glUniform1i(p.lightCount, count);
    if (count > 0)
    {
        glUniform1iv(p.lightType, count, types);
        glUniform4fv(p.lightDiffuse, count, &diffuse[0][0]);
        glUniform4fv(p.lightSpecular, count, &specular[0][0]);
        glUniform4fv(p.lightAmbient, count, &ambient[0][0]);
        glUniform3fv(p.lightPosition, count, &position[0][0]);
        glUniform3fv(p.lightDirection, count, &direction[0][0]);
        glUniform4fv(p.lightAttenuation, count, &attenuation[0][0]);
        glUniform3fv(p.lightSpot, count, &spot[0][0]);
    }
    mLightsChanged = false;
}

void GlDevice::applySampler()
{
    const auto& sampler = mSamplerStates[0];
    glSamplerParameteri(mSampler, GL_TEXTURE_MAG_FILTER,
                        sampler[SAMP_MAGFILTER] >= TEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
    glSamplerParameteri(mSampler, GL_TEXTURE_MIN_FILTER,
                        glMinFilter(sampler[SAMP_MINFILTER], sampler[SAMP_MIPFILTER]));
    glSamplerParameteri(mSampler, GL_TEXTURE_WRAP_S, glAddress(sampler[SAMP_ADDRESSU]));
    glSamplerParameteri(mSampler, GL_TEXTURE_WRAP_T, glAddress(sampler[SAMP_ADDRESSV]));
    float border[4];
    colorOf(sampler[SAMP_BORDERCOLOR], border);
    glSamplerParameterfv(mSampler, GL_TEXTURE_BORDER_COLOR, border);
    float bias;
    std::memcpy(&bias, &sampler[SAMP_MIPMAPLODBIAS], sizeof bias);
    glSamplerParameterf(mSampler, GL_TEXTURE_LOD_BIAS, std::isfinite(bias) ? bias : 0.0f);
    glSamplerParameterf(mSampler, GL_TEXTURE_MIN_LOD, float(sampler[SAMP_MAXMIPLEVEL]));
    mSamplerChanged = false;
}

void GlDevice::textureComplete(Texture* texture)
{
    if (std::this_thread::get_id() != mMainThread || !texture->hasPendingUpload())
    {
        return;
    }
    if (texture == mTextures[0])
    {
        flushBatch();
    }
    upload(*texture);
}

void GlDevice::applyTexture()
{
    Texture* texture = mTextures[0];
    if (texture && texture->hasPendingUpload())
    {
        upload(*texture);
    }
    if (mTextureChanged || mGlTexture != texture)
    {
        glBindTexture(GL_TEXTURE_2D, texture ? texture->handles().object : 0);
        mGlTexture = texture;
        mTextureChanged = false;
    }
}

void GlDevice::upload(Texture& texture)
{
    glBindTexture(GL_TEXTURE_2D, texture.handles().object);
    PixelTransfer transfer = transferOf(texture.format());
    bool baseChanged = false;
    std::vector<uint8_t> opaque;
    texture.uploadChangedLevels(
        [&](uint32_t level, const uint8_t* pixels, uint32_t width, uint32_t height)
        {
            const uint8_t* sent = pixels;
            size_t count = size_t(width) * height;
            // The alpha of a texture without one reads as opaque whatever its
            // bytes hold; pictures written opaque (video frames) go as they are.
            if (texture.format() == FMT_X8R8G8B8 && !alphaAllOpaque(pixels, count))
            {
                opaque.assign(pixels, pixels + 4 * count);
                for (size_t i = 3; i < opaque.size(); i += 4)
                {
                    opaque[i] = 0xFF;
                }
                sent = opaque.data();
            }
            glTexSubImage2D(GL_TEXTURE_2D, GLint(level), 0, 0, GLsizei(width), GLsizei(height),
                            transfer.format, transfer.type, sent);
            if (level == 0)
            {
                baseChanged = true;
                texture.handles().opaque = isOpaque(texture.format(), pixels, size_t(width) * height);
                ClearCells cells = texture.handles().opaque
                                       ? ClearCells{}
                                       : ClearCells::find(texture.format(), pixels, width, height);
                if (cells.empty())
                {
                    mClearCells.erase(&texture);
                }
                else
                {
                    mClearCells[&texture] = std::move(cells);
                }
            }
        });
    if (baseChanged && texture.generatesMipChain() && texture.storedLevelCount() > 1)
    {
        glGenerateMipmap(GL_TEXTURE_2D);
    }
    mCopiesReleased = mCopiesReleased || texture.hasReleasedLevels();
    // The unit now holds this texture, whatever the draws expect.
    mTextureChanged = true;
    GL_CHECK("upload");
}

} // namespace Platform::Gpu
