#pragma once
// Every message box of the program goes through one sink: an interactive box
// when a person is at a display (installed with the main window), a captured
// record in tests, a line on standard error otherwise.
#include <memory>
#include <string>
#include <vector>

namespace Platform
{

enum class MessageKind
{
    Error,
    Warning,
    Information
};

class MessageSink
{
public:
    virtual ~MessageSink() = default;
    // Title and text are Windows-1252.
    virtual void show(const std::string& title, const std::string& text, MessageKind kind) = 0;
};

// Writes "title: text" in UTF-8 to standard error.
class StderrMessageSink final : public MessageSink
{
public:
    void show(const std::string& title, const std::string& text, MessageKind kind) override;
};

// Keeps every message for tests to inspect.
class RecordingMessageSink final : public MessageSink
{
public:
    struct Message
    {
        std::string title;
        std::string text;
        MessageKind kind;
    };
    void show(const std::string& title, const std::string& text, MessageKind kind) override
    {
        messages.push_back({title, text, kind});
    }
    std::vector<Message> messages;
};

// The sink in use (a standard-error sink until one is installed).
MessageSink& messageSink();
// Installs a sink and returns the previous one; null restores the default.
std::shared_ptr<MessageSink> setMessageSink(std::shared_ptr<MessageSink> sink);
void showMessageBox(const std::string& title, const std::string& text, MessageKind kind);

// Installs a recording sink for its lifetime.
class ScopedMessageCapture
{
public:
    ScopedMessageCapture();
    ~ScopedMessageCapture();
    ScopedMessageCapture(const ScopedMessageCapture&) = delete;
    ScopedMessageCapture& operator=(const ScopedMessageCapture&) = delete;
    const std::vector<RecordingMessageSink::Message>& messages() const { return mSink->messages; }
    void clear() { mSink->messages.clear(); }

private:
    std::shared_ptr<RecordingMessageSink> mSink;
    std::shared_ptr<MessageSink> mPrevious;
};

} // namespace Platform
