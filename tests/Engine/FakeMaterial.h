#pragma once
// A material that only keeps its values: the fake engines of the tests hand
// it out, and tests read back what was set on it.
#include "Engine/Material.h"

class FakeMaterial final : public Material
{
public:
    void applyAmbient() override {}
    void applyDiffuse() override {}
    void applySpecular() override {}
    void applyEmissive() override {}
    void applyPower() override {}
};
