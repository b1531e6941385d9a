#include "GuiTestSupport.h"

#include "Gui/Infotip.h"
#include "Platform/System/Clock.h"

namespace
{

struct TipFixture
{
    TipFixture() { resetTimeBase(); }
    Platform::ManualClock clock;
    GuiTestApplication app;
    Infotip tip;

    InfotipRequest request(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t placement,
                           const std::string& text = "Bonjour")
    {
        InfotipRequest r;
        r.x = x;
        r.y = y;
        r.width = width;
        r.height = height;
        r.delay = 500;
        r.text = text;
        r.placement = placement;
        return r;
    }
    void frameAfter(int64_t ms)
    {
        clock.advanceMs(ms);
        tip.animate();
    }
    FakeText& text() { return static_cast<FakeText&>(*tip.getTextObject()); }
};

} // namespace

TEST(Infotip, ShowsAfterTheDelayAndFadesInOver250Ms)
{
    TipFixture f;
    f.tip.setRequest(f.request(100, 300, 50, 20, INFOTIP_ABOVE));
    EXPECT_EQ(f.tip.getWidth(), 49) << "as wide as the text";
    EXPECT_EQ(f.tip.getHeight(), 11);
    EXPECT_EQ(f.tip.getColor(), 0x00FFFFFFu) << "transparent until shown";
    f.frameAfter(499);
    EXPECT_FALSE(f.tip.isShown());
    EXPECT_EQ(f.tip.render(), 0);
    EXPECT_EQ(f.text().renders, 0) << "nothing is drawn while waiting";
    f.frameAfter(1);
    ASSERT_TRUE(f.tip.isShown());
    EXPECT_EQ(f.tip.getX(), 100);
    EXPECT_EQ(f.tip.getY(), 289);
    EXPECT_EQ(f.text().x, 100);
    EXPECT_EQ(f.text().y, 289);
    EXPECT_EQ(f.tip.getAlpha(), 0u);
    f.frameAfter(125);
    EXPECT_EQ(f.tip.getAlpha(), 127u);
    EXPECT_EQ(f.tip.getColor(), 0x7FFFFFFFu);
    EXPECT_EQ(f.text().color, 0x7F000000u);
    f.frameAfter(125);
    EXPECT_EQ(f.tip.getAlpha(), 255u);
    f.frameAfter(1000);
    EXPECT_EQ(f.tip.getColor(), 0xFFFFFFFFu);
    f.tip.render();
    EXPECT_EQ(f.text().renders, 1);

    f.tip.setRequest(f.request(100, 300, 50, 20, INFOTIP_ABOVE, "Autre"));
    EXPECT_FALSE(f.tip.isShown()) << "a new request waits again";
    EXPECT_EQ(f.tip.getAlpha(), 0u);
}

TEST(Infotip, EmptyRequestNeverShows)
{
    TipFixture f;
    f.tip.setRequest(f.request(100, 300, 50, 20, INFOTIP_ABOVE, ""));
    f.frameAfter(5000);
    EXPECT_FALSE(f.tip.isShown());
}

TEST(Infotip, PlacementCodesAndFallBacks)
{
    TipFixture f;
    int32_t x = 0;
    int32_t y = 0;
    f.tip.setRequest(f.request(100, 0, 50, 20, INFOTIP_ABOVE));
    f.tip.place(60, 30, x, y);
    EXPECT_EQ(x, 95);
    EXPECT_EQ(y, 20) << "at the top edge the tip goes below";

    f.tip.setRequest(f.request(100, 300, 50, 20, INFOTIP_RIGHT));
    f.tip.place(60, 30, x, y);
    EXPECT_EQ(x, 150);
    EXPECT_EQ(y, 295);
    f.tip.setRequest(f.request(10, 300, 50, 20, INFOTIP_LEFT));
    f.tip.place(60, 30, x, y);
    EXPECT_EQ(x, 5) << "no room on the left: above, centred";
    EXPECT_EQ(y, 270);
    f.tip.setRequest(f.request(100, 300, 50, 20, INFOTIP_BELOW_LEFT));
    f.tip.place(60, 30, x, y);
    EXPECT_EQ(x, 40);
    EXPECT_EQ(y, 320);
    f.tip.setRequest(f.request(100, 300, 50, 20, 12));
    f.tip.place(60, 30, x, y);
    EXPECT_EQ(y, 270) << "an unknown code takes the first fall-back that fits";

    f.app.cursor().mMouseX = 300;
    f.app.cursor().mMouseY = 400;
    f.tip.setRequest(f.request(100, 300, 50, 20, INFOTIP_AT_CURSOR));
    f.tip.place(60, 30, x, y);
    EXPECT_EQ(x, 300);
    EXPECT_EQ(y, 370) << "bottom-left corner at the cursor";

    f.tip.setRequest(f.request(100, 300, 50, 20, INFOTIP_ABOVE));
    f.tip.place(2000, 30, x, y);
    EXPECT_EQ(x, 150);
    EXPECT_EQ(y, 320) << "fits nowhere: below right of the target";
}

TEST(Infotip, ExtraWidgetStandsUnderTheTextAndIsGivenBack)
{
    TipFixture f;
    Log log;
    auto* extra = new Probe(log, "extra", 0, 0, 80, 20);
    InfotipRequest r = f.request(300, 300, 50, 20, INFOTIP_BELOW, "ab");
    r.component = extra;
    f.tip.setRequest(r);
    EXPECT_EQ(f.tip.getWidth(), 80);
    EXPECT_EQ(f.tip.getHeight(), 31);
    EXPECT_EQ(extra->getParent(), nullptr) << "added through the queue";
    f.app.gui().processDeferred();
    EXPECT_EQ(extra->getParent(), &f.tip);
    f.frameAfter(500);
    EXPECT_EQ(f.tip.getX(), 285);
    EXPECT_EQ(f.tip.getY(), 320);
    EXPECT_EQ(extra->getX(), 285);
    EXPECT_EQ(extra->getY(), 331);

    f.tip.setRequest(f.request(0, 0, 10, 10, INFOTIP_BELOW));
    f.app.gui().processDeferred();
    EXPECT_EQ(extra->getParent(), nullptr) << "removed, not deleted";
    delete extra;
}

TEST(Infotip, ExtraWidgetDeletedWhileShownLeavesTheTip)
{
    Platform::ManualClock clock;
    resetTimeBase();
    Infotip::install();
    {
        Log log;
        GuiTestApplication app;
        auto* tip = dynamic_cast<Infotip*>(app.gui().getInfotip());
        ASSERT_NE(tip, nullptr);
        auto* extra = new Probe(log, "extra", 0, 0, 80, 20);
        InfotipRequest r;
        r.text = "ab";
        r.delay = 500;
        r.component = extra;
        tip->setRequest(r);
        app.gui().processDeferred();
        ASSERT_EQ(extra->getParent(), tip);
        delete extra;
        EXPECT_TRUE(tip->getChildren().empty());
        EXPECT_EQ(tip->getRequest().component, nullptr);
        clock.advanceMs(500);
        app.gui().animate();
        EXPECT_EQ(tip->render(), 0);
    }
    GuiManager::setInfotipCreator(nullptr);
}

TEST(Infotip, InstalledTipShowsWhatTheHoveredWidgetAsks)
{
    Platform::ManualClock clock;
    resetTimeBase();
    Infotip::install();
    {
        Log log;
        GuiTestApplication app;
        auto* tip = dynamic_cast<Infotip*>(app.gui().getInfotip());
        ASSERT_NE(tip, nullptr);
        auto* layer = openNow(app, new TestLayer(log, "layer", 0, 0, 1024, 768));
        auto* probe = new Probe(log, "probe", 400, 400, 40, 40);
        probe->infotip = "Aide";
        layer->addChild(probe);
        app.moveMouse(410, 410);
        EXPECT_EQ(tip->getRequest().text, "Aide");
        clock.advanceMs(500);
        app.gui().animate();
        EXPECT_TRUE(tip->isShown());
        EXPECT_EQ(tip->getY(), 400 - 11);
    }
    GuiManager::setInfotipCreator(nullptr);
}
