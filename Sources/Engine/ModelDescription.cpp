#include "Engine/ModelDescription.h"

#include "Engine/Engine3D.h"

ModelDescription::ModelDescription()
{
    if (Engine3D* engine = Engine3D::current())
        mModel.reset(engine->createMeshModel());
}

ModelDescription::~ModelDescription()
{
    if (mPreloaded && mModel)
        mModel->removeUser();
}

MeshInstance* ModelDescription::createInstance()
{
    if (!mModel)
        return nullptr;
    MeshInstance* instance = mModel->createInstance();
    instance->mTransform.mScale = {mScale, mScale, mScale};
    instance->mTransform.update();
    return instance;
}

ErrorCode ModelDescription::setPreloaded(bool preloaded)
{
    if (preloaded == mPreloaded || !mModel)
        return ERROR_OK;
    mPreloaded = preloaded;
    return preloaded ? mModel->addUser() : mModel->removeUser();
}
