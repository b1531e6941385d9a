#include "Tarnaveli/GameDescription/LightsFile.h"

#include "Engine/Engine3D.h"
#include "Engine/Light.h"
#include "Framework/DiskFile.h"

#include <cmath>

namespace
{

void recordFromLight(const Light& light, LightRecord& record)
{
    record.mKind = light.getType();
    light.getAmbient(&record.mAmbient);
    light.getDiffuse(&record.mDiffuse);
    light.getSpecular(&record.mSpecular);
    Platform::Vector3 position, direction;
    light.getPosition(&position);
    light.getDirection(&direction);
    record.mPosition[0] = position.x;
    record.mPosition[1] = position.y;
    record.mPosition[2] = position.z;
    record.mDirection[0] = direction.x;
    record.mDirection[1] = direction.y;
    record.mDirection[2] = direction.z;
    light.getAttenuation(&record.mAttenuation[0], &record.mAttenuation[1], &record.mAttenuation[2]);
    record.mRange = light.getRange();
    record.mFalloff = light.getFalloff();
    record.mTheta = light.getTheta();
    record.mPhi = light.getPhi();
    record.mEnabled = light.isEnabled();
}

ErrorCode recordToLight(const LightRecord& record, Light& light)
{
    ErrorCode codes[] = {
        light.setType(record.mKind),
        light.setAmbient(record.mAmbient),
        light.setDiffuse(record.mDiffuse),
        light.setSpecular(record.mSpecular),
        light.setPosition({record.mPosition[0], record.mPosition[1], record.mPosition[2]}),
        light.setDirection({record.mDirection[0], record.mDirection[1], record.mDirection[2]}),
        light.setAttenuation(record.mAttenuation[0], record.mAttenuation[1], record.mAttenuation[2]),
        light.setRange(record.mRange),
        light.setFalloff(record.mFalloff),
        light.setTheta(record.mTheta),
        light.setPhi(record.mPhi),
        record.mEnabled ? light.enable() : light.disable(),
    };
    for (ErrorCode code : codes)
        if (code != ERROR_OK)
            return code;
    return ERROR_OK;
}

} // namespace

ErrorCode serializeLight(BinaryStream& stream, Light& light)
{
    LightRecord record;
    if (!stream.isReading())
        recordFromLight(light, record);
    ErrorCode code = record.serialize(stream);
    if (code != ERROR_OK || !stream.isReading())
        return code;
    // A kind the engine does not have would leave the light half set.
    if (record.mKind > Light::DIRECTIONAL)
        return ERROR_FILEIO_INVALIDFILE;
    return recordToLight(record, light);
}

ErrorCode transferLightList(BinaryStream& stream, LightList& lights, Engine3D& engine)
{
    uint32_t count = static_cast<uint32_t>(lights.size());
    ErrorCode code = transferLightCount(stream, count);
    if (code != ERROR_OK)
        return code;
    if (!stream.isReading())
    {
        for (const std::unique_ptr<Light>& light : lights)
            if ((code = serializeLight(stream, *light)) != ERROR_OK)
                return code;
        return ERROR_OK;
    }
    LightList read;
    for (uint32_t i = 0; i < count; ++i)
    {
        std::unique_ptr<Light> light(engine.createLight());
        if (!light)
            return ERROR_INVALID;
        if ((code = serializeLight(stream, *light)) != ERROR_OK)
            return code;
        read.push_back(std::move(light));
    }
    for (std::unique_ptr<Light>& light : read)
        lights.push_back(std::move(light));
    return ERROR_OK;
}

ErrorCode loadLights(const std::string& path, LightList& lights, Engine3D& engine)
{
    DiskInputFile file(path);
    ErrorCode code = file.open();
    if (code != ERROR_OK)
        return code;
    code = transferLightList(file, lights, engine);
    ErrorCode closed = file.close();
    return code != ERROR_OK ? code : closed;
}

ErrorCode setUpSceneLights(const std::string& path, LightList& lights, Engine3D& engine)
{
    ErrorCode code = loadLights(path, lights, engine);
    if (code == ERROR_OK)
        return code;
    std::unique_ptr<Light> light(engine.createLight());
    if (!light)
        return code;
    const float length = std::sqrt(1.25f);
    light->setType(Light::DIRECTIONAL);
    light->setDiffuse(0xFF969696);
    light->setSpecular(0xFF828282);
    light->setAmbient(0xFF000000);
    light->setDirection({0.0f, -1.0f / length, 0.5f / length});
    light->enable();
    lights.push_back(std::move(light));
    return code;
}
