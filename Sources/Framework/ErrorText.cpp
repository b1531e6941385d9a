#include "Framework/ErrorText.h"

#include "Framework/ApplicationGeneric.h"
#include "Framework/LangTable.h"
#include "Framework/Messages.h"

#include <algorithm>
#include <cstdarg>
#include <iterator>
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

struct ResultName
{
    uint32_t result;
    const char* name;
};

// The names the platform services publish for their result codes. Codes that
// several services share (E_INVALIDARG is also DSERR_INVALIDPARAM) carry the
// common name. Sorted by code.
constexpr ResultName kResultNames[] = {
    {0x00000000, "S_OK"},
    {0x00000001, "S_FALSE"},
    {0x0876086F, "D3DOK_NOAUTOGEN"},
    {0x0878000A, "DS_NO_VIRTUALIZATION"},
    {0x8000000A, "E_PENDING"},
    {0x80004001, "E_NOTIMPL"},
    {0x80004002, "E_NOINTERFACE"},
    {0x80004003, "E_POINTER"},
    {0x80004004, "E_ABORT"},
    {0x80004005, "E_FAIL"},
    {0x8000FFFF, "E_UNEXPECTED"},
    {0x80040110, "CLASS_E_NOAGGREGATION"},
    {0x80040154, "REGDB_E_CLASSNOTREG"},
    {0x800401F0, "CO_E_NOTINITIALIZED"},
    {0x80070005, "E_ACCESSDENIED"},
    {0x80070006, "E_HANDLE"},
    {0x8007000E, "E_OUTOFMEMORY"},
    {0x80070057, "E_INVALIDARG"},
    {0x80158100, "DPNERR_ABORTED"},
    {0x80158110, "DPNERR_ADDRESSING"},
    {0x80158120, "DPNERR_ALREADYCLOSING"},
    {0x80158130, "DPNERR_ALREADYCONNECTED"},
    {0x80158140, "DPNERR_ALREADYDISCONNECTING"},
    {0x80158150, "DPNERR_ALREADYINITIALIZED"},
    {0x80158160, "DPNERR_ALREADYREGISTERED"},
    {0x80158170, "DPNERR_BUFFERTOOSMALL"},
    {0x80158180, "DPNERR_CANNOTCANCEL"},
    {0x80158190, "DPNERR_CANTCREATEGROUP"},
    {0x801581A0, "DPNERR_CANTCREATEPLAYER"},
    {0x801581B0, "DPNERR_CANTLAUNCHAPPLICATION"},
    {0x801581C0, "DPNERR_CONNECTING"},
    {0x801581D0, "DPNERR_CONNECTIONLOST"},
    {0x801581E0, "DPNERR_CONVERSION"},
    {0x801581E5, "DPNERR_DATATOOLARGE"},
    {0x801581F0, "DPNERR_DOESNOTEXIST"},
    {0x801581F5, "DPNERR_DPNSVRNOTAVAILABLE"},
    {0x80158200, "DPNERR_DUPLICATECOMMAND"},
    {0x80158210, "DPNERR_ENDPOINTNOTRECEIVING"},
    {0x80158220, "DPNERR_ENUMQUERYTOOLARGE"},
    {0x80158230, "DPNERR_ENUMRESPONSETOOLARGE"},
    {0x80158240, "DPNERR_EXCEPTION"},
    {0x80158260, "DPNERR_GROUPNOTEMPTY"},
    {0x80158270, "DPNERR_HOSTING"},
    {0x80158280, "DPNERR_HOSTREJECTEDCONNECTION"},
    {0x80158290, "DPNERR_HOSTTERMINATEDSESSION"},
    {0x801582A0, "DPNERR_INCOMPLETEADDRESS"},
    {0x801582B0, "DPNERR_INVALIDADDRESSFORMAT"},
    {0x801582C0, "DPNERR_INVALIDAPPLICATION"},
    {0x801582D0, "DPNERR_INVALIDCOMMAND"},
    {0x801582E0, "DPNERR_INVALIDDEVICEADDRESS"},
    {0x801582F0, "DPNERR_INVALIDENDPOINT"},
    {0x80158300, "DPNERR_INVALIDFLAGS"},
    {0x80158310, "DPNERR_INVALIDGROUP"},
    {0x80158320, "DPNERR_INVALIDHANDLE"},
    {0x80158330, "DPNERR_INVALIDHOSTADDRESS"},
    {0x80158340, "DPNERR_INVALIDINSTANCE"},
    {0x80158350, "DPNERR_INVALIDINTERFACE"},
    {0x80158360, "DPNERR_INVALIDPASSWORD"},
    {0x80158370, "DPNERR_INVALIDPLAYER"},
    {0x80158380, "DPNERR_INVALIDPRIORITY"},
    {0x80158390, "DPNERR_INVALIDSTRING"},
    {0x801583A0, "DPNERR_INVALIDURL"},
    {0x801583B0, "DPNERR_INVALIDVERSION"},
    {0x801583C0, "DPNERR_NOCAPS"},
    {0x801583D0, "DPNERR_NOCONNECTION"},
    {0x801583E0, "DPNERR_NOHOSTPLAYER"},
    {0x801583F0, "DPNERR_NOMOREADDRESSCOMPONENTS"},
    {0x80158400, "DPNERR_NORESPONSE"},
    {0x80158410, "DPNERR_NOTALLOWED"},
    {0x80158420, "DPNERR_NOTHOST"},
    {0x80158430, "DPNERR_NOTREADY"},
    {0x80158440, "DPNERR_NOTREGISTERED"},
    {0x80158450, "DPNERR_PLAYERALREADYINGROUP"},
    {0x80158460, "DPNERR_PLAYERLOST"},
    {0x80158470, "DPNERR_PLAYERNOTINGROUP"},
    {0x80158480, "DPNERR_PLAYERNOTREACHABLE"},
    {0x80158490, "DPNERR_SENDTOOLARGE"},
    {0x80158500, "DPNERR_SESSIONFULL"},
    {0x80158510, "DPNERR_TABLEFULL"},
    {0x80158520, "DPNERR_TIMEDOUT"},
    {0x80158530, "DPNERR_UNINITIALIZED"},
    {0x80158540, "DPNERR_USERCANCEL"},
    {0x8876017C, "D3DERR_OUTOFVIDEOMEMORY"},
    {0x8876021C, "D3DERR_WASSTILLDRAWING"},
    {0x88760818, "D3DERR_WRONGTEXTUREFORMAT"},
    {0x88760819, "D3DERR_UNSUPPORTEDCOLOROPERATION"},
    {0x8876081A, "D3DERR_UNSUPPORTEDCOLORARG"},
    {0x8876081B, "D3DERR_UNSUPPORTEDALPHAOPERATION"},
    {0x8876081C, "D3DERR_UNSUPPORTEDALPHAARG"},
    {0x8876081D, "D3DERR_TOOMANYOPERATIONS"},
    {0x8876081E, "D3DERR_CONFLICTINGTEXTUREFILTER"},
    {0x8876081F, "D3DERR_UNSUPPORTEDFACTORVALUE"},
    {0x88760821, "D3DERR_CONFLICTINGRENDERSTATE"},
    {0x88760822, "D3DERR_UNSUPPORTEDTEXTUREFILTER"},
    {0x88760826, "D3DERR_CONFLICTINGTEXTUREPALETTE"},
    {0x88760827, "D3DERR_DRIVERINTERNALERROR"},
    {0x88760866, "D3DERR_NOTFOUND"},
    {0x88760867, "D3DERR_MOREDATA"},
    {0x88760868, "D3DERR_DEVICELOST"},
    {0x88760869, "D3DERR_DEVICENOTRESET"},
    {0x8876086A, "D3DERR_NOTAVAILABLE"},
    {0x8876086B, "D3DERR_INVALIDDEVICE"},
    {0x8876086C, "D3DERR_INVALIDCALL"},
    {0x8876086D, "D3DERR_DRIVERINVALIDCALL"},
    {0x88760B54, "D3DXERR_CANNOTMODIFYINDEXBUFFER"},
    {0x88760B55, "D3DXERR_INVALIDMESH"},
    {0x88760B56, "D3DXERR_CANNOTATTRSORT"},
    {0x88760B57, "D3DXERR_SKINNINGNOTSUPPORTED"},
    {0x88760B58, "D3DXERR_TOOMANYINFLUENCES"},
    {0x88760B59, "D3DXERR_INVALIDDATA"},
    {0x88760B5A, "D3DXERR_LOADEDMESHASNODATA"},
    {0x88760B5B, "D3DXERR_DUPLICATENAMEDFRAGMENT"},
    {0x88760B5C, "D3DXERR_CANNOTREMOVELASTITEM"},
    {0x8878000A, "DSERR_ALLOCATED"},
    {0x8878001E, "DSERR_CONTROLUNAVAIL"},
    {0x88780032, "DSERR_INVALIDCALL"},
    {0x88780046, "DSERR_PRIOLEVELNEEDED"},
    {0x88780064, "DSERR_BADFORMAT"},
    {0x88780078, "DSERR_NODRIVER"},
    {0x88780082, "DSERR_ALREADYINITIALIZED"},
    {0x88780096, "DSERR_BUFFERLOST"},
    {0x887800A0, "DSERR_OTHERAPPHASPRIO"},
    {0x887800AA, "DSERR_UNINITIALIZED"},
    {0x887800B4, "DSERR_BUFFERTOOSMALL"},
    {0x887800BE, "DSERR_DS8_REQUIRED"},
    {0x887800C8, "DSERR_SENDLOOP"},
    {0x887800D2, "DSERR_BADSENDBUFFERGUID"},
    {0x887800DC, "DSERR_FXUNAVAILABLE"},
    {0x88781161, "DSERR_OBJECTNOTFOUND"},
};

constexpr bool isSorted()
{
    for (size_t i = 1; i < std::size(kResultNames); ++i)
        if (kResultNames[i - 1].result >= kResultNames[i].result)
            return false;
    return true;
}
static_assert(isSorted());

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
        return resultCodeName(result);
    }
}

std::string directXDescription(uint32_t result)
{
    if (result == kNoSoundDriver)
        return getLangText(LANG_NO_SOUND_CARD);
    return resultCodeName(result);
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

const char* resultCodeName(uint32_t result)
{
    const ResultName* end = std::end(kResultNames);
    const ResultName* found =
        std::lower_bound(std::begin(kResultNames), end, result,
                         [](const ResultName& entry, uint32_t value) { return entry.result < value; });
    return found != end && found->result == result ? found->name : "Unknown";
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

ErrorCode reportD3DErrorAt(int32_t result, const char* sourceName, std::source_location where)
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
