#include "Framework/BinaryStream.h"
#include "Framework/SafeStreamWriter.h"
#include "Framework/XmlReader.h"

#include <gtest/gtest.h>

namespace
{
struct Parsed
{
    ErrorCode code;
    std::unique_ptr<XmlElement> root;
    XmlReader reader;
};

std::unique_ptr<Parsed> parse(const std::string& text)
{
    auto result = std::make_unique<Parsed>();
    MemoryInputStream stream(text.data(), static_cast<uint32_t>(text.size()));
    result->code = result->reader.read(stream, result->root);
    return result;
}

const XmlText* textAt(const XmlElement& element, size_t index)
{
    return element.child(index)->isText() ? static_cast<const XmlText*>(element.child(index)) : nullptr;
}
} // namespace

TEST(XmlReader, BuildsElementsAndTextsWithTheirPositions)
{
    auto doc = parse(
        "<Jeu>\r\n  <Nom>Velmorique</Nom>\n  <Vide></Vide>\n  <Texte>ligne un\n\tligne deux\n  </Texte>\n"
        "</Jeu>\r\n");
    ASSERT_EQ(doc->code, ERROR_OK) << doc->reader.errorMessage();
    ASSERT_NE(doc->root, nullptr);
    EXPECT_EQ(doc->root->name(), "Jeu");
    EXPECT_EQ(doc->root->line(), 1u);
    EXPECT_EQ(doc->root->column(), 1u);
    ASSERT_EQ(doc->root->childCount(), 3u);

    XmlElement* name = doc->root->findChild("Nom");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->line(), 2u);
    EXPECT_EQ(name->column(), 3u);
    ASSERT_EQ(name->childCount(), 1u);
    EXPECT_EQ(textAt(*name, 0)->text(), "Velmorique");
    EXPECT_EQ(textAt(*name, 0)->column(), 8u);

    EXPECT_EQ(doc->root->findChild("Vide")->childCount(), 0u);
    EXPECT_EQ(doc->root->findChild("vide"), nullptr);

    XmlElement* text = doc->root->findChild("Texte");
    ASSERT_EQ(text->childCount(), 2u);
    EXPECT_EQ(textAt(*text, 0)->text(), "ligne un");
    EXPECT_EQ(textAt(*text, 1)->text(), "ligne deux");
    EXPECT_EQ(textAt(*text, 1)->line(), 5u);
}

TEST(XmlReader, AcceptsTheEndRightAfterTheRootAndKeepsTheFirstByte)
{
    for (const char* text : {"<a>x</a>", "<a>x</a>\n", "<a>x</a>\r\n", "<a>x</a>  tout ce qui suit"})
    {
        auto doc = parse(text);
        ASSERT_EQ(doc->code, ERROR_OK) << text;
        EXPECT_EQ(doc->root->name(), "a");
        EXPECT_EQ(textAt(*doc->root, 0)->text(), "x");
    }
    auto leading = parse("\n\n  <b></b>");
    ASSERT_EQ(leading->code, ERROR_OK);
    EXPECT_EQ(leading->root->line(), 3u);
    EXPECT_EQ(leading->root->column(), 3u);
}

TEST(XmlReader, InputEndingInsideTheRootFails)
{
    for (const char* text :
         {"", "  \n", "<", "<a", "<a>", "<a>texte", "<a><b></b>", "<a></", "<a></a", "<a>\n</a"})
    {
        auto doc = parse(text);
        EXPECT_NE(doc->code, ERROR_OK) << text;
        EXPECT_NE(doc->code, ERROR_XML_PARSING_ROOT_MUST_BE_BALISE) << text;
        EXPECT_EQ(doc->root, nullptr);
        EXPECT_EQ(doc->reader.errorMessage(), "Erreur de lecture.") << text;
    }
}

TEST(XmlReader, SyntaxErrorsCarryTheirTextAndPosition)
{
    auto root = parse("\n  texte <a></a>");
    EXPECT_EQ(root->code, ERROR_XML_PARSING_ROOT_MUST_BE_BALISE);
    EXPECT_EQ(root->reader.errorLine(), 2u);
    EXPECT_EQ(root->reader.errorColumn(), 3u);

    struct Case
    {
        const char* text;
        const char* message;
        uint32_t line, column;
    };
    const Case cases[] = {
        {"<a>\n  <b c=\"1\"></b></a>", "attributs non support\xE9s", 2, 5},
        {"<a\tb></a>", "attributs non support\xE9s", 1, 3},
        {"<a<b></a>", "Balise ouvrant non attendue", 1, 3},
        {"<a\n></a>", "Retours lignes non support\xE9s dans les balises", 1, 3},
        {"<a></ab>", "'>' attendu", 1, 7},
    };
    for (const Case& c : cases)
    {
        auto doc = parse(c.text);
        EXPECT_EQ(doc->code, ERROR_XML_PARSING_INVALID_CARACTER) << c.text;
        EXPECT_EQ(doc->reader.errorMessage(), c.message) << c.text;
        EXPECT_EQ(doc->reader.errorLine(), c.line) << c.text;
        EXPECT_EQ(doc->reader.errorColumn(), c.column) << c.text;
        EXPECT_EQ(doc->root, nullptr);
    }

    // A closing tag with another name, or a self-closing tag (whose '/' is
    // taken into the name, so that its closing tag never matches).
    for (const char* text : {"<a></b>", "<a/></a>", "<a><b/></a>"})
    {
        auto doc = parse(text);
        EXPECT_EQ(doc->code, ERROR_XML_PARSING_INVALID_CARACTER) << text;
        EXPECT_EQ(doc->reader.errorMessage(), "Erreur de lecture.") << text;
    }
}

TEST(XmlReader, AngleBracketInsideATextStartsAnotherText)
{
    auto doc = parse("<a>1 > 2</a>");
    ASSERT_EQ(doc->code, ERROR_OK);
    ASSERT_EQ(doc->root->childCount(), 2u);
    EXPECT_EQ(textAt(*doc->root, 0)->text(), "1 ");
    EXPECT_EQ(textAt(*doc->root, 1)->text(), "> 2");
}

TEST(XmlReader, NestingIsCapped)
{
    auto nested = [](uint32_t depth)
    {
        std::string text;
        for (uint32_t i = 0; i < depth; ++i)
            text += "<e>";
        for (uint32_t i = 0; i < depth; ++i)
            text += "</e>";
        return text;
    };
    EXPECT_EQ(parse(nested(XmlReader::kMaxDepth))->code, ERROR_OK);
    auto deep = parse(nested(100000));
    EXPECT_EQ(deep->code, ERROR_XML_PARSING_INVALID_CARACTER);
    EXPECT_EQ(deep->root, nullptr);
}

TEST(XmlReader, SetErrorUsesTheNodesPosition)
{
    auto doc = parse("<a>\n  <b>x</b></a>");
    ASSERT_EQ(doc->code, ERROR_OK);
    XmlReader& reader = doc->reader;
    EXPECT_EQ(reader.setError(ERROR_DOM_INTERPRETING, "Balise inconnue", doc->root->findChild("b")),
              ERROR_DOM_INTERPRETING);
    EXPECT_EQ(reader.errorLine(), 2u);
    EXPECT_EQ(reader.errorColumn(), 3u);
    EXPECT_EQ(reader.errorMessage(), "Balise inconnue");
}

namespace
{
std::string written(const XmlElement& root)
{
    ByteVectorOutputStream out;
    XmlReader writer;
    EXPECT_EQ(writer.write(out, root), ERROR_OK);
    return std::string(out.bytes().begin(), out.bytes().end());
}

// The same names and texts in the same order, positions aside.
void expectSameTree(const XmlNode& a, const XmlNode& b)
{
    ASSERT_EQ(a.isElement(), b.isElement());
    if (a.isText())
    {
        EXPECT_EQ(static_cast<const XmlText&>(a).text(), static_cast<const XmlText&>(b).text());
        return;
    }
    const auto& left = static_cast<const XmlElement&>(a);
    const auto& right = static_cast<const XmlElement&>(b);
    EXPECT_EQ(left.name(), right.name());
    ASSERT_EQ(left.childCount(), right.childCount()) << left.name();
    for (size_t i = 0; i < left.childCount(); ++i)
        expectSameTree(*left.child(i), *right.child(i));
}
} // namespace

TEST(XmlWriter, ASmallTreeIsWrittenIndentedWithTheTrailer)
{
    XmlElement root("Jeu", 1, 1);
    auto name = std::make_unique<XmlElement>("Nom", 0, 0);
    name->addChild(std::make_unique<XmlText>("Velmorique", 0, 0));
    root.addChild(std::move(name));
    root.addChild(std::make_unique<XmlElement>("Vide", 0, 0));
    const std::string bytes = written(root);
    EXPECT_EQ(bytes, "<Jeu>\r\n"
                     "  <Nom>\r\n"
                     "    Velmorique\r\n"
                     "  </Nom>\r\n"
                     "  <Vide>\r\n"
                     "  </Vide>\r\n"
                     "</Jeu>\r\n"
                     "Velmorique.");
    EXPECT_EQ(bytes.size() - bytes.rfind("</Jeu>\r\n") - 8, XmlReader::kTrailerSize);
}

TEST(XmlWriter, AWrittenTreeReadsBackAsTheSameTree)
{
    auto doc = parse("<GameDescription><PionSets><PionSet><Name>Zoo des bois</Name><Scale>1.5</Scale>"
                     "<Empty></Empty></PionSet><PionSet><Name>Classique</Name></PionSet></PionSets>"
                     "<Texte>un\n\tdeux</Texte></GameDescription>\r\n\r\nfin");
    ASSERT_EQ(doc->code, ERROR_OK) << doc->reader.errorMessage();
    const std::string first = written(*doc->root);
    auto again = parse(first);
    ASSERT_EQ(again->code, ERROR_OK) << again->reader.errorMessage();
    expectSameTree(*doc->root, *again->root);
    // Written once more, the bytes do not move.
    EXPECT_EQ(written(*again->root), first);
}
