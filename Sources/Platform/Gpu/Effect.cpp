#include "Platform/Gpu/Effect.h"

#include "Platform/Gpu/DeviceBase.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <sstream>

namespace Platform::Gpu
{

namespace
{

const char* const kDirective = "//!";

bool isWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

bool isIdentifier(const std::string& text)
{
    if (text.empty() || std::isdigit(static_cast<unsigned char>(text[0])))
    {
        return false;
    }
    return std::all_of(text.begin(), text.end(), isWordChar);
}

std::string trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r\n");
    size_t last = text.find_last_not_of(" \t\r\n");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The value of "#define name value" in the text, if a line says so.
bool findDefine(const std::string& text, const std::string& name, std::string* value)
{
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
    {
        std::istringstream words(line);
        std::string hash, word;
        words >> hash;
        if (hash == "#")
        {
            words >> hash;
            hash = "#" + hash;
        }
        if (hash != "#define" || !(words >> word) || word != name)
        {
            continue;
        }
        std::getline(words, *value);
        return true;
    }
    return false;
}

// A whole number written out, or a name that a macro or a #define line of
// the text gives a whole number to.
bool resolveInt(const std::string& token, const std::vector<EffectMacro>& macros, const std::string& text,
                int32_t* value, int depth = 0)
{
    std::string word = trimmed(token);
    char* end = nullptr;
    long number = std::strtol(word.c_str(), &end, 10);
    if (!word.empty() && *end == 0)
    {
        if (number < INT32_MIN || number > INT32_MAX)
        {
            return false;
        }
        *value = int32_t(number);
        return true;
    }
    if (!isIdentifier(word) || depth > 4)
    {
        return false;
    }
    for (const EffectMacro& macro : macros)
    {
        if (macro.name == word)
        {
            return resolveInt(macro.value, macros, text, value, depth + 1);
        }
    }
    std::string defined;
    return findDefine(text, word, &defined) && resolveInt(defined, macros, text, value, depth + 1);
}

// One "uniform type name [length] = initialiser;" declaration, read from at.
struct Declaration
{
    std::string type, name, length, initialiser;
    bool isArray = false, initialised = false;
};

class DeclarationReader
{
public:
    explicit DeclarationReader(const std::string& text) : mText(text) {}

    // The next declaration after the word "uniform"; false at the end.
    bool next(Declaration* out, bool* wellFormed)
    {
        for (;;)
        {
            size_t found = mText.find("uniform", mAt);
            if (found == std::string::npos)
            {
                return false;
            }
            mAt = found + 7;
            // A word of a comment line is no declaration.
            size_t lineStart = mText.rfind('\n', found);
            lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
            if (mText.substr(lineStart, found - lineStart).find("//") != std::string::npos)
            {
                continue;
            }
            if ((found > 0 && isWordChar(mText[found - 1])) || mAt >= mText.size() || isWordChar(mText[mAt]))
            {
                continue;
            }
            *out = Declaration{};
            *wellFormed = word(&out->type) && word(&out->name) && rest(out);
            return true;
        }
    }

private:
    void skipSpace()
    {
        while (mAt < mText.size() && std::isspace(static_cast<unsigned char>(mText[mAt])))
        {
            ++mAt;
        }
    }
    bool word(std::string* out)
    {
        skipSpace();
        size_t start = mAt;
        while (mAt < mText.size() && isWordChar(mText[mAt]))
        {
            ++mAt;
        }
        *out = mText.substr(start, mAt - start);
        return !out->empty();
    }
    bool rest(Declaration* out)
    {
        skipSpace();
        if (mAt < mText.size() && mText[mAt] == '[')
        {
            size_t close = mText.find(']', mAt);
            if (close == std::string::npos)
            {
                return false;
            }
            out->isArray = true;
            out->length = trimmed(mText.substr(mAt + 1, close - mAt - 1));
            mAt = close + 1;
            skipSpace();
        }
        size_t end = mText.find(';', mAt);
        if (end == std::string::npos)
        {
            return false;
        }
        std::string tail = trimmed(mText.substr(mAt, end - mAt));
        mAt = end + 1;
        if (tail.empty())
        {
            return true;
        }
        if (tail[0] != '=')
        {
            return false;
        }
        out->initialised = true;
        out->initialiser = tail.substr(1);
        return true;
    }

    const std::string& mText;
    size_t mAt = 0;
};

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
    DeclarationReader reader(all);
    Declaration declaration;
    bool wellFormed = false;
    while (reader.next(&declaration, &wellFormed))
    {
        EffectParameter parameter;
        if (!wellFormed || !typeOf(declaration.type, &parameter.type))
        {
            *error = "parameter " + declaration.name + " of unknown type " + declaration.type;
            return false;
        }
        if (declaration.isArray)
        {
            int32_t count = 0;
            if (!resolveInt(declaration.length, macros, all, &count) || count <= 0 || count > 4096)
            {
                *error = "parameter " + declaration.name + " has no length";
                return false;
            }
            parameter.count = uint32_t(count);
        }
        if (declaration.initialised)
        {
            parameter.hasInitialInt = resolveInt(declaration.initialiser, macros, all, &parameter.initialInt);
        }
        parameters.emplace(declaration.name, std::move(parameter));
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

PlatformResult Effect::store(const std::string& name, EffectParameterType type, const float* values,
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

PlatformResult Effect::setMatrix(const std::string& name, const Matrix& matrix)
{
    return store(name, EPT_MATRIX, matrix.data(), 1);
}

PlatformResult Effect::setMatrixArray(const std::string& name, const Matrix* matrices, uint32_t count)
{
    if (matrices == nullptr)
    {
        return GPU_INVALIDCALL;
    }
    static_assert(sizeof(Matrix) == 16 * sizeof(float), "matrices are 16 packed floats");
    return store(name, EPT_MATRIX, matrices[0].data(), count);
}

PlatformResult Effect::setVector(const std::string& name, const Vector4& vector)
{
    const float values[4] = {vector.x, vector.y, vector.z, vector.w};
    return store(name, EPT_VECTOR4, values, 1);
}

PlatformResult Effect::setFloat(const std::string& name, float value)
{
    return store(name, EPT_FLOAT, &value, 1);
}

PlatformResult Effect::setInt(const std::string& name, int32_t value)
{
    float stored = float(value);
    return store(name, EPT_INT, &stored, 1);
}

PlatformResult Effect::getInt(const std::string& name, int32_t* value) const
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

PlatformResult Effect::setTechnique(const std::string& name)
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

PlatformResult Effect::begin(uint32_t* passes, uint32_t flags)
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

PlatformResult Effect::beginPass(uint32_t pass)
{
    if (!mBegun || mInPass || pass != 0 || mDevice == nullptr)
    {
        return GPU_INVALIDCALL;
    }
    if (mDevice->logging())
    {
        mDevice->log("effect.beginPass(" + getTechnique() + ")");
    }
    PlatformResult result = mDevice->effectPassBegins(this);
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

PlatformResult Effect::commitChanges()
{
    if (!mInPass)
    {
        return GPU_INVALIDCALL;
    }
    doSendParameters(false);
    return GPU_OK;
}

PlatformResult Effect::endPass()
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

PlatformResult Effect::end()
{
    if (!mBegun || mInPass)
    {
        return GPU_INVALIDCALL;
    }
    mBegun = false;
    return GPU_OK;
}

} // namespace Platform::Gpu
