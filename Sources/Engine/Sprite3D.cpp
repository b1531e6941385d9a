#include "Engine/Sprite3D.h"

#include "Engine/Engine3D.h"
#include "Engine/Texture.h"

Sprite3D::~Sprite3D()
{
    if (Engine3D* engine = Engine3D::current())
        engine->removeSprite(this);
    if (mTexture != nullptr)
        mTexture->unload();
}

ErrorCode Sprite3D::setTexture(Texture* texture)
{
    ErrorCode error = 0;
    switchTexture(mTexture, texture, error);
    mDirty = true;
    return error;
}

ErrorCode Sprite3D::render()
{
    Platform::Matrix world;
    if (Engine3D* engine = Engine3D::current(); engine != nullptr && engine->getWorldTransform(&world))
        mPosition = {world.m[3][0], world.m[3][1], world.m[3][2]};
    return ChildListNode::render();
}
