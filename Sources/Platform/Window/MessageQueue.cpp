#include "Platform/Window/WindowMessage.h"

namespace Platform
{

void MessageQueue::post(uint32_t message, WParam wParam, LParam lParam)
{
    WindowMessage record;
    record.message = message;
    record.wParam = wParam;
    record.lParam = lParam;
    mMessages.push_back(record);
}

void MessageQueue::postQuit(int exitCode)
{
    mQuitPosted = true;
    mExitCode = exitCode;
}

bool MessageQueue::take(WindowMessage& out)
{
    if (!mMessages.empty())
    {
        out = mMessages.front();
        mMessages.pop_front();
        return true;
    }
    if (mQuitPosted)
    {
        mQuitPosted = false;
        out = WindowMessage{};
        out.message = WM_QUIT;
        out.wParam = static_cast<WParam>(static_cast<uint32_t>(mExitCode));
        return true;
    }
    return false;
}

void MessageQueue::clear()
{
    mMessages.clear();
    mQuitPosted = false;
    mExitCode = 0;
}

} // namespace Platform
