#include "Engine2DD3D/MaterialD3D.h"

namespace
{
Platform::Gpu::ColorValue toColorValue(const Material::Color& color)
{
    return {color[0], color[1], color[2], color[3]};
}
Material::Color toColor(const Platform::Gpu::ColorValue& value)
{
    return {value.r, value.g, value.b, value.a};
}
} // namespace

void MaterialD3D::applyAmbient()
{
    mD3DMaterial.ambient = toColorValue(mAmbient);
}

void MaterialD3D::applyDiffuse()
{
    mD3DMaterial.diffuse = toColorValue(mDiffuse);
}

void MaterialD3D::applySpecular()
{
    mD3DMaterial.specular = toColorValue(mSpecular);
}

void MaterialD3D::applyEmissive()
{
    mD3DMaterial.emissive = toColorValue(mEmissive);
}

void MaterialD3D::applyPower()
{
    mD3DMaterial.power = mPower;
}

void MaterialD3D::applyAll()
{
    applyAmbient();
    applyDiffuse();
    applySpecular();
    applyEmissive();
    applyPower();
}

void MaterialD3D::syncFromD3DMaterial()
{
    Platform::Gpu::Material source = mD3DMaterial;
    mAmbient = toColor(source.ambient);
    applyAmbient();
    mDiffuse = toColor(source.diffuse);
    applyDiffuse();
    mEmissive = toColor(source.emissive);
    applyEmissive();
    mSpecular = toColor(source.specular);
    applySpecular();
    mPower = source.power;
    applyPower();
}

Platform::Gpu::Material deviceMaterialOf(const Material& material)
{
    if (const auto* own = dynamic_cast<const MaterialD3D*>(&material))
        return own->getD3DMaterial();
    Platform::Gpu::Material record;
    record.diffuse = toColorValue(material.getDiffuse());
    record.ambient = toColorValue(material.getAmbient());
    record.specular = toColorValue(material.getSpecular());
    record.emissive = toColorValue(material.getEmissive());
    record.power = material.getPower();
    return record;
}
