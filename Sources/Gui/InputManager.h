#pragma once
// Application service 7: the mouse state with its cursor, and the key table.
#include "Gui/Cursor.h"

#include <memory>

class InputManager : public InputManagerBase
{
public:
    InputManager() : InputManager(std::make_unique<CursorManager>()) {}
    explicit InputManager(std::unique_ptr<CursorManager> cursor) : mCursor(std::move(cursor)) {}

    // The cursor's mode, then the key names; the first failure is returned.
    ErrorCode init() override;
    CursorManagerBase& getCursorManager() override { return *mCursor; }
    CursorManager& getCursor() { return *mCursor; }
    // Installs the creator of service 7 for the application.
    static void registerService();

private:
    std::unique_ptr<CursorManager> mCursor;
};
