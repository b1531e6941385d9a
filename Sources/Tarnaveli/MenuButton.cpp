#include "Tarnaveli/MenuButton.h"

MenuButton::MenuButton(int32_t x, int32_t y, uint32_t skinTextureId, const std::string& infotipText,
                       Callback callback, MenuWindowBase* menu)
    : TextButton(x, y, WIDTH, HEIGHT, std::string(), skinTextureId, infotipText),
      mSkinTextureId(skinTextureId), mCallback(std::move(callback)), mMenu(menu)
{
    onClick.mFunction = [this](Component*, uint32_t)
    {
        if (mCallback)
            mCallback(this, mMenu);
    };
}
