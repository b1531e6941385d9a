// The light editor windows: the list follows switching, adding and removing
// lights, and the editor changes the scene light only on OK.
#include "../Gui/GuiTestSupport.h"
#include "Engine/Light.h"
#include "Framework/Text1252Literal.h"
#include "Gui/ComboBox.h"
#include "Gui/ContainerLift.h"
#include "Gui/Label.h"
#include "Gui/TextField.h"
#include "Tarnaveli/WindowLightList.h"

namespace
{
class FakeLight final : public Light
{
public:
    ErrorCode setType(uint32_t value) override { return set(kind, value); }
    uint32_t getType() const override { return kind; }
    ErrorCode setPosition(const Platform::Vector3& value) override { return set(position, value); }
    void getPosition(Platform::Vector3* value) const override { *value = position; }
    ErrorCode setDirection(const Platform::Vector3& value) override { return set(direction, value); }
    void getDirection(Platform::Vector3* value) const override { *value = direction; }
    ErrorCode enable() override { return set(enabled, true); }
    ErrorCode disable() override { return set(enabled, false); }
    bool isEnabled() const override { return enabled; }
    ErrorCode setRange(float value) override { return set(range, value); }
    float getRange() const override { return range; }
    float getMaxRange() const override { return 1e30f; }
    ErrorCode setAttenuation(float a0, float a1, float a2) override
    {
        attenuation[0] = a0;
        attenuation[1] = a1;
        attenuation[2] = a2;
        return 0;
    }
    void getAttenuation(float* a0, float* a1, float* a2) const override
    {
        *a0 = attenuation[0];
        *a1 = attenuation[1];
        *a2 = attenuation[2];
    }
    ErrorCode setAmbient(uint32_t value) override { return set(ambient, value); }
    void getAmbient(uint32_t* value) const override { *value = ambient; }
    ErrorCode setDiffuse(uint32_t value) override { return set(diffuse, value); }
    void getDiffuse(uint32_t* value) const override { *value = diffuse; }
    ErrorCode setSpecular(uint32_t value) override { return set(specular, value); }
    void getSpecular(uint32_t* value) const override { *value = specular; }
    ErrorCode setFalloff(float value) override { return set(falloff, value); }
    float getFalloff() const override { return falloff; }
    ErrorCode setTheta(float value) override { return set(theta, value); }
    float getTheta() const override { return theta; }
    ErrorCode setPhi(float value) override { return set(phi, value); }
    float getPhi() const override { return phi; }
    ErrorCode onLostDevice() override { return 0; }
    ErrorCode onResetDevice() override { return 0; }

    template <class T> ErrorCode set(T& field, const T& value)
    {
        field = value;
        return 0;
    }

    uint32_t kind = POINT;
    Platform::Vector3 position{1, 2, 3};
    Platform::Vector3 direction{0, -1, 0};
    bool enabled = true;
    float range = 100.0f;
    float attenuation[3] = {1, 0, 0};
    uint32_t ambient = 0xFF102030;
    uint32_t diffuse = 0xFFFFFFFF;
    uint32_t specular = 0x80000000;
    float falloff = 1.0f;
    float theta = 0.5f;
    float phi = 1.0f;
};

struct LightFixture
{
    GuiTestApplication app;
    std::vector<std::unique_ptr<Light>> lights;

    LightFixture()
    {
        lights.push_back(std::make_unique<FakeLight>());
        lights.push_back(std::make_unique<FakeLight>());
        lights[1]->disable();
    }
    static std::unique_ptr<Light> make() { return std::make_unique<FakeLight>(); }
    FakeLight& light(size_t i) { return static_cast<FakeLight&>(*lights[i]); }
    static std::string row(WindowLightList* window, uint32_t i)
    {
        return static_cast<Label*>(window->getList()->getRow(i))->getTextObject()->getText();
    }
};
} // namespace

TEST(WindowLightList, RowsFollowSwitchingAddingAndRemoving)
{
    LightFixture f;
    auto* window = openNow(f.app, new WindowLightList(f.lights, &LightFixture::make));
    ASSERT_EQ(window->getList()->getRowCount(), 2u);
    EXPECT_EQ(LightFixture::row(window, 0), TEXT_1252("Lumière 0 - On"));
    EXPECT_EQ(LightFixture::row(window, 1), TEXT_1252("Lumière 1 - Off"));

    window->toggleSelected();
    EXPECT_FALSE(f.light(1).enabled) << "nothing selected, nothing switched";
    window->getList()->select(1);
    window->toggleSelected();
    f.app.gui().processDeferred();
    EXPECT_TRUE(f.light(1).enabled);
    EXPECT_EQ(LightFixture::row(window, 1), TEXT_1252("Lumière 1 - On"));

    window->addLight();
    f.app.gui().processDeferred();
    ASSERT_EQ(f.lights.size(), 3u);
    EXPECT_EQ(window->getList()->getRowCount(), 3u);

    window->getList()->select(0);
    window->removeSelected();
    f.app.gui().processDeferred();
    ASSERT_EQ(f.lights.size(), 2u);
    EXPECT_EQ(window->getList()->getRowCount(), 2u);
    EXPECT_EQ(LightFixture::row(window, 0), TEXT_1252("Lumière 0 - On"));
    EXPECT_EQ(window->getList()->getSelectedIndex(), -1);
}

TEST(WindowLightList, EditorShowsTheLightAndOkAppliesTheEditKeepingItsSwitch)
{
    LightFixture f;
    auto* window = openNow(f.app, new WindowLightList(f.lights, &LightFixture::make));
    window->getList()->select(0);
    WindowLightEdit* editor = window->editSelected();
    ASSERT_NE(editor, nullptr);
    f.app.gui().processDeferred();
    EXPECT_FALSE(editor->getCopy()->isEnabled());
    EXPECT_EQ(editor->getRow(0)->getField(0)->getText(), "16");
    EXPECT_EQ(editor->getRow(0)->getField(3)->getText(), "255");
    EXPECT_EQ(editor->getRow(3)->getField(2)->getText(), "3.000000");

    editor->getRow(3)->getField(0)->setText("-7.5");
    editor->getRow(1)->getField(0)->setText("300");
    editor->getRow(7)->getField(0)->setText("1e40");
    editor->getRow(6)->getField(0)->setText("abc");
    editor->getTypeCombo()->setSelectedIndex(1);
    EXPECT_EQ(f.light(0).position.x, 1.0f) << "nothing changes before OK";
    editor->onResult(1);
    f.app.gui().processDeferred();
    EXPECT_EQ(window->getEditor(), nullptr);
    EXPECT_EQ(f.light(0).position.x, -7.5f);
    EXPECT_EQ(f.light(0).kind, uint32_t{Light::SPOT});
    EXPECT_EQ(f.light(0).diffuse, 0xFFFFFFFFu) << "a byte field keeps to 255";
    EXPECT_EQ(f.light(0).falloff, 1e30f);
    EXPECT_EQ(f.light(0).range, 100.0f) << "a field that is no number keeps the value";
    EXPECT_TRUE(f.light(0).enabled);
    EXPECT_EQ(LightFixture::row(window, 0), TEXT_1252("Lumière 0 - On"));
}

TEST(WindowLightList, CancelLeavesTheLightAndRemovingItClosesItsEditor)
{
    LightFixture f;
    auto* window = openNow(f.app, new WindowLightList(f.lights, &LightFixture::make));
    window->getList()->select(1);
    WindowLightEdit* editor = window->editSelected();
    f.app.gui().processDeferred();
    editor->getRow(3)->getField(0)->setText("42");
    editor->onResult(8);
    f.app.gui().processDeferred();
    EXPECT_EQ(f.light(1).position.x, 1.0f);
    EXPECT_FALSE(f.light(1).enabled);

    window->getList()->select(1);
    window->editSelected();
    f.app.gui().processDeferred();
    window->removeSelected();
    f.app.gui().processDeferred();
    EXPECT_EQ(window->getEditor(), nullptr);
    EXPECT_EQ(f.app.root().getChildren().size(), 1u) << "only the list is left";
}
