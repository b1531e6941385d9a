#pragma once
// What the game registers at start-up besides its texts: the skin textures
// (ids 2 to 196) and colours (0 to 10), the 34 images, the 4 bitmap fonts,
// the 8 sounds and the looks. Every screen refers to these entries by id.
#include "Framework/Keys.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Ids 0 and 1 belong to the skin manager.
inline constexpr uint32_t kFirstGameSkinTexture = 2;
inline constexpr uint32_t kSkinTextureCount = 197;
inline constexpr uint32_t kSkinColorCount = 11;
inline constexpr uint32_t kImageCount = 34;
inline constexpr uint32_t kFontCount = 4;
// Index 0 of the sound names stays empty (no sound).
inline constexpr uint32_t kSoundNameCount = 9;
inline constexpr uint32_t kLookTableSize = 54;

struct SkinTextureEntry
{
    uint32_t id;
    std::string key;
    // Inside the current skin's folder.
    std::string file;
};
// Ids 2 to 196 in id order.
const std::vector<SkinTextureEntry>& skinTextureTable();

struct SkinColorEntry
{
    uint32_t id;
    const char* key;
    uint32_t argb;
};
std::span<const SkinColorEntry> skinColorTable();

enum ImageId : uint32_t
{
    IMAGE_MOUSE = 0,
    IMAGE_INTRO_LOGO = 1,
    IMAGE_INTRO_PUBLISHER = 2,
    // White and black icon of each rank: IMAGE_PIECE_ICONS + 2 x rank + side.
    IMAGE_PIECE_ICONS = 3,
    IMAGE_CURSOR = 27,
    IMAGE_CLOSING = 32
};
// In the images folder, by image id.
std::span<const char* const> imageFiles();

struct FontEntry
{
    const char* file;
    // Index in the application's font table.
    uint32_t index;
};
// In creation order.
std::span<const FontEntry> fontTable();

enum FontIndex : uint32_t
{
    FONT_INFOTIP = 2,
    // The font of both default text styles.
    FONT_TEXT = 3
};

struct SoundEntry
{
    uint32_t id;
    const char* path;
};
// Ids 1 to 8.
std::span<const SoundEntry> soundTable();
enum SoundId : uint32_t
{
    SOUND_ERROR = 1,
    SOUND_SELECT_OPTION = 2,
    SOUND_BUTTON_CLICK = 3,
    SOUND_MENU_CLICK = 4,
    SOUND_MENU_MUSIC = 5,
    SOUND_SELECT_PIECE = 6,
    SOUND_WON = 7,
    SOUND_LOST = 8
};

// The look classes the game builds.
enum class LookClass : uint8_t
{
    SingleTexture,
    Empty,
    Container,
    Text,
    TextButton,
    Button,
    Lift,
    LiftSound,
    CheckBox,
    VideoControler,
    ProgressionBar,
    Dialog
};

// One look of the table. The texture ids are in the order of the look
// class; `looks` names other looks by id (a lift's arrow buttons, a video
// controller's buttons and bar, a progression bar's frame).
struct LookEntry
{
    uint32_t id;
    LookClass lookClass;
    std::vector<uint32_t> textures;
    // Skin colour ids (text looks, text button looks).
    std::vector<uint32_t> colors;
    std::vector<uint32_t> looks;
    // Container margins: left, top, right, bottom.
    int32_t margins[4] = {0, 0, 0, 0};
    // Container tile flag; the video controller's value.
    uint32_t flag = 0;
    uint32_t clickSound = 0;
    // Text button caption shadow offset.
    int32_t shadowDx = 0;
    int32_t shadowDy = 0;
};
// In registration order (47 looks).
const std::vector<LookEntry>& lookTable();

// Dialog look 10 of the game.
struct GameDialogMetrics
{
    uint32_t buttonFont = 3;
    int32_t buttonWidth = 100;
    int32_t buttonHeight = 24;
    uint32_t buttonLook = 0;
    uint32_t titleFont = 1;
    uint32_t titleColor = 0xFF000000;
    int32_t titleGap = 40;
    int32_t spacing = 16;
    int32_t fieldHeight = 24;
    uint32_t textFont = 3;
    uint32_t textColor = 0xFF000000;
    bool fitButtons = false;
    // Shortcut key ids of "OK", "Oui", "Non" and "Annuler": a player confirms
    // with Entrée and backs out with Echap.
    uint32_t shortcutKeys[4] = {KEY_ENTER, KEY_ENTER, KEY_ESCAPE, KEY_ESCAPE};
};

// The lift look's arrow buttons: up and down pictures are 26 by 47, the left
// and right ones keep 32 by 32; the default list look's lift is 27 wide.
inline constexpr int32_t kLiftVerticalArrowWidth = 26;
inline constexpr int32_t kLiftVerticalArrowHeight = 47;
inline constexpr int32_t kListLiftWidth = 27;
