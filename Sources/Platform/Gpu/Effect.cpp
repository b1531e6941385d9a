#include "Platform/Gpu/Effect.h"

#include "Platform/Gpu/DeviceBase.h"

#include <cstdlib>
#include <regex>
#include <sstream>

namespace Platform::Gpu
{

namespace
{

const char* const kDirective = "//!";

bool isIdentifier(const std::string& text)
{
    static const std::regex identifier("[A-Za-z_][A-Za-z0-9_]*");
    return std::regex_match(text, identifier);
}

// A whole number written out, or a name that a macro or a #define line of
// the text gives a whole number to.
bool resolveInt(const std::string& token, const std::vector<EffectMacro>& macros, const std::string& text,
                int32_t* value, int depth = 0)
{
    static const std::regex number("\\s*-?[0-9]+\\s*");
    if (std::regex_match(token, number))
    {
        *value = int32_t(std::strtol(token.c_str(), nullptr, 10));
        return true;
    }
    if (!isIdentifier(token) || depth > 4)
    {
        return false;
    }
    for (const EffectMacro& macro : macros)
    {
        if (macro.name == token)
        {
            return resolveInt(macro.value, macros, text, value, depth + 1);
        }
    }
    std::smatch found;
    std::regex define("#[ \\t]*define[ \\t]+" + token + "[ \\t]+([^\\n]+)");
    if (std::regex_search(text, found, define))
    {
        return resolveInt(found[1].str(), macros, text, value, depth + 1);
    }
    return false;
}

bool typeOf(const std::string& glsl, EffectParameterType* type)
{
    static const std::pair<const char*, EffectParameterType> kTypes[] = {
        {"int", EPT_INT},      {"float", EPT_FLOAT}, {"vec3", EPT_VECTOR3},
        {"vec4", EPT_VECTOR4}, {"mat4", EPT_MATRIX}, {"sampler2D", EPT_SAMPLER}};
    for (const auto& [name, value] : kTypes)
    {
        if (glsl == name)
        {
            *type = value;
            return true;
        }
    }
    return false;
}

uint32_t floatsOf(EffectParameterType type)
{
    switch (type)
    {
    case EPT_VECTOR3:
        return 3;
    case EPT_VECTOR4:
        return 4;
    case EPT_MATRIX:
        return 16;
    case EPT_SAMPLER:
        return 0;
    default:
        return 1;
    }
}

} // namespace

bool EffectSource::parse(const std::string& text, const std::vector<EffectMacro>& macros, std::string* error)
{
    *this = EffectSource{};
    std::istringstream lines(text);
    std::string line;
    std::string* section = nullptr;
    int number = 0;
    bool sawVertex = false, sawFragment = false;
    while (std::getline(lines, line))
    {
        ++number;
        if (line.compare(0, 3, kDirective) != 0)
        {
            if (section != nullptr)
            {
                *section += line + "\n";
            }
            continue;
        }
        std::istringstream words(line.substr(3));
        std::string word;
        words >> word;
        if (word == "technique")
        {
            EffectTechnique technique;
            if (!(words >> technique.name) || !isIdentifier(technique.name))
            {
                *error = "line " + std::to_string(number) + ": technique without a name";
                return false;
            }
            for (std::string definition; words >> definition;)
            {
                size_t equals = definition.find('=');
                std::string name = definition.substr(0, equals);
                if (!isIdentifier(name))
                {
                    *error = "line " + std::to_string(number) + ": bad macro " + definition;
                    return false;
                }
                technique.macros.push_back(
                    {name, equals == std::string::npos ? "1" : definition.substr(equals + 1)});
            }
            techniques.push_back(std::move(technique));
        }
        else if (word == "common" || word == "vertex" || word == "fragment")
        {
            section = word == "common" ? &common : word == "vertex" ? &vertex : &fragment;
            (word == "common" ? commonLine : word == "vertex" ? vertexLine : fragmentLine) = number + 1;
            sawVertex = sawVertex || word == "vertex";
            sawFragment = sawFragment || word == "fragment";
        }
        else
        {
            *error = "line " + std::to_string(number) + ": unknown directive " + word;
            return false;
        }
    }
    if (techniques.empty() || !sawVertex || !sawFragment)
    {
        *error = "an effect needs a technique, a vertex and a fragment stage";
        return false;
    }
    std::string all = common + vertex + fragment;
    static const std::regex uniform(
        "uniform\\s+(\\w+)\\s+(\\w+)\\s*(\\[\\s*(\\w+)\\s*\\])?\\s*(=\\s*([^;]+))?;");
    for (std::sregex_iterator it(all.begin(), all.end(), uniform), last; it != last; ++it)
    {
        const std::smatch& match = *it;
        EffectParameter parameter;
        if (!typeOf(match[1].str(), &parameter.type))
        {
            *error = "parameter " + match[2].str() + " of unknown type " + match[1].str();
            return false;
        }
        if (match[3].matched)
        {
            int32_t count = 0;
            if (!resolveInt(match[4].str(), macros, all, &count) || count <= 0 || count > 4096)
            {
                *error = "parameter " + match[2].str() + " has no length";
                return false;
            }
            parameter.count = uint32_t(count);
        }
        if (match[5].matched)
        {
            parameter.hasInitialInt = resolveInt(match[6].str(), macros, all, &parameter.initialInt);
        }
        parameters.emplace(match[2].str(), std::move(parameter));
    }
    return true;
}

Effect::Effect(DeviceBase* device, EffectSource source) : mDevice(device), mSource(std::move(source)) {}

Effect::~Effect()
{
    if (mDevice != nullptr)
    {
        mDevice->effectDestroyed(this);
    }
}

void Effect::detachFromDevice()
{
    doDetach();
    mDevice = nullptr;
}

bool Effect::hasParameter(const std::string& name) const
{
    return mSource.parameters.count(name) != 0;
}

const EffectParameter* Effect::getParameter(const std::string& name) const
{
    auto found = mSource.parameters.find(name);
    return found == mSource.parameters.end() ? nullptr : &found->second;
}

GpuResult Effect::store(const std::string& name, EffectParameterType type, const float* values,
                        uint32_t count)
{
    auto found = mSource.parameters.find(name);
    if (found == mSource.parameters.end())
    {
        return GPU_INVALIDCALL;
    }
    EffectParameter& parameter = found->second;
    // A vec3 takes the first three floats of a vector.
    uint32_t floats = floatsOf(parameter.type);
    bool fits = parameter.type == type || (parameter.type == EPT_VECTOR3 && type == EPT_VECTOR4);
    if (!fits || count == 0 || count > parameter.count || floats == 0)
    {
        return GPU_INVALIDCALL;
    }
    uint32_t given = floatsOf(type);
    if (parameter.values.size() < size_t(parameter.count) * floats)
    {
        parameter.values.resize(size_t(parameter.count) * floats);
    }
    for (uint32_t i = 0; i < count; ++i)
    {
        std::copy(values + i * given, values + i * given + floats, parameter.values.begin() + i * floats);
    }
    parameter.set = true;
    parameter.changed = true;
    if (mDevice != nullptr && mDevice->logging())
    {
        mDevice->log("effect.set(" + name + ", " + std::to_string(count) + ")");
    }
    return GPU_OK;
}

GpuResult Effect::setMatrix(const std::string& name, const Matrix& matrix)
{
    return store(name, EPT_MATRIX, matrix.data(), 1);
}

GpuResult Effect::setMatrixArray(const std::string& name, const Matrix* matrices, uint32_t count)
{
    if (matrices == nullptr)
    {
        return GPU_INVALIDCALL;
    }
    static_assert(sizeof(Matrix) == 16 * sizeof(float), "matrices are 16 packed floats");
    return store(name, EPT_MATRIX, matrices[0].data(), count);
}

GpuResult Effect::setVector(const std::string& name, const Vector4& vector)
{
    const float values[4] = {vector.x, vector.y, vector.z, vector.w};
    return store(name, EPT_VECTOR4, values, 1);
}

GpuResult Effect::setFloat(const std::string& name, float value)
{
    return store(name, EPT_FLOAT, &value, 1);
}

GpuResult Effect::setInt(const std::string& name, int32_t value)
{
    float stored = float(value);
    return store(name, EPT_INT, &stored, 1);
}

GpuResult Effect::getInt(const std::string& name, int32_t* value) const
{
    const EffectParameter* parameter = getParameter(name);
    if (parameter == nullptr || parameter->type != EPT_INT || value == nullptr)
    {
        return GPU_INVALIDCALL;
    }
    if (parameter->set)
    {
        *value = int32_t(parameter->values[0]);
        return GPU_OK;
    }
    if (!parameter->hasInitialInt)
    {
        return GPU_INVALIDCALL;
    }
    *value = parameter->initialInt;
    return GPU_OK;
}

bool Effect::hasTechnique(const std::string& name) const
{
    for (const EffectTechnique& technique : mSource.techniques)
    {
        if (technique.name == name)
        {
            return true;
        }
    }
    return false;
}

GpuResult Effect::setTechnique(const std::string& name)
{
    for (size_t i = 0; i < mSource.techniques.size(); ++i)
    {
        if (mSource.techniques[i].name == name)
        {
            if (mInPass)
            {
                return GPU_INVALIDCALL;
            }
            mTechnique = i;
            return GPU_OK;
        }
    }
    return GPU_INVALIDCALL;
}

const std::string& Effect::getTechnique() const
{
    return mSource.techniques[mTechnique].name;
}

GpuResult Effect::begin(uint32_t* passes, uint32_t flags)
{
    (void)flags;
    if (mBegun || mDevice == nullptr)
    {
        return GPU_INVALIDCALL;
    }
    mBegun = true;
    if (passes != nullptr)
    {
        *passes = 1;
    }
    return GPU_OK;
}

GpuResult Effect::beginPass(uint32_t pass)
{
    if (!mBegun || mInPass || pass != 0 || mDevice == nullptr)
    {
        return GPU_INVALIDCALL;
    }
    if (mDevice->logging())
    {
        mDevice->log("effect.beginPass(" + getTechnique() + ")");
    }
    GpuResult result = mDevice->effectPassBegins(this);
    if (result == GPU_OK)
    {
        result = doBeginPass(mTechnique);
    }
    if (result != GPU_OK)
    {
        mDevice->effectPassEnds(this);
        return result;
    }
    mInPass = true;
    doSendParameters(true);
    return GPU_OK;
}

GpuResult Effect::commitChanges()
{
    if (!mInPass)
    {
        return GPU_INVALIDCALL;
    }
    doSendParameters(false);
    return GPU_OK;
}

GpuResult Effect::endPass()
{
    if (!mInPass)
    {
        return GPU_INVALIDCALL;
    }
    mInPass = false;
    doEndPass();
    if (mDevice != nullptr)
    {
        mDevice->effectPassEnds(this);
    }
    return GPU_OK;
}

GpuResult Effect::end()
{
    if (!mBegun || mInPass)
    {
        return GPU_INVALIDCALL;
    }
    mBegun = false;
    return GPU_OK;
}

} // namespace Platform::Gpu
