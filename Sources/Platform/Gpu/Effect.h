#pragma once
// Shader effects: a program text with named techniques and named
// parameters, made by Device::createEffect, in the spirit of the design's
// effect files.
//
// The text is GLSL in sections opened by directive lines that start with
// "//!" (so that a stage stays plain GLSL):
//   //! technique <name> [MACRO=value ...]   one per technique, in order
//   //! common                               text put before both stages
//   //! vertex                               the vertex stage
//   //! fragment                             the fragment stage
// Each technique is the two stages built with its own macros after the
// effect's (given at creation). The vertex stage reads the vertex layout's
// elements through inputs of fixed names: aPosition (vec3), aBlendWeights
// (vec4: the weight floats of a blended layout, 0 beyond them),
// aBlendIndices (uvec4: the UBYTE4 bone indices), aNormal (vec3), aTexCoord
// (vec2). It hands its clip position through deviceClip(vec4), which puts
// it in the device's conventions (picture orientation, depth range). A
// sampler2D reads texture stage 0, or white without a texture.
//
// The parameters are the stages' uniforms of type int, float, vec3, vec4,
// mat4 or mat4 arrays. Values set are kept by the effect and sent to the
// technique's program when a pass begins and whenever they change inside it;
// a parameter never set keeps the initialiser of its declaration. Between
// beginPass and endPass the device draws with the pass's program.
#include "Platform/Gpu/GpuTypes.h"
#include "Platform/Math/Matrix.h"
#include "Platform/Math/Vector.h"

#include <map>
#include <string>
#include <vector>

namespace Platform::Gpu
{

class DeviceBase;

struct EffectMacro
{
    std::string name;
    std::string value;
};

enum EffectParameterType : uint32_t
{
    EPT_INT,
    EPT_FLOAT,
    EPT_VECTOR3,
    EPT_VECTOR4,
    EPT_MATRIX,
    EPT_SAMPLER
};

struct EffectParameter
{
    EffectParameterType type = EPT_FLOAT;
    // 1 for a single value; the declared length of an array.
    uint32_t count = 1;
    // The declaration's initialiser, when it is a whole number (through a
    // macro or a #define line of the text when it names one).
    bool hasInitialInt = false;
    int32_t initialInt = 0;
    // What was set, as floats (ints stored exactly), and whether anything was.
    std::vector<float> values;
    bool set = false;
    bool changed = false;
};

struct EffectTechnique
{
    std::string name;
    std::vector<EffectMacro> macros;
};

// The effect text taken apart. parse answers false with a reason for a text
// that is not an effect: no technique, a missing stage, an unknown directive.
struct EffectSource
{
    std::vector<EffectTechnique> techniques;
    std::string common, vertex, fragment;
    // The file's line numbers where the sections start (for the compiler's messages).
    int commonLine = 1, vertexLine = 1, fragmentLine = 1;
    std::map<std::string, EffectParameter> parameters;

    bool parse(const std::string& text, const std::vector<EffectMacro>& macros, std::string* error);
};

class Effect
{
public:
    virtual ~Effect();
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    // GPU_INVALIDCALL for a name that is no parameter, or of another type
    // (a vec3 parameter takes the x, y and z of a vector).
    PlatformResult setMatrix(const std::string& name, const Matrix& matrix);
    PlatformResult setMatrixArray(const std::string& name, const Matrix* matrices, uint32_t count);
    PlatformResult setVector(const std::string& name, const Vector4& vector);
    PlatformResult setFloat(const std::string& name, float value);
    PlatformResult setInt(const std::string& name, int32_t value);
    // The value set, or else the declaration's whole-number initialiser.
    PlatformResult getInt(const std::string& name, int32_t* value) const;
    bool hasParameter(const std::string& name) const;
    const EffectParameter* getParameter(const std::string& name) const;

    PlatformResult setTechnique(const std::string& name);
    const std::string& getTechnique() const;
    bool hasTechnique(const std::string& name) const;

    // One pass per technique here. flags are kept for the callers' sake.
    PlatformResult begin(uint32_t* passes, uint32_t flags);
    PlatformResult beginPass(uint32_t pass);
    // Sends the parameters changed inside the pass.
    PlatformResult commitChanges();
    PlatformResult endPass();
    PlatformResult end();
    bool inPass() const { return mInPass; }

    // The device is going away: the card's objects are dropped.
    void detachFromDevice();

protected:
    Effect(DeviceBase* device, EffectSource source);

    // The implementation's part: the technique's program made current and
    // the changed parameters sent to it (all of them when all is set).
    virtual PlatformResult doBeginPass(size_t technique) = 0;
    virtual void doSendParameters(bool all) = 0;
    virtual void doEndPass() {}
    virtual void doDetach() {}

    template <class Visit> void forEachParameter(Visit&& visit)
    {
        for (auto& [name, parameter] : mSource.parameters)
        {
            visit(name, parameter);
        }
    }
    PlatformResult store(const std::string& name, EffectParameterType type, const float* values,
                         uint32_t count);

    DeviceBase* mDevice;
    EffectSource mSource;
    size_t mTechnique = 0;
    bool mBegun = false;
    bool mInPass = false;
};

} // namespace Platform::Gpu
