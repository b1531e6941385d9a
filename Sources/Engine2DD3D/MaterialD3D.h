#pragma once
// A material mirrored into the device's material record, which the mesh
// drawing hands to Device::setMaterial. Nothing here calls the device.
#include "Engine/Material.h"
#include "Platform/Gpu/GpuTypes.h"

class MaterialD3D final : public Material
{
public:
    MaterialD3D() = default;
    MaterialD3D& operator=(const MaterialD3D& other)
    {
        Material::operator=(other);
        return *this;
    }
    using Material::operator=;

    void applyAmbient() override;
    void applyDiffuse() override;
    void applySpecular() override;
    void applyEmissive() override;
    void applyPower() override;
    void applyAll() override;

    // Takes back what a loader wrote into the record: the colour groups and
    // the power, each applied (ambient, diffuse, emissive, specular, power).
    void syncFromD3DMaterial();

    Platform::Gpu::Material& getD3DMaterial() { return mD3DMaterial; }
    const Platform::Gpu::Material& getD3DMaterial() const { return mD3DMaterial; }

private:
    Platform::Gpu::Material mD3DMaterial;
};

// The device record of any material; one made elsewhere is rebuilt from its
// colour groups.
Platform::Gpu::Material deviceMaterialOf(const Material& material);
