#include "Framework/Messages.h"

#include "Framework/ApplicationGeneric.h"
#include "Framework/LangTable.h"

#include <cstdio>

namespace
{
constexpr size_t kMessageLimit = 255;
}

std::string formatMessage(const char* format, va_list args)
{
    char buffer[kMessageLimit + 1];
    int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    if (written < 0)
        buffer[0] = '\0';
    return buffer;
}

std::string limitMessage(std::string text)
{
    if (text.size() > kMessageLimit)
        text.resize(kMessageLimit);
    return text;
}

void showMessageOverFrame(const std::string& caption, const std::string& text, Platform::MessageKind kind)
{
    if (ApplicationGeneric* application = getApplication())
        application->presentPendingFrame();
    Platform::showMessageBox(caption, text, kind);
}

int showMessage(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = formatMessage(format, args);
    va_end(args);
    ApplicationGeneric* application = getApplication();
    LangTable* table = application != nullptr ? application->getLangTable() : nullptr;
    std::string caption =
        table != nullptr && table->isLoaded() ? getLangText(LANG_INFORMATION) : "Information";
    showMessageOverFrame(caption, text, Platform::MessageKind::Information);
    return 1;
}
