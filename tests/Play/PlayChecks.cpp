#include "PlayChecks.h"

#include "Journeys.h"

#include "Engine3DD3D/Engine3DD3D.h"
#include "Gui/Dialog.h"
#include "Gui/Image.h"
#include "Gui/Infotip.h"
#include "Gui/Label.h"
#include "Gui/Skin.h"
#include "Gui/Text.h"
#include "Gui/TextButton.h"
#include "Gui/TextField.h"
#include "ImageCodec/ImageLibrary.h"
#include "Platform/Gpu/DeviceBase.h"
#include "Platform/System/Text1252.h"
#include "Tarnaveli/GameScreen.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cxxabi.h>
#include <memory>
#include <string_view>

namespace Play
{
namespace
{
// A glyph's box may touch the widget's edge; anti-aliasing may spill one pixel.
constexpr int kTolerance = 1;
constexpr double kMinimumContrast = 3.0;

double channel(uint32_t value)
{
    double c = double(value & 0xFF) / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(uint32_t argb)
{
    return 0.2126 * channel(argb >> 16) + 0.7152 * channel(argb >> 8) + 0.0722 * channel(argb);
}

Text2D* textObject(Component* widget)
{
    if (auto* label = dynamic_cast<Label*>(widget))
        return label->getTextObject();
    if (auto* button = dynamic_cast<TextButton*>(widget))
        return button->getCaption();
    if (auto* field = dynamic_cast<TextField*>(widget))
        return field->getTextObject();
    if (auto* tip = dynamic_cast<Infotip*>(widget))
        return tip->getTextObject();
    return nullptr;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

struct GlyphBox
{
    Rect box;
    uint32_t color;
};

std::vector<GlyphBox> glyphBoxes(Text2D& text)
{
    std::vector<GlyphBox> boxes;
    const std::string& characters = text.getText();
    const std::vector<uint32_t>& colors = text.getCharColors();
    for (int32_t i = 0; i < int32_t(characters.size()); ++i)
    {
        if (isBlank(characters[i]))
            continue;
        int32_t x = 0;
        int32_t y = 0;
        int32_t width = 0;
        int32_t height = 0;
        text.getCharPosition(i, x, y);
        text.getCharExtent(i, width, height);
        if (width <= 0 || height <= 0)
            continue;
        boxes.push_back({{x, y, width, height}, size_t(i) < colors.size() ? colors[i] : text.getColor()});
    }
    return boxes;
}

bool inside(const Rect& inner, const Rect& outer, int tolerance)
{
    return inner.x >= outer.x - tolerance && inner.y >= outer.y - tolerance &&
           inner.x + inner.width <= outer.x + outer.width + tolerance &&
           inner.y + inner.height <= outer.y + outer.height + tolerance;
}

std::string rectText(const Rect& r)
{
    return "(" + std::to_string(r.x) + ", " + std::to_string(r.y) + ", " + std::to_string(r.width) + " x " +
           std::to_string(r.height) + ")";
}

// Visible up to the layer, which may stand outside the tree (the infotip).
bool visibleWithin(Component* c, Component* layer)
{
    for (; c != nullptr; c = c->getParent())
    {
        if (!c->isVisible())
            return false;
        if (c == layer)
            return true;
    }
    return false;
}

// The layer's shown widgets, the layer itself among them when it shows a
// text of its own (the infotip).
std::vector<Component*> shownUnder(Driver& driver, Component* layer)
{
    std::vector<Component*> found;
    for (Component* c : driver.all(layer))
        if ((c != layer || textObject(c) != nullptr) && visibleWithin(c, layer) && c->getWidth() > 0 &&
            c->getHeight() > 0)
            found.push_back(c);
    return found;
}

// How many rows at the top (or the bottom) of a dialog's frame its pictures
// leave empty or hardly shaded (under a tenth opaque: the fringe of the
// frame's shadow). The tallest dialogs are a few pixels taller than the
// screen, their roof starting below the top of its pictures: they may stand
// that far past the screen's edge and still show all that can be seen.
int faintRows(Component* layer, bool bottom)
{
    auto* dialog = dynamic_cast<Dialog*>(layer);
    SkinManager* skins = findSkinManager();
    Look* frame = dialog != nullptr ? findLook(dialog->getDialogLook()->frameLook) : nullptr;
    if (frame == nullptr || skins == nullptr || skins->getCurrentSkin() == nullptr)
        return 0;
    const std::string folder = skins->getSkinsFolder() + skins->getCurrentSkin()->getName() + "\\";
    int faint = INT_MAX;
    // The border and the two corners of that side.
    const std::array<uint32_t, 3> parts =
        bottom ? std::array<uint32_t, 3>{3, 6, 7} : std::array<uint32_t, 3>{2, 4, 5};
    for (uint32_t part : parts)
    {
        const std::string path = folder + skins->getTextureFile(frame->getTextureId(part));
        DecodedImagePtr image(
            convertImage(openImageByName(path.c_str(), IMAGE_FORMAT_AUTODETECT), PIXEL_FORMAT_R8G8B8A8));
        if (!image)
            return 0;
        const int width = image->getWidth(), height = image->getHeight();
        int rows = 0;
        for (; rows < height; ++rows)
        {
            const uint8_t* row = image->getPixels() + size_t(bottom ? height - 1 - rows : rows) * width * 4;
            int alpha = 0;
            for (int x = 0; x < width; ++x)
                alpha = std::max<int>(alpha, row[x * 4 + 3]);
            if (alpha * 10 >= 255)
                break;
        }
        faint = std::min(faint, rows);
    }
    return faint;
}

// Texts fading in or out are judged once they are shown.
bool opaqueEnough(uint32_t argb)
{
    return (argb >> 24) >= 0x80;
}
} // namespace

std::string describe(Component* widget)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(typeid(*widget).name(), nullptr, nullptr, &status), std::free);
    std::string text = Driver::textOf(widget);
    std::string out = status == 0 && name ? name.get() : typeid(*widget).name();
    if (!text.empty())
        out += " \"" + Platform::cp1252ToUtf8(text) + "\"";
    return out + " " + rectText(widget->getRect());
}

double inkContrast(const Frame& frame, const Rect& region)
{
    std::vector<double> values;
    for (int y = std::max(0, region.y); y < std::min(kFrameHeight, region.y + region.height); ++y)
        for (int x = std::max(0, region.x); x < std::min(kFrameWidth, region.x + region.width); ++x)
            values.push_back(luminance(frame.at(x, y)));
    if (values.size() < 10)
        return 21.0;
    std::vector<double> sorted = values;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    const double ground = sorted[sorted.size() / 2];
    std::sort(values.begin(), values.end(),
              [&](double a, double b) { return std::abs(a - ground) > std::abs(b - ground); });
    values.resize(std::max<size_t>(1, values.size() / 10));
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    const double ink = values[values.size() / 2];
    return (std::max(ink, ground) + 0.05) / (std::min(ink, ground) + 0.05);
}

Rect glyphSpan(Component* widget, int32_t first, int32_t last)
{
    Text2D* text = textObject(widget);
    if (text == nullptr)
        return {};
    int32_t left = INT32_MAX;
    int32_t top = INT32_MAX;
    int32_t right = INT32_MIN;
    int32_t bottom = INT32_MIN;
    for (int32_t i = std::max(0, first); i <= last && i < int32_t(text->getText().size()); ++i)
    {
        int32_t x = 0;
        int32_t y = 0;
        int32_t width = 0;
        int32_t height = 0;
        text->getCharPosition(i, x, y);
        text->getCharExtent(i, width, height);
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x + width);
        bottom = std::max(bottom, y + height);
    }
    return left > right ? Rect{} : Rect{left, top, right - left, bottom - top};
}

size_t differingPixels(const Frame& a, const Frame& b)
{
    if (a.empty() || b.empty())
        return size_t(-1);
    size_t count = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        count += a.pixels[i] != b.pixels[i];
    return count;
}

Platform::Gpu::DeviceBase* gameDevice()
{
    return dynamic_cast<Platform::Gpu::DeviceBase*>(Engine3DD3D::currentDevice());
}

size_t differenceFromRedrawn(Driver& driver, const std::function<void(bool)>& keep)
{
    Frame shown = driver.readFrame();
    keep(false);
    driver.step(0);
    Frame drawn = driver.readFrame();
    keep(true);
    return differingPixels(shown, drawn);
}

double contrastRatio(uint32_t argb1, uint32_t argb2)
{
    double a = luminance(argb1);
    double b = luminance(argb2);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

double textContrast(const Frame& frame, Component* widget)
{
    Text2D* text = textObject(widget);
    if (text == nullptr || frame.empty())
        return 21.0;
    std::vector<GlyphBox> boxes = glyphBoxes(*text);
    if (boxes.empty())
        return 21.0;
    const uint32_t color = boxes.front().color;
    const double textLuminance = luminance(color);
    std::vector<double> distances;
    std::vector<uint32_t> pixels;
    for (const GlyphBox& glyph : boxes)
        for (int y = std::max(0, glyph.box.y); y < std::min(kFrameHeight, glyph.box.y + glyph.box.height);
             ++y)
            for (int x = std::max(0, glyph.box.x); x < std::min(kFrameWidth, glyph.box.x + glyph.box.width);
                 ++x)
                pixels.push_back(frame.at(x, y));
    if (pixels.empty())
        return 21.0;
    // The half of the pixels farthest from the text's colour is what lies
    // between the strokes; its median stands for the background.
    std::sort(pixels.begin(), pixels.end(),
              [&](uint32_t a, uint32_t b)
              { return std::abs(luminance(a) - textLuminance) > std::abs(luminance(b) - textLuminance); });
    std::vector<double> far;
    for (size_t i = 0; i < (pixels.size() + 1) / 2; ++i)
        far.push_back(luminance(pixels[i]));
    std::nth_element(far.begin(), far.begin() + far.size() / 2, far.end());
    const double background = far[far.size() / 2];
    return (std::max(background, textLuminance) + 0.05) / (std::min(background, textLuminance) + 0.05);
}

Faults checkInsideFrame(Driver& driver, Component* layer, bool frameless)
{
    Faults faults;
    const Rect screen{0, 0, kFrameWidth, kFrameHeight};
    const Rect frame = frameless ? screen : layer->getRect();
    Rect drawn = frame;
    if (!frameless && drawn.y < 0)
    {
        const int faint = std::min(-drawn.y, faintRows(layer, false));
        drawn.y += faint;
        drawn.height -= faint;
    }
    if (!frameless && drawn.y + drawn.height > screen.height)
        drawn.height -= std::min(drawn.y + drawn.height - screen.height, faintRows(layer, true));
    if (!inside(drawn, screen, 0))
        faults.push_back("window off the screen: " + describe(layer));
    for (Component* c : shownUnder(driver, layer))
    {
        if (!inside(c->getRect(), frame, 0))
            faults.push_back("outside its window " + rectText(frame) + ": " + describe(c));
        else if (!inside(c->getRect(), screen, 0))
            faults.push_back("off the screen: " + describe(c));
    }
    return faults;
}

Faults checkTextsFit(Driver& driver, Component* layer)
{
    Faults faults;
    for (Component* c : shownUnder(driver, layer))
    {
        // A text field scrolls and clips its text by design.
        if (dynamic_cast<TextField*>(c) != nullptr)
            continue;
        Text2D* text = textObject(c);
        if (text == nullptr)
            continue;
        // A glyph's box is as high as the font's line, which a widget may
        // be lower than without any ink leaving it: across, the whole box
        // counts; down, its middle.
        const Rect widget = c->getRect();
        for (const GlyphBox& glyph : glyphBoxes(*text))
        {
            const int32_t middle = glyph.box.y + glyph.box.height / 2;
            const bool across = glyph.box.x >= widget.x - kTolerance &&
                                glyph.box.x + glyph.box.width <= widget.x + widget.width + kTolerance;
            if (!across || middle < widget.y || middle >= widget.y + widget.height)
            {
                faults.push_back("text spills out at " + rectText(glyph.box) + ": " + describe(c));
                break;
            }
        }
    }
    return faults;
}

Faults checkLineStarts(Driver& driver, Component* layer)
{
    Faults faults;
    for (Component* c : shownUnder(driver, layer))
    {
        Text2D* text = textObject(c);
        if (text == nullptr || dynamic_cast<TextField*>(c) != nullptr)
            continue;
        // A character lower than the one before it begins a line.
        const std::string& characters = text->getText();
        int32_t lastY = INT_MIN;
        for (int32_t i = 0; i < int32_t(characters.size()); ++i)
        {
            int32_t x = 0;
            int32_t y = 0;
            text->getCharPosition(i, x, y);
            const bool starts = y > lastY;
            lastY = y;
            if (starts && std::string_view("?!:;\xBB").find(characters[i]) != std::string_view::npos)
            {
                faults.push_back("a line starts with \"" + Platform::cp1252ToUtf8(characters.substr(i, 1)) +
                                 "\": " + describe(c));
                break;
            }
        }
    }
    return faults;
}

Faults checkImagesDrawn(Driver& driver, Component* layer, const Frame& frame)
{
    Faults faults;
    std::vector<Component*> candidates = driver.all(layer);
    for (Component* c : candidates)
    {
        auto* image = dynamic_cast<Image*>(c);
        if (image == nullptr || !visibleWithin(image, layer))
            continue;
        if (image->getWidth() <= 0 || image->getHeight() <= 0)
        {
            faults.push_back("image of no size: " + describe(image));
            continue;
        }
        if (frame.empty())
            continue;
        const Rect r = image->getRect();
        bool varied = false;
        uint32_t first = 0;
        bool any = false;
        for (int y = std::max(0, r.y); y < std::min(kFrameHeight, r.y + r.height) && !varied; ++y)
            for (int x = std::max(0, r.x); x < std::min(kFrameWidth, r.x + r.width); ++x)
            {
                uint32_t pixel = frame.at(x, y) & 0xFFFFFF;
                if (!any)
                {
                    first = pixel;
                    any = true;
                }
                else if (pixel != first)
                {
                    varied = true;
                    break;
                }
            }
        if (!varied)
            faults.push_back("image not drawn: " + describe(image));
    }
    return faults;
}

Faults checkContrast(Driver& driver, Component* layer, const Frame& frame)
{
    Faults faults;
    for (Component* c : shownUnder(driver, layer))
    {
        Text2D* text = textObject(c);
        if (text == nullptr || !opaqueEnough(text->getColor()))
            continue;
        // A disabled button may be faint: that is how it says so.
        if (auto* button = dynamic_cast<TextButton*>(c); button != nullptr && !button->isEnabled())
            continue;
        double ratio = textContrast(frame, c);
        if (ratio < kMinimumContrast)
            faults.push_back("text hard to read (contrast " + std::to_string(ratio).substr(0, 4) +
                             ":1): " + describe(c));
    }
    return faults;
}

Faults checkWindow(Driver& driver, Component* layer, bool frameless)
{
    Frame frame = driver.readFrame();
    Faults faults = checkInsideFrame(driver, layer, frameless);
    for (Faults more : {checkTextsFit(driver, layer), checkLineStarts(driver, layer),
                        checkImagesDrawn(driver, layer, frame), checkContrast(driver, layer, frame)})
        faults.insert(faults.end(), more.begin(), more.end());
    return faults;
}

std::string joined(const Faults& faults)
{
    std::string out;
    for (const std::string& fault : faults)
        out += "\n  " + fault;
    return out;
}

std::vector<Component*> boardOverlay(Driver& driver)
{
    std::vector<Component*> found;
    for (Component* c : driver.all(GameScreen::current()))
    {
        const bool wholeScreen =
            c->getWidth() >= kFrameWidth * 9 / 10 && c->getHeight() >= kFrameHeight * 9 / 10;
        if (!wholeScreen && Driver::shown(c) && c->getWidth() > 0 && c->getHeight() > 0 &&
            dynamic_cast<Container*>(c->getParent()) != nullptr)
            found.push_back(c);
    }
    return found;
}

Faults hiddenCells(Driver& driver, const std::vector<Component*>& layersOver)
{
    Faults faults;
    std::vector<Component*> over = boardOverlay(driver);
    for (Component* layer : layersOver)
        if (Driver::shown(layer))
            over.push_back(layer);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
        {
            const std::string cell = "(" + std::to_string(x) + "," + std::to_string(y) + ")";
            // The centre and the corners, a little inside the cell.
            bool reported = false;
            for (auto [u, v] :
                 {std::pair{0.0f, 0.0f}, {-0.8f, -0.8f}, {0.8f, -0.8f}, {-0.8f, 0.8f}, {0.8f, 0.8f}})
            {
                int px = 0;
                int py = 0;
                if (!cellPoint(driver, x, y, u, v, px, py))
                {
                    faults.push_back("cell " + cell + " off the screen");
                    break;
                }
                for (Component* c : over)
                    if (c->containsPoint(px, py))
                    {
                        faults.push_back("cell " + cell + " under " + describe(c));
                        reported = true;
                        break;
                    }
                if (reported)
                    break;
            }
        }
    return faults;
}

} // namespace Play
