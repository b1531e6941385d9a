#pragma once
// A textured quad of the 3D scene that faces the viewer: the 3D engine keeps
// every sprite's quad in one shared vertex buffer and draws the sprites
// after the scene tree, farthest first. Made by the engine's createSprite,
// owned by whoever asked for it; it leaves the engine's list when destroyed.
#include "Engine/ChildListNode.h"
#include "Platform/Math/Vector.h"

#include <cstdint>

class Texture;

class Sprite3D : public ChildListNode
{
public:
    Sprite3D() = default;
    // Leaves the engine's list and gives back the load of its texture.
    ~Sprite3D() override;

    // The scene walk reaches the sprite inside its ancestors' transforms:
    // where it stands in the world is recorded there, for the sprite pass
    // that comes after the tree.
    ErrorCode render() override;

    Texture* getTexture() const { return mTexture; }
    // The texture is loaded while the sprite holds it; null holds none.
    ErrorCode setTexture(Texture* texture);
    bool isDirty() const { return mDirty; }
    void setDirty(bool dirty) { mDirty = dirty; }
    const Platform::Vector2& getPivot() const { return mPivot; }
    void setPivot(const Platform::Vector2& pivot)
    {
        mPivot = pivot;
        mDirty = true;
    }
    uint32_t getColor() const { return mColor; }
    void setColor(uint32_t color)
    {
        mColor = color;
        mDirty = true;
    }
    bool isBillboard() const { return mBillboard; }
    void setBillboard(bool billboard) { mBillboard = billboard; }
    // Degrees.
    float getRotation() const { return mRotation; }
    void setRotation(float degrees) { mRotation = degrees; }

    // The sprite draws nothing without one.
    Texture* mTexture = nullptr;
    bool mDirty = false;
    // A unit quad standing on the node's position, centred across it.
    Platform::Vector2 mPivot{-0.5f, 0.0f};
    float mWidth = 1;
    float mHeight = 1;
    uint32_t mColor = 0xFFFFFFFF;
    bool mBillboard = false;
    float mRotation = 0;
    Platform::Vector3 mPosition;
    // The first vertex of its quad in the engine's sprite buffer; none until
    // the engine gives it one.
    uint32_t mQuadIndex = 0xFFFFFFFF;
};
