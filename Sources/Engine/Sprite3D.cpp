#include "Engine/Sprite3D.h"

#include "Engine/Engine3D.h"

Sprite3D::~Sprite3D()
{
    if (Engine3D* engine = Engine3D::current())
        engine->removeSprite(this);
}
