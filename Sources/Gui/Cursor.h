#pragma once
// The mouse cursor. The window procedure writes the mouse position and
// buttons here; the cursor is drawn as one 2D sprite per cursor layer over
// everything else, or left to the system's arrow when the start-up settings
// ask for the system cursor.
#include "Framework/ServiceInterfaces.h"

#include <cstdint>
#include <memory>
#include <vector>

class Image2D;

// One picture of the cursor and the point of it that the mouse position
// designates.
class CursorLayer
{
public:
    CursorLayer() = default;
    // Gives back an image it owns.
    ~CursorLayer();
    CursorLayer(CursorLayer&& other) noexcept;
    CursorLayer& operator=(CursorLayer&& other) noexcept;
    CursorLayer(const CursorLayer&) = delete;
    CursorLayer& operator=(const CursorLayer&) = delete;

    // An image the layer owns is released when replaced.
    void setImage(Texture* image, bool owns);
    Texture* getImage() const { return mImage; }
    bool ownsImage() const { return mOwnsImage; }
    void setHotspot(int32_t x, int32_t y)
    {
        mHotspotX = x;
        mHotspotY = y;
    }
    int32_t getHotspotX() const { return mHotspotX; }
    int32_t getHotspotY() const { return mHotspotY; }

private:
    Texture* mImage = nullptr;
    int32_t mHotspotX = 0;
    int32_t mHotspotY = 0;
    bool mOwnsImage = false;
};

class CursorManager : public CursorManagerBase
{
public:
    // One empty layer: nothing is drawn until an image is given.
    CursorManager();
    ~CursorManager() override;

    // Applies the cursor mode; 0.
    ErrorCode init();
    // The system arrow, the system cursor hidden, or the sprites of the
    // layers in use.
    void update() override;
    // Moves each sprite so that its layer's hotspot lies under the mouse.
    void placeSprites() override;
    // The sprites of the layers in use; nothing with the system cursor.
    ErrorCode render() override;
    // Layer 0 of the manager's own layers gets the image (not owned) and
    // those layers are used again.
    void setImage(Texture* image) override;
    // Null: layer 0 of the own layers loses its image and they are used
    // again. Otherwise the caller's layers are used; the caller keeps them
    // alive while they are.
    void setLayers(std::vector<CursorLayer>* layers);

    std::vector<CursorLayer>& getOwnLayers() { return mLayers; }
    const std::vector<CursorLayer>& getCurrentLayers() const { return *mCurrentLayers; }
    Image2D* getSprite(uint32_t index) const
    {
        return index < mSprites.size() ? mSprites[index].get() : nullptr;
    }
    uint32_t getSpriteCount() const { return static_cast<uint32_t>(mSprites.size()); }
    bool isDisabled() const { return mDisabled; }

    bool mMiddleButton = false;

protected:
    // Shows or hides the system's arrow.
    virtual void showSystemArrow(bool show);
    // The start-up settings' system-cursor switch.
    virtual bool isSystemCursor() const;

private:
    std::vector<CursorLayer> mLayers;
    std::vector<CursorLayer>* mCurrentLayers;
    std::vector<std::unique_ptr<Image2D>> mSprites;
    bool mDisabled = false;
};
