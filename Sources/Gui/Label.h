#pragma once
// The one-line text widget: a text object made by a font, placed at the top,
// middle or bottom of the label.
#include "Gui/Component.h"
#include "Gui/Text.h"

#include <memory>
#include <string>

struct LabelStyle
{
    int32_t fontIndex = 0;
    uint32_t color = 0xFF000000;
    uint32_t flags = 0;
};

enum LabelAlignment : int32_t
{
    LABEL_ALIGN_TOP = 0,
    LABEL_ALIGN_CENTER = 1,
    LABEL_ALIGN_BOTTOM = 2
};

class Label : public Component
{
public:
    // A null font is font 0 of the application's font table.
    Label(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& text, uint32_t color,
          uint32_t flags, Font* font = nullptr);
    Label(const Rect& rect, const std::string& text, uint32_t color, uint32_t flags, Font* font = nullptr);
    Label(const Rect& rect, const std::string& text, const LabelStyle& style);
    ~Label() override;

    ErrorCode render() override;
    void updateLayout() override;
    void setRenderList(RenderList* list) override;
    void setColor(uint32_t argb) override;
    std::string getInfotipText() override { return mInfotipText; }
    Component* getInfotipComponent() override { return mInfotipComponent.get(); }

    void setText(const std::string& text);
    void setAlignment(int32_t alignment);
    int32_t getAlignment() const { return mAlignment; }
    // Takes ownership of the component (one just made with new, for the
    // plain pointer); the previous one is deleted.
    void setInfotip(const std::string& text, Component* component);
    void setInfotip(const std::string& text, std::unique_ptr<Component> component)
    {
        setInfotip(text, component.release());
    }
    // Null when no font could make one.
    Text2D* getTextObject() const { return mTextObject.get(); }
    int32_t getTextHeight() const { return mTextObject ? mTextObject->getHeight() : 0; }
    // The drawn line height of the text; 0 is the font's own.
    void setTextSize(int32_t size);

private:
    void makeText(const std::string& text, uint32_t color, uint32_t flags, Font* font);
    void applyAlignment();
    void dropInfotipComponent();

    std::unique_ptr<Text2D> mTextObject;
    std::string mInfotipText;
    // Lent to the infotip while it shows there.
    std::unique_ptr<Component> mInfotipComponent;
    int32_t mAlignment = LABEL_ALIGN_TOP;
};
