#pragma once
// A widget showing one 2D image: a texture given by its owner, or the
// current skin's texture of an id (bound again at every layout, so that a
// skin change shows after the next one). An image never takes the hover.
#include "Engine/Image2D.h"
#include "Gui/Component.h"

#include <memory>

class Engine2D;

class Image : public Component
{
public:
    // The skin manager's "no id".
    static constexpr uint32_t kNoSkinTexture = 0xFFFFFFFF;

    Image(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t skinTextureId);
    Image(int32_t x, int32_t y, int32_t width, int32_t height, Texture* texture);
    Image(const Rect& rect, Texture* texture);
    // As large as the texture, once it is loaded.
    Image(int32_t x, int32_t y, Texture* texture);
    ~Image() override;

    ErrorCode render() override;
    void updateLayout() override;
    void setRenderList(RenderList* list) override;
    bool isHoverable() override { return false; }

    // Clears the skin id.
    void setTexture(Texture* texture);
    // Clears the plain texture.
    void setSkinTexture(uint32_t id);
    Texture* getTexture() const { return mTexture; }
    uint32_t getSkinTextureId() const { return mSkinTextureId; }
    // Null when the 2D engine could not make one.
    Image2D* getImage() const { return mImage.get(); }

    // Where skin texture ids are resolved: the skin manager's current skin,
    // unless replaced (null restores it).
    static void setSkinTextureSource(Texture* (*source)(uint32_t id));

protected:
    // The 2D image made by the given engine rather than the application's.
    Image(const Rect& rect, Texture* texture, Engine2D& engine);

private:
    void makeImage();
    void makeImage(Engine2D* engine);
    Texture* currentTexture() const;
    // Takes the texture's size the first time it has one.
    void fitTexture();

    std::unique_ptr<Image2D> mImage;
    uint32_t mSkinTextureId = kNoSkinTexture;
    Texture* mTexture = nullptr;
    bool mFitsTexture = false;
};
