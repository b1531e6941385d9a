#include "Gui/InputManager.h"

#include "Framework/ApplicationGeneric.h"
#include "Framework/Keys.h"

ErrorCode InputManager::init()
{
    if (ErrorCode code = mCursor->init())
        return code;
    buildKeyNames();
    return 0;
}

void InputManager::registerService()
{
    setServiceCreator(SERVICE_INPUT_MANAGER,
                      [](const ApplicationSettings&) { return std::make_unique<InputManager>(); });
}
