// Loads arbitrary bytes as lang.ini: whatever the file holds, every text the
// table keeps reads the same printf arguments as its built-in text.
#include "Framework/FormatCheck.h"
#include "Framework/LangTable.h"
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Platform::TemporaryDirectory directory;
    static const LangTable reference;
    Platform::setProgramDirectory(directory.path());
    Platform::ScopedMessageCapture quiet;
    std::ofstream(directory.path() + "lang.ini", std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    LangTable table;
    if (table.loadFile("lang.ini") != ERROR_OK)
        std::abort();
    for (uint32_t id = 0; id < table.size(); ++id)
    {
        if (formatArguments(table.getText(id)) != formatArguments(reference.getText(id)))
            std::abort();
    }
    return 0;
}
