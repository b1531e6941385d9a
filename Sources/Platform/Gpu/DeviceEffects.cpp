// The device's side of effects: making them, their lifetimes, the pass that
// draws, and the capabilities that decide which technique a caller uses.
#include "Platform/Gpu/DeviceBase.h"

#include <cstdlib>
#include <cstring>

namespace Platform::Gpu
{

namespace
{

// Keeps the parameters; drawing inside a pass is the device's ordinary draw.
class KeepingEffect final : public Effect
{
public:
    KeepingEffect(DeviceBase* device, EffectSource source) : Effect(device, std::move(source)) {}

private:
    PlatformResult doBeginPass(size_t) override { return GPU_OK; }
    void doSendParameters(bool) override
    {
        forEachParameter([](const std::string&, EffectParameter& parameter) { parameter.changed = false; });
    }
};

} // namespace

PlatformResult DeviceBase::getDeviceCaps(DeviceCaps* caps)
{
    if (!caps)
    {
        return GPU_INVALIDCALL;
    }
    caps->maxVertexShaderConst = vertexShaderConstants();
    caps->vertexShaderVersion = caps->maxVertexShaderConst >= 256  ? vertexShaderVersion(2, 0)
                                : caps->maxVertexShaderConst >= 96 ? vertexShaderVersion(1, 1)
                                                                   : 0u;
    if (const char* forced = std::getenv("VELMORIQUE_VERTEX_SHADER"))
    {
        caps->vertexShaderVersion = std::strcmp(forced, "2.0") == 0   ? vertexShaderVersion(2, 0)
                                    : std::strcmp(forced, "1.1") == 0 ? vertexShaderVersion(1, 1)
                                                                      : 0u;
    }
    return GPU_OK;
}

PlatformResult DeviceBase::createEffect(const std::string& text, const std::vector<EffectMacro>& macros,
                                        std::unique_ptr<Effect>* effect, std::string* errors)
{
    if (logging())
    {
        log("createEffect(" + std::to_string(macros.size()) + ")");
    }
    std::string reason;
    EffectSource source;
    if (!effect || !source.parse(text, macros, &reason))
    {
        if (errors)
        {
            *errors = reason;
        }
        return GPU_INVALIDCALL;
    }
    std::unique_ptr<Effect> made;
    PlatformResult result = doCreateEffect(std::move(source), macros, &made, errors ? errors : &reason);
    if (result != GPU_OK)
    {
        return result;
    }
    mLiveEffects.insert(made.get());
    *effect = std::move(made);
    return GPU_OK;
}

PlatformResult DeviceBase::doCreateEffect(EffectSource source, const std::vector<EffectMacro>&,
                                          std::unique_ptr<Effect>* effect, std::string*)
{
    *effect = std::make_unique<KeepingEffect>(this, std::move(source));
    return GPU_OK;
}

void DeviceBase::effectDestroyed(Effect* effect)
{
    if (mActiveEffect == effect)
    {
        beforeChange();
        mActiveEffect = nullptr;
    }
    mLiveEffects.erase(effect);
}

PlatformResult DeviceBase::effectPassBegins(Effect* effect)
{
    if (mActiveEffect != nullptr && mActiveEffect != effect)
    {
        return GPU_INVALIDCALL;
    }
    // The effect's parameters are not part of a held call.
    releaseHeldCalls();
    beforeChange();
    mActiveEffect = effect;
    return GPU_OK;
}

void DeviceBase::effectPassEnds(Effect* effect)
{
    if (mActiveEffect == effect)
    {
        beforeChange();
        mActiveEffect = nullptr;
    }
}

} // namespace Platform::Gpu
