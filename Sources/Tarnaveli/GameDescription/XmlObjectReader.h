#pragma once
// Maps an XML tree onto objects and back with one two-way transfer per type,
// as the binary streams do for files: the reader is made for reading or for
// writing and every transfer does the one or the other. A value is the single
// text child of its element; compound types are elements of named children.
// The first failure is kept with its code, message and the node it concerns,
// for the caller's message box.
#include "Framework/ErrorCodes.h"
#include "Framework/XmlNode.h"
#include "Platform/Math/Vector.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class Texture;

// x, y, width, height: the "Rect" of the game description.
struct XmlRect
{
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;

    bool operator==(const XmlRect&) const = default;
};

// The text forms of the value kinds. Each reader returns false when the text
// cannot be converted; the writers give the form the readers accept.
namespace XmlValueText
{
// The C library's atoi, kept within 32 bits instead of overflowing.
int32_t toInt(const std::string& text);
// Plain decimal, or UNIT(number) with SECOND, MSECOND, MINUTE or HOUR, in
// milliseconds. A result beyond 32 bits fails rather than wrapping.
bool readInteger(const std::string& text, int32_t& value);
bool readColor(const std::string& text, uint32_t& argb);
std::string writeColor(uint32_t argb);
// "%f" without the trailing zeros, one digit after the point kept.
std::string writeFloat(float value);
bool readBool(const std::string& text);
bool readCulling(const std::string& text, uint32_t& culling);
bool readTransparency(const std::string& text, uint32_t& mode);
const char* cullingName(uint32_t culling);
const char* transparencyName(uint32_t mode);
// The text split at each ", ", empty pieces dropped.
std::vector<std::string> splitList(const std::string& text);
} // namespace XmlValueText

class XmlObjectReader
{
public:
    // Finds or loads a texture by file name and returns one reference, or
    // null when it cannot be had.
    using TextureLoader = std::function<Texture*(const std::string& fileName)>;

    // Vectors read from a file hold at most this many objects unless the
    // caller gives its own bound.
    static constexpr size_t kDefaultMaxVectorSize = 256;
    // SECOND(MINUTE(...)) nests at most this deep.
    static constexpr int kMaxUnitNesting = 8;

    // Reading walks the tree under root; writing appends to it. The root
    // stays the caller's.
    XmlObjectReader(bool reading, XmlElement* root);

    bool isReading() const { return mReading; }
    XmlElement* getCurrent() const { return mCurrent; }

    // Value transfers on the current element.
    ErrorCode transferString(std::string& value);
    ErrorCode transferByte(uint8_t& value);
    ErrorCode transferInteger(int32_t& value);
    ErrorCode transferFloat(float& value);
    ErrorCode transferBool(bool& value);
    ErrorCode transferColor(uint32_t& argb);
    ErrorCode transferCulling(uint32_t& culling);
    ErrorCode transferTransparency(uint32_t& mode);
    // Reading releases the texture the target held and holds the new one.
    ErrorCode transferTexture(Texture*& texture);
    // Text form "x, y, z" or children X, Y, Z.
    ErrorCode transferPoint(Platform::Vector3& point);
    // Text form "x, y, w, h" or children X, Y, Tx, Ty.
    ErrorCode transferRect(XmlRect& rect);

    // The named child made current for the transfer, then the previous
    // current element back. Reading takes the first element of that name; a
    // missing one fails.
    ErrorCode transferChild(const std::string& name, const std::function<ErrorCode()>& transfer);
    // The same, but a missing child gives the target its default.
    template <typename T>
    ErrorCode transferChild(const std::string& name, T& target, const T& defaultValue,
                            const std::function<ErrorCode()>& transfer)
    {
        if (mReading && mCurrent != nullptr && mCurrent->findChild(name) == nullptr)
        {
            target = defaultValue;
            return ERROR_OK;
        }
        return transferChild(name, transfer);
    }

    // A vector of owned objects: reading makes one object per child element
    // (whatever its name) in document order; writing adds one element per
    // object, named after the type. T needs transfer(XmlObjectReader&).
    template <typename T>
    ErrorCode transferVector(
        std::vector<std::unique_ptr<T>>& objects, const char* typeName,
        size_t maxSize = kDefaultMaxVectorSize,
        const std::function<std::unique_ptr<T>()>& create = [] { return std::make_unique<T>(); })
    {
        if (mCurrent == nullptr)
            return fail(ERROR_DOM_INTERPRETING, kNotAnElement);
        if (!mReading)
        {
            for (const std::unique_ptr<T>& object : objects)
            {
                ErrorCode code = writeChildElement(typeName, [&] { return object->transfer(*this); });
                if (code != ERROR_OK)
                    return code;
            }
            return ERROR_OK;
        }
        objects.clear();
        XmlElement* parent = mCurrent;
        if (parent->childCount() > maxSize)
            return fail(ERROR_DOM_INTERPRETING, kTooManyElements);
        for (size_t i = 0; i < parent->childCount(); ++i)
        {
            XmlNode* node = parent->child(i);
            if (!node->isElement())
                return fail(ERROR_DOM_INTERPRETING, kVectorChildNotElement, node);
            std::unique_ptr<T> object = create();
            mCurrent = static_cast<XmlElement*>(node);
            ErrorCode code = object->transfer(*this);
            mCurrent = parent;
            if (code != ERROR_OK)
                return code;
            objects.push_back(std::move(object));
        }
        return ERROR_OK;
    }

    // Keeps the failure when it is the first one and returns its code. The
    // node defaults to the current element.
    ErrorCode fail(ErrorCode code, const std::string& message, const XmlNode* node = nullptr);

    ErrorCode getErrorCode() const { return mErrorCode; }
    const std::string& getErrorMessage() const { return mErrorMessage; }
    // Position of the node of the first failure (0 when none).
    uint32_t getErrorLine() const { return mErrorLine; }
    uint32_t getErrorColumn() const { return mErrorColumn; }

    // Without a loader textures come from the application's 2D engine, the
    // last folder prefix in front of the name.
    void setTextureLoader(TextureLoader loader) { mTextureLoader = std::move(loader); }

    static const char* const kCannotConvert;
    static const char* const kNotAnElement;
    static const char* const kVectorChildNotElement;
    static const char* const kTooManyElements;

private:
    // Reading: the text of the current element's only child (33 otherwise).
    ErrorCode readText(const std::string*& text);
    ErrorCode writeText(const std::string& text);
    ErrorCode writeChildElement(const std::string& name, const std::function<ErrorCode()>& transfer);
    Texture* loadTexture(const std::string& fileName);

    bool mReading;
    XmlElement* mCurrent;
    ErrorCode mErrorCode = ERROR_OK;
    std::string mErrorMessage;
    uint32_t mErrorLine = 0;
    uint32_t mErrorColumn = 0;
    TextureLoader mTextureLoader;
};
