// Checks the game description the build copies to data/Ressources/game.xml:
// it parses with the game's XML reader, every required element is present,
// every value is a single text in the form its kind reads, and every file it
// names was shipped.
#include "Framework/BinaryStream.h"
#include "Framework/XmlReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace
{
const std::string kData = VELMORIQUE_DATA_DIR;
const char* const kAnimals[8] = {"Rat", "Chat", "Loup", "Chien", "Panthere", "Tigre", "Lion", "Elephant"};
const char* const kStates[5] = {"Normal", "Rolled", "Selected", "Eatable", "Other"};

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The game's paths are relative to the program's folder, which holds data/.
std::string shippedPath(const std::string& gamePath)
{
    std::string path = gamePath;
    std::replace(path.begin(), path.end(), '\\', '/');
    return std::filesystem::path(kData).parent_path().string() + "/" + path;
}

// Walks the tree and records every departure from the forms the object
// reader accepts, with the element's position.
class Checker
{
public:
    std::vector<std::string> errors;

    const XmlElement* child(const XmlElement& parent, const std::string& name)
    {
        const XmlElement* found = parent.findChild(name);
        if (!found)
            report(parent, "missing <" + name + ">");
        return found;
    }

    // The value's element must hold exactly one text.
    bool text(const XmlElement& parent, const std::string& name, std::string& out)
    {
        const XmlElement* e = child(parent, name);
        if (!e)
            return false;
        if (e->childCount() != 1 || !e->child(0)->isText())
        {
            report(*e, "<" + name + "> must hold exactly one text");
            return false;
        }
        out = static_cast<const XmlText*>(e->child(0))->text();
        return true;
    }

    void string(const XmlElement& parent, const std::string& name, std::string* out = nullptr)
    {
        std::string value;
        if (text(parent, name, value) && out)
            *out = value;
    }

    void boolean(const XmlElement& parent, const std::string& name)
    {
        std::string value;
        if (text(parent, name, value) && value != "true" && value != "false" && value != "0" && value != "1")
            report(parent, "<" + name + "> is not a bool: " + value);
    }

    float number(const XmlElement& parent, const std::string& name)
    {
        std::string value;
        if (!text(parent, name, value))
            return 0;
        float f = 0;
        if (!isFloat(value, f))
            report(parent, "<" + name + "> is not a number: " + value);
        return f;
    }

    void byte(const XmlElement& parent, const std::string& name)
    {
        std::string value;
        if (text(parent, name, value) && !std::regex_match(value, std::regex("[0-9]{1,3}")))
            report(parent, "<" + name + "> is not a byte: " + value);
        else if (!value.empty() && std::atoi(value.c_str()) > 255)
            report(parent, "<" + name + "> is above 255");
    }

    void colour(const XmlElement& parent, const std::string& name)
    {
        std::string value;
        if (!text(parent, name, value))
            return;
        std::smatch m;
        if (!std::regex_match(value, m, std::regex("Color\\(([0-9]+),([0-9]+),([0-9]+),([0-9]+)\\)")))
        {
            report(parent, "<" + name + "> is not a colour: " + value);
            return;
        }
        // Out-of-range parts would be clamped silently: a sign of a typo.
        for (int i = 1; i <= 4; ++i)
            if (std::stoi(m[i].str()) > 255)
                report(parent, "<" + name + "> has a part above 255");
    }

    void oneOf(const XmlElement& parent, const std::string& name, const std::set<std::string>& names)
    {
        std::string value;
        if (text(parent, name, value) && !names.count(value))
            report(parent, "<" + name + "> has an unknown value: " + value);
    }

    void shippedFile(const XmlElement& parent, const std::string& name, const std::string& extension,
                     std::string* out = nullptr)
    {
        std::string value;
        if (!text(parent, name, value))
            return;
        if (out)
            *out = value;
        if (value.size() < extension.size() ||
            value.compare(value.size() - extension.size(), extension.size(), extension) != 0)
            report(parent, "<" + name + "> should name a " + extension + " file: " + value);
        if (!std::filesystem::is_regular_file(shippedPath(value)))
            report(parent, "<" + name + "> names a file that is not shipped: " + value);
    }

    void point(const XmlElement& parent, const std::string& name)
    {
        std::string value;
        if (!text(parent, name, value))
            return;
        std::vector<std::string> pieces = split(value);
        float f;
        if (pieces.size() != 3 ||
            !std::all_of(pieces.begin(), pieces.end(), [&](auto& p) { return isFloat(p, f); }))
            report(parent, "<" + name + "> is not three numbers: " + value);
    }

    void rect(const XmlElement& parent, const std::string& name)
    {
        std::string value;
        if (!text(parent, name, value))
            return;
        std::vector<std::string> pieces = split(value);
        if (pieces.size() != 4 ||
            !std::all_of(pieces.begin(), pieces.end(),
                         [](auto& p) { return std::regex_match(p, std::regex("-?[0-9]+")); }))
            report(parent, "<" + name + "> is not four integers: " + value);
        else if (std::stoi(pieces[2]) <= 0 || std::stoi(pieces[3]) <= 0)
            report(parent, "<" + name + "> is empty");
    }

    void report(const XmlNode& node, const std::string& message)
    {
        errors.push_back("line " + std::to_string(node.line()) + ": " + message);
    }

private:
    static bool isFloat(const std::string& text, float& value)
    {
        char* end = nullptr;
        errno = 0;
        value = std::strtof(text.c_str(), &end);
        return !text.empty() && end == text.c_str() + text.size() && errno == 0;
    }

    // The reader splits at every ", " and drops empty pieces.
    static std::vector<std::string> split(const std::string& text)
    {
        std::vector<std::string> pieces;
        size_t start = 0;
        while (true)
        {
            size_t at = text.find(", ", start);
            std::string piece = text.substr(start, at == std::string::npos ? std::string::npos : at - start);
            if (!piece.empty())
                pieces.push_back(piece);
            if (at == std::string::npos)
                return pieces;
            start = at + 2;
        }
    }
};

struct Document
{
    std::string text;
    XmlReader reader;
    std::unique_ptr<XmlElement> root;
    ErrorCode code = ERROR_OK;
};

std::unique_ptr<Document> loadDocument()
{
    auto doc = std::make_unique<Document>();
    doc->text = readFile(kData + "/Ressources/game.xml");
    MemoryInputStream stream(doc->text.data(), static_cast<uint32_t>(doc->text.size()));
    doc->code = doc->reader.read(stream, doc->root);
    return doc;
}

void checkModel(Checker& c, const XmlElement& data)
{
    const XmlElement* description = c.child(data, "PionModel");
    if (!description)
        return;
    const XmlElement* model = c.child(*description, "Model");
    if (model)
    {
        c.shippedFile(*model, "Filename", ".X");
        c.byte(*model, "TransparencyThreshold");
        c.oneOf(*model, "TransparencyMode",
                {"TRANSPARENCY_NONE", "TRANSPARENCY_ALPHA", "TRANSPARENCY_ALPHA_THRESHOLD"});
        c.oneOf(*model, "Culling", {"CULLING_NONE", "CULLING_CW", "CULLING_CCW"});
        c.boolean(*model, "TexRepeat");
        if (const XmlElement* position = c.child(*model, "Pos3D"))
            for (const char* name : {"Pos", "Direction", "Up", "Scale"})
                c.point(*position, name);
    }
    if (c.number(*description, "Scale") <= 0)
        c.report(*description, "a model's scale must be positive");
    c.boolean(*description, "Preloaded");
}

void checkLinkGroup(Checker& c, const XmlElement& root, const std::string& name)
{
    const XmlElement* group = c.child(root, name);
    if (!group)
        return;
    for (const auto& node : group->children())
    {
        if (!node->isElement())
        {
            c.report(*node, name + " holds a text where a LinkArea belongs");
            continue;
        }
        const XmlElement& area = static_cast<const XmlElement&>(*node);
        if (area.findChild("URL"))
            c.report(area, "links open local files only, never an address");
        if (!area.findChild("File"))
            c.report(area, "a link area without a file does nothing");
        else
            c.shippedFile(area, "File", ".html");
        c.rect(area, "Rect");
    }
}
} // namespace

TEST(GameDescriptionFile, ParsesWithTheGameReaderAndHoldsOnlyPlainAscii)
{
    auto doc = loadDocument();
    ASSERT_FALSE(doc->text.empty()) << "data/Ressources/game.xml is missing";
    ASSERT_EQ(doc->code, ERROR_OK) << "line " << doc->reader.errorLine() << ", column "
                                   << doc->reader.errorColumn() << ": " << doc->reader.errorMessage();
    // The game shows texts in its own single-byte code page.
    EXPECT_TRUE(std::all_of(doc->text.begin(), doc->text.end(), [](char ch) { return ch > 0; }));
    // Tabs would cut a value into two texts.
    EXPECT_EQ(doc->text.find('\t'), std::string::npos);
}

TEST(GameDescriptionFile, PieceSetsHoldEveryAnimalAndColourInTheirReadableForms)
{
    auto doc = loadDocument();
    ASSERT_EQ(doc->code, ERROR_OK);
    Checker c;
    const XmlElement* sets = c.child(*doc->root, "PionSets");
    ASSERT_NE(sets, nullptr);
    EXPECT_GE(sets->childCount(), 2u) << "the options window offers a choice of sets";
    std::set<std::string> names;
    for (const auto& node : sets->children())
    {
        ASSERT_TRUE(node->isElement()) << "line " << node->line();
        const XmlElement& set = static_cast<const XmlElement&>(*node);
        std::string name;
        c.string(set, "Name", &name);
        EXPECT_TRUE(names.insert(name).second) << "two sets named " << name;
        c.boolean(set, "Rotate");
        if (c.number(set, "WaterProf") < 0)
            c.report(set, "a negative water depth lifts swimmers out of the water");
        for (const char* animal : kAnimals)
        {
            const XmlElement* data = c.child(set, std::string("PionData") + animal);
            if (!data)
                continue;
            std::string side0, side1;
            c.shippedFile(*data, "TexturePion0", ".png", &side0);
            c.shippedFile(*data, "TexturePion1", ".png", &side1);
            if (side0 == side1)
                c.report(*data, "both sides share one texture");
            checkModel(c, *data);
        }
        for (const char* state : kStates)
            for (const char* part : {"Diffuse", "Ambient", "Specular"})
                c.colour(set, std::string(part) + state);
    }
    for (const std::string& error : c.errors)
        ADD_FAILURE() << error;
}

TEST(GameDescriptionFile, LinkGroupsOpenShippedLocalPages)
{
    auto doc = loadDocument();
    ASSERT_EQ(doc->code, ERROR_OK);
    Checker c;
    checkLinkGroup(c, *doc->root, "TutorialLinkGroup");
    checkLinkGroup(c, *doc->root, "EndScreenLinkGroup");
    for (const std::string& error : c.errors)
        ADD_FAILURE() << error;
    EXPECT_EQ(doc->text.find("://"), std::string::npos) << "no Internet address anywhere";
}

TEST(GameDescriptionFile, CheckerCatchesTheFaultsItLooksFor)
{
    const std::string text =
        "<Set>\n<Name></Name>\n<Rotate>oui</Rotate>\n<Couleur>Color(10,300,0,255)</Couleur>\n"
        "<Pos>1.5, 2</Pos>\n<Zone>1, 2, 3</Zone>\n<Fichier>data\\absent.png</Fichier>\n</Set>\n";
    MemoryInputStream stream(text.data(), static_cast<uint32_t>(text.size()));
    XmlReader reader;
    std::unique_ptr<XmlElement> root;
    ASSERT_EQ(reader.read(stream, root), ERROR_OK);
    Checker c;
    c.string(*root, "Name");
    c.boolean(*root, "Rotate");
    c.colour(*root, "Couleur");
    c.point(*root, "Pos");
    c.rect(*root, "Zone");
    c.shippedFile(*root, "Fichier", ".png");
    c.number(*root, "Absent");
    EXPECT_EQ(c.errors.size(), 7u);
}
