#include "Tarnaveli/GameDescription/XmlObjectReader.h"

#include "Framework/Text1252Literal.h"
#include "XmlTestHelpers.h"

#include <gtest/gtest.h>

using GameDescriptionTest::parseXml;

namespace
{

// Reads one integer child named V of the document.
ErrorCode readInteger(const std::string& text, int32_t& value, std::string* message = nullptr)
{
    auto root = parseXml("<R><V>" + text + "</V></R>");
    XmlObjectReader reader(true, root.get());
    ErrorCode code = reader.transferChild("V", [&] { return reader.transferInteger(value); });
    if (message != nullptr)
        *message = reader.getErrorMessage();
    return code;
}

} // namespace

TEST(XmlObjectReader, IntegersReadPlainOrWithTimeUnits)
{
    int32_t value = 0;
    EXPECT_EQ(readInteger("250", value), ERROR_OK);
    EXPECT_EQ(value, 250);
    EXPECT_EQ(readInteger("SECOND(2)", value), ERROR_OK);
    EXPECT_EQ(value, 2000);
    EXPECT_EQ(readInteger("MINUTE(1)", value), ERROR_OK);
    EXPECT_EQ(value, 60000);
    EXPECT_EQ(readInteger("HOUR(2)", value), ERROR_OK);
    EXPECT_EQ(value, 7200000);
    EXPECT_EQ(readInteger("MINUTE(SECOND(3))", value), ERROR_OK);
    EXPECT_EQ(value, 180000000);
    EXPECT_EQ(readInteger("MSECOND(-7)", value), ERROR_OK);
    EXPECT_EQ(value, -7);
}

TEST(XmlObjectReader, BadUnitsAndOverflowFailToConvert)
{
    int32_t value = 5;
    std::string message;
    for (const char* text : {"SECOND(2", "DAY(1)", "HOUR(1000)", "HOUR(HOUR(HOUR(1)))",
                             "SECOND(SECOND(SECOND(SECOND(SECOND(SECOND(SECOND(SECOND(SECOND(0)))))))))"})
    {
        EXPECT_EQ(readInteger(text, value, &message), ERROR_DOM_INTERPRETING) << text;
        EXPECT_EQ(message, "Impossible de convertir");
    }
    EXPECT_EQ(value, 5);
}

TEST(XmlObjectReader, ColoursClampEachPartAndPackAsArgb)
{
    uint32_t argb = 0;
    ASSERT_TRUE(XmlValueText::readColor("Color(300,-5,10,255)", argb));
    EXPECT_EQ(argb, 0xFFFF000Au);
    ASSERT_TRUE(XmlValueText::readColor("Color(1,2,3,4)", argb));
    EXPECT_EQ(argb, 0x04010203u);
    EXPECT_EQ(XmlValueText::writeColor(0x80FF4000u), "Color(255,64,0,128)");
    for (const char* bad : {"color(1,2,3,4)", "Color", "Color 1,2,3,4", "Color(1,2,3)", "Colo", ""})
        EXPECT_FALSE(XmlValueText::readColor(bad, argb)) << bad;
}

TEST(XmlObjectReader, FloatsKeepOneDigitAfterThePoint)
{
    EXPECT_EQ(XmlValueText::writeFloat(2.5f), "2.5");
    EXPECT_EQ(XmlValueText::writeFloat(3.0f), "3.0");
    EXPECT_EQ(XmlValueText::writeFloat(-0.125f), "-0.125");
    EXPECT_EQ(XmlValueText::writeFloat(100.0f), "100.0");
    EXPECT_FALSE(XmlValueText::writeFloat(3.4e38f).empty());
}

TEST(XmlObjectReader, BoolsAndNamedEnumerations)
{
    EXPECT_TRUE(XmlValueText::readBool("true"));
    EXPECT_FALSE(XmlValueText::readBool("false"));
    EXPECT_TRUE(XmlValueText::readBool("1"));
    EXPECT_FALSE(XmlValueText::readBool("2"));
    EXPECT_FALSE(XmlValueText::readBool("TRUE"));
    uint32_t value = 9;
    EXPECT_TRUE(XmlValueText::readCulling("CULLING_CCW", value));
    EXPECT_EQ(value, 2u);
    EXPECT_FALSE(XmlValueText::readCulling("CULLING_BOTH", value));
    EXPECT_TRUE(XmlValueText::readTransparency("TRANSPARENCY_ALPHA_THRESHOLD", value));
    EXPECT_EQ(value, 2u);
    EXPECT_FALSE(XmlValueText::readTransparency("TRANSPARENCY_NONE ", value));
}

TEST(XmlObjectReader, PointsReadFromTextOrFromChildren)
{
    auto root = parseXml("<R><A>1.5, 2, 3</A><B><X>4</X><Y>5.5</Y><Z>-6</Z></B><C>1, 2</C></R>");
    XmlObjectReader reader(true, root.get());
    Platform::Vector3 a, b, c;
    ASSERT_EQ(reader.transferChild("A", [&] { return reader.transferPoint(a); }), ERROR_OK);
    EXPECT_FLOAT_EQ(a.x, 1.5f);
    EXPECT_FLOAT_EQ(a.z, 3.0f);
    ASSERT_EQ(reader.transferChild("B", [&] { return reader.transferPoint(b); }), ERROR_OK);
    EXPECT_FLOAT_EQ(b.y, 5.5f);
    EXPECT_FLOAT_EQ(b.z, -6.0f);
    EXPECT_EQ(reader.transferChild("C", [&] { return reader.transferPoint(c); }), ERROR_DOM_INTERPRETING);
    EXPECT_EQ(reader.getErrorMessage(), "Nombres d'elements de l'expression invalide");
}

TEST(XmlObjectReader, RectsReadFromTextOrFromChildren)
{
    auto root = parseXml("<R><A>40, 671, 320, 64</A><B><X>1</X><Y>2</Y><Tx>SECOND(3)</Tx><Ty>4</Ty></B>"
                         "<C>1, 2, 3</C></R>");
    XmlObjectReader reader(true, root.get());
    XmlRect a, b, c;
    ASSERT_EQ(reader.transferChild("A", [&] { return reader.transferRect(a); }), ERROR_OK);
    EXPECT_EQ(a, (XmlRect{40, 671, 320, 64}));
    ASSERT_EQ(reader.transferChild("B", [&] { return reader.transferRect(b); }), ERROR_OK);
    EXPECT_EQ(b, (XmlRect{1, 2, 3000, 4}));
    EXPECT_EQ(reader.transferChild("C", [&] { return reader.transferRect(c); }), ERROR_DOM_INTERPRETING);
    EXPECT_EQ(reader.getErrorMessage(), "Expression invalide");
}

TEST(XmlObjectReader, AValueNeedsExactlyOneTextChild)
{
    auto root = parseXml("<R><A><B>1</B></A><E></E><T>one\ntwo</T></R>");
    XmlObjectReader reader(true, root.get());
    float value = 0;
    EXPECT_EQ(reader.transferChild("A", [&] { return reader.transferFloat(value); }),
              ERROR_DOM_INTERPRETING_SHOULD_BE_ONE_TEXT);
    EXPECT_EQ(reader.getErrorMessage(), "");
    EXPECT_EQ(reader.getErrorLine(), 1u);
    std::string text;
    EXPECT_EQ(reader.transferChild("E", [&] { return reader.transferString(text); }),
              ERROR_DOM_INTERPRETING_SHOULD_BE_ONE_TEXT);
    EXPECT_EQ(reader.transferChild("T", [&] { return reader.transferString(text); }),
              ERROR_DOM_INTERPRETING_SHOULD_BE_ONE_TEXT);
}

TEST(XmlObjectReader, MissingChildFailsUnlessItHasADefault)
{
    auto root = parseXml("<R>\n  <A>x</A>\n</R>");
    XmlObjectReader reader(true, root.get());
    std::string value = "old";
    EXPECT_EQ(reader.transferChild("B", value, std::string("default"),
                                   [&] { return reader.transferString(value); }),
              ERROR_OK);
    EXPECT_EQ(value, "default");
    EXPECT_EQ(reader.getErrorCode(), ERROR_OK);
    EXPECT_EQ(reader.transferChild("B", [&] { return reader.transferString(value); }),
              ERROR_DOM_INTERPRETING);
    EXPECT_EQ(reader.getErrorMessage(), TEXT_1252("Balise fils nommée <B> non trouvée."));
    // The first failure is the one kept.
    reader.fail(ERROR_DOM_INTERPRETING_SHOULD_BE_ONE_TEXT, "later");
    EXPECT_EQ(reader.getErrorCode(), ERROR_DOM_INTERPRETING);
    EXPECT_EQ(reader.getErrorMessage(), TEXT_1252("Balise fils nommée <B> non trouvée."));
}

namespace
{
struct Item
{
    ErrorCode transfer(XmlObjectReader& reader)
    {
        return reader.transferChild("N", [&] { return reader.transferInteger(mValue); });
    }
    int32_t mValue = 0;
};
} // namespace

TEST(XmlObjectReader, VectorsTakeEveryChildElementWhateverItsName)
{
    auto root = parseXml("<R><I><N>1</N></I><Other><N>2</N></Other></R>");
    XmlObjectReader reader(true, root.get());
    std::vector<std::unique_ptr<Item>> items;
    ASSERT_EQ(reader.transferVector(items, "Item"), ERROR_OK);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1]->mValue, 2);

    auto withText = parseXml("<R><I><N>1</N></I>stray</R>");
    XmlObjectReader textReader(true, withText.get());
    EXPECT_EQ(textReader.transferVector(items, "Item"), ERROR_DOM_INTERPRETING);
    EXPECT_EQ(textReader.getErrorMessage(), "La balise fils du contenu d'un vector doit etre une balise");

    auto three = parseXml("<R><I><N>1</N></I><I><N>1</N></I><I><N>1</N></I></R>");
    XmlObjectReader bounded(true, three.get());
    EXPECT_EQ(bounded.transferVector(items, "Item", 2), ERROR_DOM_INTERPRETING);
    EXPECT_TRUE(items.empty());
}

TEST(XmlObjectReader, WrittenValuesReadBackTheSame)
{
    XmlElement root("R", 0, 0);
    std::vector<std::unique_ptr<Item>> items;
    items.push_back(std::make_unique<Item>());
    items.back()->mValue = -12;
    Platform::Vector3 point{1.25f, -2.0f, 3.0f};
    XmlRect rect{1, 2, 3, 4};
    uint32_t color = 0x80112233, culling = 1, mode = 2;
    bool flag = true;
    uint8_t byte = 200;
    {
        XmlObjectReader writer(false, &root);
        ASSERT_EQ(writer.transferChild("Items", [&] { return writer.transferVector(items, "Item"); }),
                  ERROR_OK);
        ASSERT_EQ(writer.transferChild("P", [&] { return writer.transferPoint(point); }), ERROR_OK);
        ASSERT_EQ(writer.transferChild("Q", [&] { return writer.transferRect(rect); }), ERROR_OK);
        ASSERT_EQ(writer.transferChild("C", [&] { return writer.transferColor(color); }), ERROR_OK);
        ASSERT_EQ(writer.transferChild("U", [&] { return writer.transferCulling(culling); }), ERROR_OK);
        ASSERT_EQ(writer.transferChild("M", [&] { return writer.transferTransparency(mode); }), ERROR_OK);
        ASSERT_EQ(writer.transferChild("F", [&] { return writer.transferBool(flag); }), ERROR_OK);
        ASSERT_EQ(writer.transferChild("B", [&] { return writer.transferByte(byte); }), ERROR_OK);
        Texture* none = nullptr;
        EXPECT_EQ(writer.transferChild("T", [&] { return writer.transferTexture(none); }), ERROR_INVALID);
    }
    EXPECT_EQ(root.findChild("Items")->findChild("Item")->name(), "Item");
    EXPECT_EQ(static_cast<XmlText*>(root.findChild("P")->child(0))->text(), "1.25, -2.0, 3.0");

    std::vector<std::unique_ptr<Item>> itemsBack;
    Platform::Vector3 pointBack;
    XmlRect rectBack;
    uint32_t colorBack = 0, cullingBack = 0, modeBack = 0;
    bool flagBack = false;
    uint8_t byteBack = 0;
    XmlObjectReader reader(true, &root);
    ASSERT_EQ(reader.transferChild("Items", [&] { return reader.transferVector(itemsBack, "Item"); }),
              ERROR_OK);
    ASSERT_EQ(reader.transferChild("P", [&] { return reader.transferPoint(pointBack); }), ERROR_OK);
    ASSERT_EQ(reader.transferChild("Q", [&] { return reader.transferRect(rectBack); }), ERROR_OK);
    ASSERT_EQ(reader.transferChild("C", [&] { return reader.transferColor(colorBack); }), ERROR_OK);
    ASSERT_EQ(reader.transferChild("U", [&] { return reader.transferCulling(cullingBack); }), ERROR_OK);
    ASSERT_EQ(reader.transferChild("M", [&] { return reader.transferTransparency(modeBack); }), ERROR_OK);
    ASSERT_EQ(reader.transferChild("F", [&] { return reader.transferBool(flagBack); }), ERROR_OK);
    ASSERT_EQ(reader.transferChild("B", [&] { return reader.transferByte(byteBack); }), ERROR_OK);
    ASSERT_EQ(itemsBack.size(), 1u);
    EXPECT_EQ(itemsBack[0]->mValue, -12);
    EXPECT_FLOAT_EQ(pointBack.x, 1.25f);
    EXPECT_EQ(rectBack, rect);
    EXPECT_EQ(colorBack, color);
    EXPECT_EQ(cullingBack, culling);
    EXPECT_EQ(modeBack, mode);
    EXPECT_TRUE(flagBack);
    EXPECT_EQ(byteBack, 200);
}
