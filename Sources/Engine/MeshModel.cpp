#include "Engine/MeshModel.h"

#include "Engine/Engine3D.h"

MeshModel::~MeshModel() = default;

ErrorCode MeshModel::addUser()
{
    if (mUseCount++ == 0)
        return doLoad();
    return ERROR_OK;
}

ErrorCode MeshModel::removeUser()
{
    if (mUseCount == 0)
        return ERROR_OK;
    if (--mUseCount == 0 && !mFileName.empty())
        return doUnload();
    return ERROR_OK;
}

ErrorCode MeshModel::setOrigin(const Platform::Vector3& point)
{
    mTransform.mPosition = -point;
    mTransform.update();
    return computeBoundingBox();
}

MeshInstance::MeshInstance(MeshModel* model) : mModel(model)
{
    // A model that cannot load has shown why; the instance then draws nothing.
    mModel->addUser();
    mMaterials.assign(mModel->getMaterialCount(), nullptr);
}

MeshInstance::~MeshInstance()
{
    mModel->removeUser();
}

size_t MeshInstance::setAllMaterials(Material* material)
{
    for (Material*& entry : mMaterials)
        entry = material;
    return mMaterials.size();
}

void MeshInstance::setMaterial(size_t index, Material* material)
{
    if (index < mMaterials.size())
        mMaterials[index] = material;
}

Material* MeshInstance::getEffectiveMaterial(size_t index) const
{
    Material* own = getMaterial(index);
    return own != nullptr ? own : mModel->getMaterial(index);
}

size_t MeshInstance::copyMaterials(Engine3D& engine, std::vector<std::unique_ptr<Material>>& copies) const
{
    size_t made = 0;
    for (size_t i = 0; i < mMaterials.size(); ++i)
    {
        std::unique_ptr<Material> copy(engine.createMaterial());
        if (copy == nullptr)
            break;
        if (const Material* source = getEffectiveMaterial(i))
            *copy = *source;
        copies.push_back(std::move(copy));
        ++made;
    }
    return made;
}
