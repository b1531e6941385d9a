#include "Tarnaveli/GameDescription/EngineXmlTransfers.h"

#include "Engine/MeshModel.h"
#include "Engine/ModelDescription.h"
#include "Engine/Transform3D.h"

ErrorCode transferPosition3D(XmlObjectReader& reader, Transform3D& transform)
{
    ErrorCode code = reader.transferChild("Pos", [&] { return reader.transferPoint(transform.mPosition); });
    if (code == ERROR_OK)
        code = reader.transferChild("Direction", [&] { return reader.transferPoint(transform.mDirection); });
    if (code == ERROR_OK)
        code = reader.transferChild("Up", [&] { return reader.transferPoint(transform.mUp); });
    if (code == ERROR_OK)
        code = reader.transferChild("Scale", [&] { return reader.transferPoint(transform.mScale); });
    if (code == ERROR_OK && reader.isReading())
        transform.update();
    return code;
}

ErrorCode transferMeshModelBase(XmlObjectReader& reader, MeshModel* model)
{
    std::string fileName = model != nullptr ? model->getFileName() : std::string();
    uint8_t threshold = model != nullptr ? model->getThreshold() : 0;
    uint32_t transparency = model != nullptr ? model->getTransparency() : MeshModel::TRANSPARENCY_ALPHA;
    uint32_t culling = model != nullptr ? model->getCulling() : MeshModel::CULLING_NONE;
    bool repeat = model != nullptr ? model->getTextureRepeat() : true;
    Transform3D scratch;
    Transform3D& transform = model != nullptr ? model->getTransform() : scratch;

    ErrorCode code = reader.transferChild("Filename", [&] { return reader.transferString(fileName); });
    if (code == ERROR_OK)
        code = reader.transferChild("TransparencyThreshold", [&] { return reader.transferByte(threshold); });
    if (code == ERROR_OK)
        code = reader.transferChild("TransparencyMode",
                                    [&] { return reader.transferTransparency(transparency); });
    if (code == ERROR_OK)
        code = reader.transferChild("Culling", [&] { return reader.transferCulling(culling); });
    if (code == ERROR_OK)
        code = reader.transferChild("TexRepeat", [&] { return reader.transferBool(repeat); });
    if (code == ERROR_OK)
        code = reader.transferChild("Pos3D", [&] { return transferPosition3D(reader, transform); });
    if (code == ERROR_OK && reader.isReading() && model != nullptr)
    {
        model->setFileName(fileName);
        model->setThreshold(threshold);
        model->setTransparency(transparency);
        model->setCulling(culling);
        model->setTextureRepeat(repeat);
    }
    return code;
}

ErrorCode transferModelDescription(XmlObjectReader& reader, ModelDescription& description)
{
    float scale = description.getScale();
    bool preloaded = description.isPreloaded();
    ErrorCode code =
        reader.transferChild("Model", [&] { return transferMeshModelBase(reader, description.getModel()); });
    if (code == ERROR_OK)
        code = reader.transferChild("Scale", [&] { return reader.transferFloat(scale); });
    if (code == ERROR_OK)
        code = reader.transferChild("Preloaded", [&] { return reader.transferBool(preloaded); });
    if (code == ERROR_OK && reader.isReading())
    {
        description.setScale(scale);
        code = description.setPreloaded(preloaded);
        if (code != ERROR_OK)
            reader.fail(code, "");
    }
    return code;
}
