#pragma once
// What the 3D engine takes from the 2D engine: the device and the
// render-state cache it draws with, the textures of model materials and
// their device textures. Kept in one place so that the 2D engine's own
// classes are named nowhere else in this folder.
#include "Engine/Resource.h"
#include "Framework/ServiceInterfaces.h"
#include "Platform/Gpu/Device.h"

#include <string>

class RenderStateCache;

// The 2D engine's device and cache; false (both null) while it has none.
bool findEngine2DDevice(Engine2DBase* engine2D, Platform::Gpu::Device** device, RenderStateCache** cache);

// The texture of a model's material, by its path (one reference for the
// caller, mipmapped), from the given 2D engine or else the application's;
// null when no 2D engine can make it.
Resource* loadModelTexture(Engine2DBase* engine2D, const std::string& path);

// The device texture a loaded texture draws with, or null.
Platform::Gpu::Texture* deviceTextureOf(Resource* texture);
