#include "Gui/Text.h"

#include "Framework/ApplicationGeneric.h"

Font* findFont(uint32_t index)
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr ? dynamic_cast<Font*>(application->getFont(index)) : nullptr;
}
