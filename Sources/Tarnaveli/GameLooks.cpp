#include "Tarnaveli/GameLooks.h"

#include "Framework/Keys.h"
#include "Gui/CheckBoxLook.h"
#include "Gui/Dialog.h"
#include "Gui/LiftLook.h"
#include "Gui/Look.h"
#include "Gui/ProgressionBarLook.h"
#include "Gui/VideoControlerLook.h"

#include <array>

namespace
{
// The game's tables list a lift look's textures as: vertical background,
// horizontal background, then the carret released, pressed and rolled over,
// vertical first. The toolkit's lift takes each orientation whole, the
// carret pressed before released.
constexpr std::array<size_t, 24> kLiftOrder = {0, 1, 2, 9,  10, 11, 6,  7,  8,  12, 13, 14,
                                               3, 4, 5, 18, 19, 20, 15, 16, 17, 21, 22, 23};
// The same for the volume slider: vertical background, horizontal
// background, vertical released, pressed, rolled over, then horizontal;
// the toolkit's slider takes horizontal first.
constexpr std::array<size_t, 8> kLiftSoundOrder = {1, 6, 5, 7, 0, 3, 2, 4};

template <size_t N>
bool reorder(const std::vector<uint32_t>& ids, const std::array<size_t, N>& order, uint32_t (&out)[N])
{
    if (ids.size() != N)
        return false;
    for (size_t i = 0; i < N; ++i)
        out[i] = ids[order[i]];
    return true;
}

template <size_t N> bool copyIds(const std::vector<uint32_t>& ids, uint32_t (&out)[N])
{
    if (ids.size() != N)
        return false;
    for (size_t i = 0; i < N; ++i)
        out[i] = ids[i];
    return true;
}

std::unique_ptr<Look> makeDialogLook()
{
    const GameDialogMetrics metrics;
    auto look = std::make_unique<DialogLook>();
    look->buttonFont = metrics.buttonFont;
    look->buttonWidth = metrics.buttonWidth;
    look->buttonHeight = metrics.buttonHeight;
    for (size_t i = 0; i < look->buttonRecords.size(); ++i)
    {
        look->buttonRecords[i].lookId = metrics.buttonLook;
        look->buttonRecords[i].shortcutKey = i < 4 ? metrics.shortcutKeys[i] : KEY_NONE;
    }
    look->titleFont = metrics.titleFont;
    look->titleColor = metrics.titleColor;
    look->titleGap = metrics.titleGap;
    look->spacing = metrics.spacing;
    look->fieldHeight = metrics.fieldHeight;
    look->textFont = metrics.textFont;
    look->textColor = metrics.textColor;
    look->fitButtons = metrics.fitButtons;
    return look;
}
} // namespace

std::unique_ptr<Look> makeGameLook(const LookEntry& entry)
{
    const std::vector<uint32_t>& t = entry.textures;
    switch (entry.lookClass)
    {
    case LookClass::Empty:
        return std::make_unique<EmptyLook>();
    case LookClass::SingleTexture:
        return t.size() == 1 ? std::make_unique<SingleTextureLook>(t[0]) : nullptr;
    case LookClass::Container:
    {
        uint32_t ids[9];
        if (!copyIds(t, ids))
            return nullptr;
        Margins margins{entry.margins[0], entry.margins[1], entry.margins[2], entry.margins[3]};
        return std::make_unique<ContainerLook>(ids, margins, entry.flag != 0);
    }
    case LookClass::Text:
        return entry.colors.size() == 1 ? std::make_unique<TextLook>(entry.colors[0]) : nullptr;
    case LookClass::TextButton:
    {
        const std::vector<uint32_t>& c = entry.colors;
        if (c.size() != 5)
            return nullptr;
        return std::make_unique<TextButtonLook>(c[0], c[1], c[2], c[3], c[4], entry.clickSound,
                                                entry.shadowDx, entry.shadowDy);
    }
    case LookClass::Button:
        return t.size() == 4 ? std::make_unique<ButtonLook>(t[0], t[1], t[2], t[3], entry.clickSound)
                             : nullptr;
    case LookClass::Lift:
    case LookClass::LiftSound:
    {
        uint32_t arrows[4];
        if (!copyIds(entry.looks, arrows))
            return nullptr;
        if (entry.lookClass == LookClass::Lift)
        {
            uint32_t ids[24];
            return reorder(t, kLiftOrder, ids) ? std::make_unique<LiftLook>(ids, arrows) : nullptr;
        }
        uint32_t ids[8];
        return reorder(t, kLiftSoundOrder, ids) ? std::make_unique<LiftSoundLook>(ids, arrows) : nullptr;
    }
    case LookClass::CheckBox:
    {
        uint32_t ids[6];
        return copyIds(t, ids) ? std::make_unique<CheckBoxLook>(ids, entry.clickSound) : nullptr;
    }
    case LookClass::Dialog:
        return makeDialogLook();
    case LookClass::VideoControler:
    {
        // The looks of play, pause, backward, forward, full screen, then the
        // progression bar's.
        uint32_t ids[6];
        if (!copyIds(entry.looks, ids))
            return nullptr;
        return std::make_unique<VideoControlerLook>(ids[0], ids[1], ids[2], ids[3], ids[4], ids[5]);
    }
    case LookClass::ProgressionBar:
    {
        uint32_t ids[3];
        uint32_t frame[1];
        if (!copyIds(t, ids) || !copyIds(entry.looks, frame))
            return nullptr;
        return std::make_unique<ProgressionBarLook>(ids[0], ids[1], ids[2], frame[0]);
    }
    }
    return nullptr;
}

void finishGameLooks(LookTable& table)
{
    for (const LookEntry& entry : lookTable())
    {
        if (entry.lookClass != LookClass::Lift)
            continue;
        if (auto* lift = dynamic_cast<LiftLook*>(table.getLook(entry.id)))
        {
            lift->setButtonPictureSize(LIFT_ARROW_UP, kLiftVerticalArrowWidth, kLiftVerticalArrowHeight);
            lift->setButtonPictureSize(LIFT_ARROW_DOWN, kLiftVerticalArrowWidth, kLiftVerticalArrowHeight);
        }
    }
    if (auto* list = dynamic_cast<ListLook*>(table.getLook(LOOK_LIST)))
        list->liftWidth = kListLiftWidth;
}
