#include "Tarnaveli/GameDescription/XmlObjectReader.h"

#include "Engine/Texture.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/ServiceInterfaces.h"
#include "Framework/Text1252Literal.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

const char* const XmlObjectReader::kCannotConvert = "Impossible de convertir";
const char* const XmlObjectReader::kNotAnElement = "Noeud de type element non attendu";
const char* const XmlObjectReader::kVectorChildNotElement =
    "La balise fils du contenu d'un vector doit etre une balise";
const char* const XmlObjectReader::kTooManyElements = "Trop d'elements dans le contenu d'un vector";

namespace XmlValueText
{

namespace
{

// strtol's number, clamped to 32 bits; what glibc's atoi gives in range.
long long toLongLong(const char* text)
{
    return std::strtoll(text, nullptr, 10);
}

struct Unit
{
    const char* name;
    int64_t factor;
};
constexpr Unit kUnits[] = {{"SECOND", 1000}, {"MSECOND", 1}, {"MINUTE", 60000}, {"HOUR", 3600000}};

bool readIntegerNested(const std::string& text, int64_t& value, int depth)
{
    size_t open = text.find('(');
    if (open == std::string::npos)
    {
        value = toInt(text);
        return true;
    }
    if (depth >= XmlObjectReader::kMaxUnitNesting || text.back() != ')')
        return false;
    const std::string unit = text.substr(0, open);
    const Unit* found = std::find_if(std::begin(kUnits), std::end(kUnits),
                                     [&](const Unit& candidate) { return unit == candidate.name; });
    if (found == std::end(kUnits))
        return false;
    int64_t inner = 0;
    if (!readIntegerNested(text.substr(open + 1, text.size() - open - 2), inner, depth + 1))
        return false;
    value = inner * found->factor;
    return value >= INT32_MIN && value <= INT32_MAX;
}

} // namespace

int32_t toInt(const std::string& text)
{
    long long value = toLongLong(text.c_str());
    return static_cast<int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

bool readInteger(const std::string& text, int32_t& value)
{
    int64_t wide = 0;
    if (!readIntegerNested(text, wide, 0))
        return false;
    value = static_cast<int32_t>(wide);
    return true;
}

bool readColor(const std::string& text, uint32_t& argb)
{
    if (text.compare(0, 5, "Color") != 0)
        return false;
    size_t position = 5;
    if (position >= text.size() || text[position] != '(')
        return false;
    int32_t parts[4] = {};
    for (int i = 0; i < 4; ++i)
    {
        ++position; // past '(' or ','
        if (position > text.size())
            return false;
        size_t end = i < 3 ? text.find(',', position) : text.size();
        if (end == std::string::npos)
            return false;
        parts[i] = std::clamp(toInt(text.substr(position, end - position)), 0, 255);
        position = end;
    }
    argb = static_cast<uint32_t>(parts[3]) << 24 | static_cast<uint32_t>(parts[0]) << 16 |
           static_cast<uint32_t>(parts[1]) << 8 | static_cast<uint32_t>(parts[2]);
    return true;
}

std::string writeColor(uint32_t argb)
{
    char text[64];
    std::snprintf(text, sizeof text, "Color(%i,%i,%i,%i)", static_cast<int>(argb >> 16 & 0xFF),
                  static_cast<int>(argb >> 8 & 0xFF), static_cast<int>(argb & 0xFF),
                  static_cast<int>(argb >> 24));
    return text;
}

std::string writeFloat(float value)
{
    char buffer[64];
    int length = std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(value));
    std::string text;
    if (length < 0 || static_cast<size_t>(length) >= sizeof buffer)
    {
        // Floats near the largest need more than the buffer holds.
        std::vector<char> wide(static_cast<size_t>(std::max(length, 0)) + 1);
        std::snprintf(wide.data(), wide.size(), "%f", static_cast<double>(value));
        text = wide.data();
    }
    else
        text = buffer;
    size_t point = text.find('.');
    if (point == std::string::npos)
        return text;
    while (text.size() > point + 2 && text.back() == '0')
        text.pop_back();
    return text;
}

bool readBool(const std::string& text)
{
    if (text == "true")
        return true;
    if (text == "false")
        return false;
    return toInt(text) == 1;
}

namespace
{
constexpr const char* kCullingNames[] = {"CULLING_NONE", "CULLING_CW", "CULLING_CCW"};
constexpr const char* kTransparencyNames[] = {"TRANSPARENCY_NONE", "TRANSPARENCY_ALPHA",
                                              "TRANSPARENCY_ALPHA_THRESHOLD"};

bool readName(const std::string& text, const char* const (&names)[3], uint32_t& value)
{
    for (uint32_t i = 0; i < 3; ++i)
        if (text == names[i])
        {
            value = i;
            return true;
        }
    return false;
}
} // namespace

bool readCulling(const std::string& text, uint32_t& culling)
{
    return readName(text, kCullingNames, culling);
}

bool readTransparency(const std::string& text, uint32_t& mode)
{
    return readName(text, kTransparencyNames, mode);
}

const char* cullingName(uint32_t culling)
{
    return culling < 3 ? kCullingNames[culling] : nullptr;
}

const char* transparencyName(uint32_t mode)
{
    return mode < 3 ? kTransparencyNames[mode] : nullptr;
}

std::vector<std::string> splitList(const std::string& text)
{
    std::vector<std::string> pieces;
    size_t start = 0;
    while (start <= text.size())
    {
        size_t end = text.find(", ", start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            pieces.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return pieces;
}

} // namespace XmlValueText

using namespace XmlValueText;

XmlObjectReader::XmlObjectReader(bool reading, XmlElement* root) : mReading(reading), mCurrent(root) {}

ErrorCode XmlObjectReader::fail(ErrorCode code, const std::string& message, const XmlNode* node)
{
    if (mErrorCode == ERROR_OK)
    {
        if (node == nullptr)
            node = mCurrent;
        mErrorCode = code;
        mErrorMessage = message;
        mErrorLine = node != nullptr ? node->line() : 0;
        mErrorColumn = node != nullptr ? node->column() : 0;
    }
    return code;
}

ErrorCode XmlObjectReader::readText(const std::string*& text)
{
    if (mCurrent == nullptr)
        return fail(ERROR_DOM_INTERPRETING, kNotAnElement);
    if (mCurrent->childCount() != 1 || !mCurrent->child(0)->isText())
        return fail(ERROR_DOM_INTERPRETING_SHOULD_BE_ONE_TEXT, "");
    text = &static_cast<const XmlText*>(mCurrent->child(0))->text();
    return ERROR_OK;
}

ErrorCode XmlObjectReader::writeText(const std::string& text)
{
    if (mCurrent == nullptr)
        return fail(ERROR_DOM_INTERPRETING, kNotAnElement);
    mCurrent->addChild(std::make_unique<XmlText>(text, 0, 0));
    return ERROR_OK;
}

ErrorCode XmlObjectReader::transferString(std::string& value)
{
    if (!mReading)
        return writeText(value);
    const std::string* text = nullptr;
    ErrorCode code = readText(text);
    if (code == ERROR_OK)
        value = *text;
    return code;
}

ErrorCode XmlObjectReader::transferByte(uint8_t& value)
{
    if (!mReading)
        return writeText(std::to_string(value));
    const std::string* text = nullptr;
    ErrorCode code = readText(text);
    if (code == ERROR_OK)
        value = static_cast<uint8_t>(toInt(*text));
    return code;
}

ErrorCode XmlObjectReader::transferInteger(int32_t& value)
{
    if (!mReading)
        return writeText(std::to_string(value));
    const std::string* text = nullptr;
    ErrorCode code = readText(text);
    if (code != ERROR_OK)
        return code;
    return readInteger(*text, value) ? ERROR_OK : fail(ERROR_DOM_INTERPRETING, kCannotConvert);
}

ErrorCode XmlObjectReader::transferFloat(float& value)
{
    if (!mReading)
        return writeText(writeFloat(value));
    const std::string* text = nullptr;
    ErrorCode code = readText(text);
    if (code == ERROR_OK)
        value = static_cast<float>(std::atof(text->c_str()));
    return code;
}

ErrorCode XmlObjectReader::transferBool(bool& value)
{
    if (!mReading)
        return writeText(value ? "1" : "0");
    const std::string* text = nullptr;
    ErrorCode code = readText(text);
    if (code == ERROR_OK)
        value = readBool(*text);
    return code;
}

ErrorCode XmlObjectReader::transferColor(uint32_t& argb)
{
    if (!mReading)
        return writeText(writeColor(argb));
    const std::string* text = nullptr;
    ErrorCode code = readText(text);
    if (code != ERROR_OK)
        return code;
    return readColor(*text, argb) ? ERROR_OK : fail(ERROR_DOM_INTERPRETING, kCannotConvert);
}

ErrorCode XmlObjectReader::transferCulling(uint32_t& culling)
{
    if (!mReading)
    {
        const char* name = cullingName(culling);
        return name != nullptr ? writeText(name) : fail(ERROR_DOM_INTERPRETING, kCannotConvert);
    }
    const std::string* text = nullptr;
    ErrorCode code = readText(text);
    if (code != ERROR_OK)
        return code;
    return readCulling(*text, culling) ? ERROR_OK : fail(ERROR_DOM_INTERPRETING, kCannotConvert);
}

ErrorCode XmlObjectReader::transferTransparency(uint32_t& mode)
{
    if (!mReading)
    {
        const char* name = transparencyName(mode);
        return name != nullptr ? writeText(name) : fail(ERROR_DOM_INTERPRETING, kCannotConvert);
    }
    const std::string* text = nullptr;
    ErrorCode code = readText(text);
    if (code != ERROR_OK)
        return code;
    return readTransparency(*text, mode) ? ERROR_OK : fail(ERROR_DOM_INTERPRETING, kCannotConvert);
}

Texture* XmlObjectReader::loadTexture(const std::string& fileName)
{
    if (mTextureLoader)
        return mTextureLoader(fileName);
    ApplicationGeneric* application = getApplication();
    if (application == nullptr)
        return nullptr;
    auto* engine = dynamic_cast<Engine2DBase*>(application->getService(2));
    if (engine == nullptr)
        return nullptr;
    const std::vector<std::string>& prefixes = application->getFolderPrefixes();
    return engine->findOrLoadTexture((prefixes.empty() ? std::string() : prefixes.back()) + fileName);
}

ErrorCode XmlObjectReader::transferTexture(Texture*& texture)
{
    if (!mReading)
    {
        if (texture == nullptr || texture->getSource() != Resource::SOURCE_FILE)
            return fail(ERROR_INVALID, kCannotConvert);
        return writeText(texture->getName());
    }
    const std::string* text = nullptr;
    ErrorCode code = readText(text);
    if (code != ERROR_OK)
        return code;
    Texture* loaded = loadTexture(*text);
    if (loaded == nullptr)
        return fail(ERROR_DOM_INTERPRETING, kCannotConvert);
    if (texture != nullptr)
        texture->release();
    texture = loaded;
    return ERROR_OK;
}

ErrorCode XmlObjectReader::transferPoint(Platform::Vector3& point)
{
    if (mCurrent == nullptr)
        return fail(ERROR_DOM_INTERPRETING, kNotAnElement);
    if (!mReading)
    {
        std::string text = writeFloat(point.x) + ", " + writeFloat(point.y) + ", " + writeFloat(point.z);
        return writeText(text);
    }
    if (mCurrent->childCount() > 0 && mCurrent->child(0)->isText())
    {
        std::vector<std::string> pieces = splitList(static_cast<const XmlText*>(mCurrent->child(0))->text());
        if (pieces.size() != 3)
            return fail(ERROR_DOM_INTERPRETING, "Nombres d'elements de l'expression invalide");
        // Each piece goes through the float conversion, which never fails.
        point.x = static_cast<float>(std::atof(pieces[0].c_str()));
        point.y = static_cast<float>(std::atof(pieces[1].c_str()));
        point.z = static_cast<float>(std::atof(pieces[2].c_str()));
        return ERROR_OK;
    }
    ErrorCode code = transferChild("X", [&] { return transferFloat(point.x); });
    if (code == ERROR_OK)
        code = transferChild("Y", [&] { return transferFloat(point.y); });
    if (code == ERROR_OK)
        code = transferChild("Z", [&] { return transferFloat(point.z); });
    return code;
}

ErrorCode XmlObjectReader::transferRect(XmlRect& rect)
{
    if (mCurrent == nullptr)
        return fail(ERROR_DOM_INTERPRETING, kNotAnElement);
    if (!mReading)
    {
        std::string text = std::to_string(rect.x) + ", " + std::to_string(rect.y) + ", " +
                           std::to_string(rect.width) + ", " + std::to_string(rect.height);
        return writeText(text);
    }
    if (mCurrent->childCount() > 0 && mCurrent->child(0)->isText())
    {
        std::vector<std::string> pieces = splitList(static_cast<const XmlText*>(mCurrent->child(0))->text());
        if (pieces.size() != 4)
            return fail(ERROR_DOM_INTERPRETING, "Expression invalide");
        rect = {toInt(pieces[0]), toInt(pieces[1]), toInt(pieces[2]), toInt(pieces[3])};
        return ERROR_OK;
    }
    ErrorCode code = transferChild("X", [&] { return transferInteger(rect.x); });
    if (code == ERROR_OK)
        code = transferChild("Y", [&] { return transferInteger(rect.y); });
    if (code == ERROR_OK)
        code = transferChild("Tx", [&] { return transferInteger(rect.width); });
    if (code == ERROR_OK)
        code = transferChild("Ty", [&] { return transferInteger(rect.height); });
    return code;
}

ErrorCode XmlObjectReader::writeChildElement(const std::string& name,
                                             const std::function<ErrorCode()>& transfer)
{
    XmlElement* parent = mCurrent;
    auto child = std::make_unique<XmlElement>(name, 0, 0);
    XmlElement* element = child.get();
    parent->addChild(std::move(child));
    mCurrent = element;
    ErrorCode code = transfer();
    mCurrent = parent;
    return code;
}

ErrorCode XmlObjectReader::transferChild(const std::string& name, const std::function<ErrorCode()>& transfer)
{
    if (mCurrent == nullptr)
        return fail(ERROR_DOM_INTERPRETING, kNotAnElement);
    if (!mReading)
        return writeChildElement(name, transfer);
    XmlElement* parent = mCurrent;
    XmlElement* child = parent->findChild(name);
    if (child == nullptr)
        return fail(ERROR_DOM_INTERPRETING,
                    std::string(TEXT_1252("Balise fils nommée <")) + name + TEXT_1252("> non trouvée."));
    mCurrent = child;
    ErrorCode code = transfer();
    mCurrent = parent;
    return code;
}
