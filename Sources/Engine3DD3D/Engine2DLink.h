#pragma once
// What the 3D engine takes from the 2D engine: the device and the
// render-state cache it draws with. Kept in one place so that the 2D
// engine's own classes are named nowhere else in this folder.
#include "Framework/ServiceInterfaces.h"
#include "Platform/Gpu/Device.h"

class RenderStateCache;

// The 2D engine's device and cache; false (both null) while it has none.
bool findEngine2DDevice(Engine2DBase* engine2D, Platform::Gpu::Device** device, RenderStateCache** cache);
