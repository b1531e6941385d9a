#include "Gui/Look.h"

#include "Framework/ApplicationGeneric.h"
#include "Gui/Dialog.h"

Look::Look(uint32_t textureCount, uint32_t colorCount, const uint32_t* textureIds, const uint32_t* colorIds)
    : mTextureIds(textureCount, 0), mColorIds(colorCount, 0)
{
    if (textureIds != nullptr)
        mTextureIds.assign(textureIds, textureIds + textureCount);
    if (colorIds != nullptr)
        mColorIds.assign(colorIds, colorIds + colorCount);
}

LookTable::LookTable() : mLooks(13)
{
    mLooks[LOOK_EMPTY] = std::make_unique<EmptyLook>();
    mLooks[LOOK_DIALOG] = std::make_unique<DialogLook>();
}

void LookTable::setLook(uint32_t id, std::unique_ptr<Look> look)
{
    if (id >= mLooks.size())
        mLooks.resize(id + 1);
    mLooks[id] = std::move(look);
}

void LookTable::resize(uint32_t count)
{
    if (count > mLooks.size())
        mLooks.resize(count);
}

Look* findLook(uint32_t id)
{
    ApplicationGeneric* application = getApplication();
    if (application == nullptr)
        return nullptr;
    LookTable* table = dynamic_cast<LookTable*>(application->getService(SERVICE_LOOK_TABLE));
    return table != nullptr ? table->getLook(id) : nullptr;
}
