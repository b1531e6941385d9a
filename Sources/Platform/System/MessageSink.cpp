#include "Platform/System/MessageSink.h"

#include "Platform/System/Text1252.h"

#include <cstdio>
#include <mutex>

namespace Platform
{
namespace
{
std::mutex gSinkMutex;
std::shared_ptr<MessageSink> gSink;

std::shared_ptr<MessageSink> currentSink()
{
    std::lock_guard lock(gSinkMutex);
    if (!gSink)
        gSink = std::make_shared<StderrMessageSink>();
    return gSink;
}
} // namespace

void StderrMessageSink::show(const std::string& title, const std::string& text, MessageKind)
{
    std::fprintf(stderr, "%s: %s\n", cp1252ToUtf8(title).c_str(), cp1252ToUtf8(text).c_str());
}

MessageSink& messageSink()
{
    return *currentSink();
}

std::shared_ptr<MessageSink> setMessageSink(std::shared_ptr<MessageSink> sink)
{
    std::lock_guard lock(gSinkMutex);
    std::shared_ptr<MessageSink> previous = std::move(gSink);
    gSink = std::move(sink);
    return previous;
}

void showMessageBox(const std::string& title, const std::string& text, MessageKind kind)
{
    // Hold a reference so that a sink replaced meanwhile stays alive.
    std::shared_ptr<MessageSink> sink = currentSink();
    sink->show(title, text, kind);
}

ScopedMessageCapture::ScopedMessageCapture() : mSink(std::make_shared<RecordingMessageSink>())
{
    mPrevious = setMessageSink(mSink);
}

ScopedMessageCapture::~ScopedMessageCapture()
{
    setMessageSink(mPrevious);
}

} // namespace Platform
