#include "Framework/Messages.h"

#include "Framework/ApplicationGeneric.h"
#include "Framework/LangTable.h"
#include "Platform/System/Paths.h"

#include <cstdio>

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

std::string shownPath(const std::string& linuxPath, size_t limit)
{
    std::string path = Platform::toProgramPath(linuxPath);
    size_t tail = path.rfind('/');
    if (path.size() <= limit || tail == std::string::npos)
        return path;
    // The file's name is kept, and the folder holding it when it fits; then
    // as many of the first folders as still fit.
    const std::string leftOut = "/...";
    const size_t holder = tail > 0 ? path.rfind('/', tail - 1) : std::string::npos;
    if (holder != std::string::npos && leftOut.size() + path.size() - holder <= limit)
        tail = holder;
    size_t head = 0;
    for (size_t slash = path.find('/', 1);
         slash < tail && slash + leftOut.size() + path.size() - tail <= limit;
         slash = path.find('/', slash + 1))
        head = slash;
    return path.substr(0, head) + leftOut + path.substr(tail);
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
