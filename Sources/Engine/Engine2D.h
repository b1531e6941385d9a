#pragma once
// The application's 2D drawing service (service 2): it owns the graphics
// device of the whole program, opens and closes every frame, prepares the 2D
// pass in which the widget tree is drawn, keeps the list of every texture it
// handed out, and makes every 2D drawable. Engine2D::create makes the
// implementation registered for a kind (kind 1, Engine2DD3D).
//
// Ownership: images, sheets, rendered components and opening effects belong
// to whoever asked for them (unique_ptr). Textures are reference counted:
// each factory returns one reference that the caller gives back with
// releaseTexture (or Resource::release).
#include "Engine/Image2D.h"
#include "Engine/Image2DStreched.h"
#include "Engine/LayerEffect.h"
#include "Engine/RenderList.h"
#include "Engine/SheetMove.h"
#include "Engine/Texture.h"
#include "Framework/ServiceInterfaces.h"

#include <functional>
#include <memory>
#include <string>

class EngineComponent;
// Widgets of the GUI that the engine implements (Gui/SheetMoveBase.h,
// Gui/RenderedComponent.h).
class RenderedComponent;
class SheetMoveBase;

// What lives above the engine and holds device objects that must be let go
// before a device reset and made again after it (the widget tree, the 3D
// engine's lights, models and scene).
class DeviceObjectsListener
{
public:
    virtual ~DeviceObjectsListener() = default;
    virtual ErrorCode onDeviceLost() = 0;
    virtual ErrorCode onDeviceReset() = 0;
};

class Engine2D : public Engine2DBase
{
public:
    using Creator = std::function<std::unique_ptr<Engine2D>()>;
    // The engine of that kind, or null for a kind nobody registered.
    static std::unique_ptr<Engine2D> create(uint32_t kind);
    static void registerKind(uint32_t kind, Creator creator);

    Engine2D() = default;
    ~Engine2D() override;

    uint32_t getServiceId() override { return 2; }

    // An image at (x, y) with the texture (loaded while bound), size mode and
    // options in flags (Image2D::FLAG_...), size, vertex colour, and the
    // render list it clips against (null: none).
    virtual std::unique_ptr<Image2D> createImage(float x, float y, Texture* texture, uint32_t flags,
                                                 float width, float height, uint32_t color,
                                                 RenderList* renderList) = 0;
    // A quad with four free corners (top-left, top-right, bottom-left,
    // bottom-right); null corners put all four at the origin.
    virtual std::unique_ptr<Image2DStreched> createStretchedImage(const Platform::Vector3* corners,
                                                                  Texture* texture, uint32_t color,
                                                                  uint32_t unused) = 0;
    // Textures: each returns one reference. Nothing is loaded here: an
    // image loads its texture when it binds it.
    virtual Texture* createTexture(uint32_t width, uint32_t height, uint16_t flags) = 0;
    // The pixels stay the caller's and must live as long as the texture may
    // load (a device reset loads again).
    virtual Texture* createTextureFromPixels(uint32_t width, uint32_t height, const void* pixels,
                                             uint16_t flags, uint32_t color) = 0;
    // A texture that draws the rectangle of `atlas` as a picture of its own
    // (one more reference to the atlas, until it is released); loading it
    // loads the atlas. Null from an engine that cannot: the caller then
    // makes textures of their own.
    virtual Texture* createTextureRegion(Texture* /*atlas*/, const ResourceRect& /*rect*/) { return nullptr; }
    // The texture already made for that id or file name (one more
    // reference), else a new one.
    virtual Texture* getTextureByResourceId(uint32_t resourceId, uint16_t flags) = 0;
    virtual Texture* getTextureByName(const std::string& name, uint16_t flags) = 0;
    void releaseTexture(Texture* texture) override;
    Texture* findOrLoadTexture(const std::string& fileName) override { return getTextureByName(fileName, 0); }

    // A rotating sheet container, detached, without pivot.
    virtual std::unique_ptr<SheetMoveBase> createSheetMove(const Rect2D& rect) = 0;
    virtual std::unique_ptr<SheetMove> createGridSheetMove() = 0;
    // An image widget showing what renderComponent draws into it.
    virtual std::unique_ptr<RenderedComponent> createRenderedComponent(const Rect2D& rect) = 0;
    // A video texture widget (Engine2DD3D/EngineComponent.h), owned by the
    // caller; null from an engine that plays no videos.
    virtual EngineComponent* createVideo(int32_t /*x*/, int32_t /*y*/, int32_t /*width*/, int32_t /*height*/,
                                         RenderList* /*renderList*/)
    {
        return nullptr;
    }

    // Presents again a frame that was drawn but may have been overdrawn (a
    // message box or a video takes the window next).
    virtual ErrorCode presentPending() = 0;
    // A 2D pass that reaches only the pixels the 3D scene drawn before it
    // left empty: a picture behind the scene, drawn after it, shades none of
    // the pixels the scene hides. It ends with end2DPass.
    virtual ErrorCode begin2DPassBehindScene() { return begin2DPass(); }
    virtual uint32_t capabilityFlag() { return 1; }
    virtual uint32_t getOpeningEffectCount() { return 2; }
    // Kind 0 spin, 1 zoom, any other null.
    virtual std::unique_ptr<LayerEffect> createOpeningEffect(uint32_t kind) = 0;

    // The depth of every 2D vertex, also the near plane of the 2D projection.
    float getZ() const { return mZ; }
    // Only red, green and blue are used: the frame is always cleared opaque.
    uint32_t getClearColor() const { return mClearColor; }
    void setClearColor(uint32_t color) { mClearColor = color; }

    Texture* findTextureByName(const std::string& name) const;
    Texture* findTextureByResourceId(uint32_t resourceId) const;
    const ResourceList& getTextures() const { return mTextures; }

    // The widget tree's and the 3D engine's device objects, told around a
    // device reset (null: none).
    void setGuiDeviceListener(DeviceObjectsListener* listener) { mGuiListener = listener; }
    void set3DDeviceListener(DeviceObjectsListener* listener) { m3DListener = listener; }

protected:
    uint32_t mClearColor = 0xFF000000;
    float mZ = 1024.0f;
    // Every texture made through this engine, in creation order; the engine
    // does not own them.
    ResourceList mTextures;
    DeviceObjectsListener* mGuiListener = nullptr;
    DeviceObjectsListener* m3DListener = nullptr;
};
