#include "Framework/ErrorText.h"

#include "Framework/ApplicationGeneric.h"
#include "Framework/LangTable.h"
#include "Framework/Messages.h"
#include "Platform/System/PlatformResult.h"

#include <cstdarg>
#include <utility>

namespace
{
constexpr const char* kIdentifiers[ERROR_COUNT] = {
    "ERROR_OK",
    "ERROR_INVALID",
    "ERROR_FAILED",
    "ERROR_D3D",
    "ERROR_DSOUND",
    "ERROR_DSHOW",
    "ERROR_DPLAY",
    "ERROR_VIDEOCARDINCOMPATIBLE",
    "ERROR_NO_FLASH",
    "ERROR_VIDEO_CODEC_UNAVAILABLE",
    "ERROR_VIDEO_CODEC_WMV9_UNAVAILABLE",
    "ERROR_FILENOTFOUND",
    "ERROR_TEXTURE_NOT_POWER_OF_2",
    "ERROR_FILEIO_INVALIDFILE",
    "ERROR_FILEIO_READERROR",
    "ERROR_FILEIO_WRITEERROR",
    "ERROR_FILEIO_COPYFILEERROR",
    "ERROR_FILEIO_FILENOTFOUND",
    "ERROR_FILEIO_ALREADY_OPEN",
    "ERROR_FILEIO_EOF",
    "ERROR_NO_SKINS",
    "ERROR_RESSOURCENOTFOUND",
    "ERROR_STOP_RENDERING",
    "ERROR_NOT_YET_IMPLEMENTED",
    "ERROR_NO_TCP_IP",
    "ERROR_NETWORK_ALREADY_IN_A_GAME",
    "ERROR_NOT_IN_A_GAME",
    "ERROR_NOT_HOSTING_THE_GAME",
    "ERROR_ALREADY_IN_A_GAME",
    "ERROR_NETWORK_INVALID_HOST_ADRESS",
    "ERROR_XML_PARSING_ROOT_MUST_BE_BALISE",
    "ERROR_XML_PARSING_INVALID_CARACTER",
    "ERROR_DOM_INTERPRETING",
    "ERROR_DOM_INTERPRETING_SHOULD_BE_ONE_TEXT",
};

// Results with a description of their own in the language table.
constexpr uint32_t kOutOfMemory = 0x8007000E;
constexpr uint32_t kNoDirect3D = 0x82000001;
constexpr uint32_t kOutOfVideoMemory = 0x8876017C;
constexpr uint32_t kNoSoundDriver = 0x88780078;

std::string d3dDescription(uint32_t result)
{
    switch (result)
    {
    case kOutOfMemory:
        return getLangText(LANG_OUT_OF_MEMORY);
    case kNoDirect3D:
        return getLangText(LANG_NODIRECT3D);
    case kOutOfVideoMemory:
        return getLangText(LANG_OUT_OF_VIDEO_MEMORY);
    default:
        return Platform::resultName(static_cast<Platform::PlatformResult>(result));
    }
}

std::string directXDescription(uint32_t result)
{
    if (result == kNoSoundDriver)
        return getLangText(LANG_NO_SOUND_CARD);
    return Platform::resultName(static_cast<Platform::PlatformResult>(result));
}

bool isTableLoaded()
{
    ApplicationGeneric* application = getApplication();
    LangTable* table = application != nullptr ? application->getLangTable() : nullptr;
    return table != nullptr && table->isLoaded();
}
} // namespace

const char* errorCodeIdentifier(ErrorCode code)
{
    return code < ERROR_COUNT ? kIdentifiers[code] : nullptr;
}

uint32_t errorCodeLangId(ErrorCode code)
{
    if (code >= ERROR_NO_TCP_IP && code <= ERROR_NETWORK_INVALID_HOST_ADRESS)
        return LANG_ERROR_NO_TCP_IP + (code - ERROR_NO_TCP_IP);
    if (code >= ERROR_XML_PARSING_ROOT_MUST_BE_BALISE && code < ERROR_COUNT)
        return LANG_ERROR_XML_PARSING_ROOT_MUST_BE_BALISE + (code - ERROR_XML_PARSING_ROOT_MUST_BE_BALISE);
    return LANG_ERROR_OK + code;
}

std::string errorCodeToText(ErrorCode code)
{
    bool loaded = isTableLoaded();
    if (code < ERROR_COUNT)
        return loaded ? getLangText(errorCodeLangId(code)) : kIdentifiers[code];
    return getLangText(LANG_ERRORCODE_UNKNOWN);
}

namespace
{
std::string gErrorFile;
ErrorCode gErrorShown = ERROR_OK;
} // namespace

void noteErrorFile(const std::string& path)
{
    gErrorFile = path;
}

std::string takeErrorFile()
{
    return std::exchange(gErrorFile, std::string());
}

void noteErrorShown(ErrorCode code)
{
    gErrorShown = code;
}

ErrorCode takeErrorShown()
{
    return std::exchange(gErrorShown, ERROR_OK);
}

ErrorCode errorShown()
{
    return gErrorShown;
}

ErrorCode reportD3DError(uint32_t result, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = limitMessage(d3dDescription(result)) + formatMessage(format, args);
    va_end(args);
    showMessageOverFrame(getLangText(LANG_ERROR_D3D), text, Platform::MessageKind::Error);
    return ERROR_D3D;
}

ErrorCode reportD3DErrorAt(Platform::PlatformResult result, const char* sourceName, SourceLocation where)
{
    return reportD3DError(static_cast<uint32_t>(result), "(line %i in file %s)",
                          static_cast<int>(where.line()), sourceName);
}

ErrorCode reportDirectXError(ErrorCode code, uint32_t result, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = limitMessage(directXDescription(result)) + formatMessage(format, args);
    va_end(args);
    showMessageOverFrame(errorCodeToText(code), text, Platform::MessageKind::Error);
    return code;
}
