#include "DrawingTestSupport.h"

#include "Gui/ProgressionBar.h"

namespace
{

class MarginLook final : public Look
{
public:
    MarginLook() : Look(0, 0, nullptr, nullptr) {}
    uint32_t getKind() override { return LOOK_KIND_CONTAINER; }
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override
    {
        return std::make_unique<EmptyRenderer>(this, widget);
    }
    Margins getMargins() override { return {4, 2, 4, 2}; }
};

struct BarFixture
{
    BarFixture()
        : engine(useDrawingEngine(app)), left(makeTexture(10, 20)), middle(makeTexture(4, 20)),
          right(makeTexture(10, 20))
    {
        app.looks().setLook(20, std::make_unique<MarginLook>());
        auto barLook = std::make_unique<ProgressionBarLook>(137, 138, 139, 20);
        look = barLook.get();
        app.looks().setLook(30, std::move(barLook));
        ProgressionBarLook::setTextureResolver(
            [this](uint32_t id) -> Texture* {
                return id == 137 ? left.get() : id == 138 ? middle.get() : id == 139 ? right.get() : nullptr;
            });
    }
    ~BarFixture() { ProgressionBarLook::setTextureResolver(nullptr); }

    GuiTestApplication app;
    DrawnProbeEngine2D& engine;
    std::unique_ptr<FakeResource> left, middle, right;
    ProgressionBarLook* look;
};

} // namespace

TEST(ProgressionBar, EndsKeepTheirAspectAndTheMiddleFillsTheRest)
{
    BarFixture f;
    ProgressionBar bar(100, 50, 200, 20, 30);
    EXPECT_EQ(bar.getMarginLeft(), 4) << "the frame look's margins";
    for (uint32_t piece = 0; piece < 3; ++piece)
        EXPECT_EQ(bar.getPieceRect(piece).width, 0) << "nothing filled at 0";
    EXPECT_TRUE(bar.getPieceImage(0)->isCulled());

    bar.setFraction(1.0f);
    EXPECT_EQ(bar.getPieceRect(0), (Rect{104, 52, 8, 16}));
    EXPECT_EQ(bar.getPieceRect(1), (Rect{112, 52, 176, 16}));
    EXPECT_EQ(bar.getPieceRect(2), (Rect{288, 52, 8, 16})) << "ends at the inner right edge";
    EXPECT_EQ(bar.getPieceImage(2)->getTexture(), f.right.get());
    EXPECT_FALSE(bar.getPieceImage(1)->isCulled());
    EXPECT_EQ(bar.getPieceImage(1)->getWidth(), 176.0f);

    bar.setFraction(0.05f);
    EXPECT_EQ(bar.getPieceRect(0), (Rect{104, 52, 4, 16})) << "9 pixels: two halves of 4, no middle";
    EXPECT_EQ(bar.getPieceRect(1).width, 0);
    EXPECT_EQ(bar.getPieceRect(2), (Rect{108, 52, 4, 16}));

    bar.setFraction(3.0f);
    EXPECT_EQ(bar.getPieceRect(2).x + bar.getPieceRect(2).width, 296) << "never past the frame";
}

TEST(ProgressionBar, BarNarrowerThanItsEndsShowsTwoHalfEnds)
{
    BarFixture f;
    ProgressionBar bar(0, 0, 20, 20, 30);
    bar.setFraction(1.0f);
    EXPECT_EQ(bar.getPieceRect(0).width, 6);
    EXPECT_EQ(bar.getPieceRect(1).width, 0);
    EXPECT_EQ(bar.getPieceRect(2), (Rect{10, 2, 6, 16}));
}

TEST(ProgressionBar, PressInsideReportsTheFractionUnderTheCursor)
{
    BarFixture f;
    ProgressionBar bar(100, 50, 200, 20, 30);
    std::vector<float> clicks;
    EXPECT_EQ(bar.onMouseEvent(f.app.mouse(MOUSE_EVENT_BUTTON_DOWN, 152, 60)), 0u);
    EXPECT_EQ(bar.getFraction(), 0.0f) << "no callback: a press does nothing";
    bar.getClickCallback().mFunction = [&clicks, &bar](Component* sender, uint32_t)
    {
        EXPECT_EQ(sender, &bar);
        clicks.push_back(bar.getFraction());
    };
    EXPECT_EQ(bar.onMouseEvent(f.app.mouse(MOUSE_EVENT_BUTTON_DOWN, 152, 60)), 0u) << "reported unhandled";
    EXPECT_EQ(clicks, (std::vector<float>{0.25f}));
    bar.onMouseEvent(f.app.mouse(MOUSE_EVENT_BUTTON_DOWN, 101, 60));
    bar.onMouseEvent(f.app.mouse(MOUSE_EVENT_BUTTON_DOWN, 152, 51));
    bar.onMouseEvent(f.app.mouse(MOUSE_EVENT_BUTTON_DOWN, 152, 60, MOUSE_BUTTON_RIGHT));
    bar.onMouseEvent(f.app.mouse(MOUSE_EVENT_BUTTON_UP, 152, 60));
    EXPECT_EQ(clicks.size(), 1u) << "margins, right button and releases are not clicks";
}

TEST(ProgressionBar, ColourRampTintsThePiecesByTheFraction)
{
    BarFixture f;
    f.look->getColorRamp().setColor(0, 0xFFFF0000);
    f.look->getColorRamp().setColor(1, 0xFF0000FF);
    ProgressionBar bar(100, 50, 200, 20, 30);
    EXPECT_EQ(bar.getPieceColor(), 0xFFFF0000u);
    bar.setFraction(1.0f);
    EXPECT_EQ(bar.getPieceColor(), 0xFF0000FFu);
    EXPECT_EQ(bar.getPieceImage(0)->getColor(), 0xFF0000FFu);
    bar.setColor(0xFF00FF00);
    EXPECT_EQ(bar.getPieceImage(1)->getColor(), 0xFF00FF00u);
}
