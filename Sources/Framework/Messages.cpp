#include "Framework/Messages.h"

#include "Platform/System/MessageSink.h"

#include <cstdio>

std::string formatMessage(const char* format, va_list args)
{
    char buffer[256];
    int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    if (written < 0)
        buffer[0] = '\0';
    return buffer;
}

int showMessage(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = formatMessage(format, args);
    va_end(args);
    Platform::showMessageBox("Information", text, Platform::MessageKind::Information);
    return 1;
}
