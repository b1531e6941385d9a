#include "Tarnaveli/GameDescription/GameDescription.h"

#include "FakeEngine.h"
#include "Framework/BinaryStream.h"
#include "Framework/Text1252Literal.h"
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace GameDescriptionTest;

namespace
{

std::string pionData(const std::string& animal)
{
    return "<TexturePion0>t\\" + animal + "0.png</TexturePion0><TexturePion1>t\\" + animal +
           "1.png</TexturePion1><PionModel><Model><Filename>m\\" + animal +
           ".X</Filename><TransparencyThreshold>7</TransparencyThreshold>"
           "<TransparencyMode>TRANSPARENCY_ALPHA_THRESHOLD</TransparencyMode><Culling>CULLING_CW</Culling>"
           "<TexRepeat>1</TexRepeat><Pos3D><Pos>0, 0, 0</Pos><Direction>0, 0, 1</Direction><Up>0, 1, 0</Up>"
           "<Scale>1, 1, 1</Scale></Pos3D></Model><Scale>2.5</Scale><Preloaded>true</Preloaded></PionModel>";
}

// A description of one set; skip leaves one animal out.
std::string pionSetXml(const std::string& waterProf, const std::string& skip = "")
{
    std::string text =
        "<PionSet><Name>Essai</Name><Rotate>true</Rotate><WaterProf>" + waterProf + "</WaterProf>";
    for (const char* name : PionSet::kPionDataNames)
        if (skip != name)
            text += std::string("<") + name + ">" + pionData(name) + "</" + name + ">";
    const char* states[] = {"Normal", "Rolled", "Selected", "Eatable", "Other"};
    int shade = 10;
    for (const char* state : states)
        for (const char* kind : {"Diffuse", "Ambient", "Specular"})
        {
            std::string tag = std::string(kind) + state;
            text += "<" + tag + ">Color(" + std::to_string(shade) + ",0,255,51)</" + tag + ">";
            shade += 10;
        }
    return text + "</PionSet>";
}

std::string documentXml(const std::string& sets, const std::string& tutorial = "")
{
    return "<GameDescription><PionSets>" + sets + "</PionSets><TutorialLinkGroup>" + tutorial +
           "</TutorialLinkGroup><EndScreenLinkGroup></EndScreenLinkGroup></GameDescription>\r\n\r\n";
}

class GameDescriptionReading : public ::testing::Test
{
protected:
    GameDescriptionReading()
    {
        description.setTextureLoader([this](const std::string& name) { return textures.get(name); });
        description.setSoundManager(&sounds);
    }

    ErrorCode read(const std::string& text, const std::string& path = "essai.xml")
    {
        MemoryInputStream stream(text.data(), static_cast<uint32_t>(text.size()));
        return description.readDescription(stream, path);
    }

    FakeEngine engine;
    TextureStore textures;
    FakeSoundManager sounds;
    Platform::ScopedMessageCapture messages;
    GameDescription description;
};

} // namespace

TEST_F(GameDescriptionReading, TheGameXmlOfTheBuildReads)
{
    // The build's data folder as the program's: game.xml and the animal
    // sounds are found where the game finds them.
    std::string previous = Platform::programDirectory();
    Platform::setProgramDirectory(VELMORIQUE_DATA_DIR "/../");
    ErrorCode code = description.loadDescription(GameDescription::kFileName);
    Platform::setProgramDirectory(previous);
    ASSERT_EQ(code, ERROR_OK);
    EXPECT_TRUE(messages.messages().empty());
    ASSERT_EQ(description.getPionSetCount(), 2u);
    PionSet& set = *description.getCurrentPionSet();
    EXPECT_EQ(set.getName(), "Jetons blancs et noirs");
    EXPECT_FALSE(description.isCurrentSetRotated());
    EXPECT_FLOAT_EQ(description.getCurrentWaterDepth(), 2.0f * 0.04f);
    PionData& elephant = set.getPionData(7);
    EXPECT_EQ(elephant.getTexture(0)->getName(), "data\\models\\pions\\elephant_blanc.png");
    EXPECT_EQ(elephant.getTexture(1)->getName(), "data\\models\\pions\\elephant_noir.png");
    MeshModel* model = elephant.getModelDescription().getModel();
    EXPECT_EQ(model->getFileName(), "data\\models\\pions\\elephant.X");
    EXPECT_EQ(model->getCulling(), MeshModel::CULLING_CCW);
    EXPECT_EQ(model->getTransparency(), MeshModel::TRANSPARENCY_NONE);
    EXPECT_FALSE(model->getTextureRepeat());
    EXPECT_TRUE(elephant.getModelDescription().isPreloaded());
    EXPECT_EQ(set.getSpecular(PION_STATE_OTHER), 0xFF282828u);
    Material* selected = elephant.getMaterial(1, PION_STATE_SELECTED);
    ASSERT_NE(selected, nullptr);
    EXPECT_FLOAT_EQ(selected->getDiffuse()[1], 220.0f / 255.0f);
    EXPECT_EQ(selected->getTexture(), elephant.getTexture(1));

    // Every animal has its three sounds, numbered after the built-in ones.
    EXPECT_EQ(sounds.getSoundCount(), 3u + 48u);
    EXPECT_EQ(elephant.getSound(PION_SOUND_DEATH), 3u + 21u + 2u);
    EXPECT_EQ(sounds.getSoundName(26), "data\\sons\\animaux\\elephant - meurt.wav");
    EXPECT_EQ(description.getPionSet(1)->getPionData(0).getSound(PION_SOUND_MOVE), 27u);

    ASSERT_EQ(description.getTutorialLinkGroup().getAreas().size(), 1u);
    EXPECT_EQ(description.getTutorialLinkGroup().getAreas()[0]->mFile, "data\\Aide\\regles.html");
    ASSERT_EQ(description.getEndScreenLinkGroup().getAreas().size(), 1u);
    EXPECT_EQ(description.getEndScreenLinkGroup().getAreas()[0]->mRect, (XmlRect{362, 660, 300, 64}));
}

TEST_F(GameDescriptionReading, APieceSetIsFinishedOnceRead)
{
    ASSERT_EQ(read(documentXml(pionSetXml("25"))), ERROR_OK);
    PionSet& set = *description.getPionSet(0);
    EXPECT_FLOAT_EQ(set.getWaterDepth(), 1.0f);
    EXPECT_TRUE(set.isRotated());
    PionData& cat = set.getPionData(1);
    EXPECT_EQ(cat.getRank(), 1u);
    EXPECT_FLOAT_EQ(cat.getModelDescription().getScale(), 2.5f);
    auto* model = static_cast<FakeModel*>(cat.getModelDescription().getModel());
    EXPECT_EQ(model->mLoads, 1);
    EXPECT_EQ(model->getThreshold(), 7);
    EXPECT_EQ(model->getTransparency(), MeshModel::TRANSPARENCY_ALPHA_THRESHOLD);
    EXPECT_EQ(model->getCulling(), MeshModel::CULLING_CW);
    // Standing on its lowest point.
    EXPECT_FLOAT_EQ(model->mBoxMin.y, 0.0f);
    EXPECT_FLOAT_EQ(model->mBoxMax.y, 2.0f);
    EXPECT_FLOAT_EQ(model->mBoxMin.x, -1.0f);

    // Every state of both sides: the side's texture, the model's emissive and
    // power, the set's colours of that state.
    for (uint32_t side = 0; side < 2; ++side)
        for (uint32_t state = 0; state < PION_STATE_COUNT; ++state)
        {
            Material* material = cat.getMaterial(side, state);
            ASSERT_NE(material, nullptr);
            EXPECT_EQ(material->getTexture(), cat.getTexture(side));
            EXPECT_FALSE(material->ownsTexture());
            EXPECT_FLOAT_EQ(material->getEmissive()[1], 0.5f);
            EXPECT_FLOAT_EQ(material->getPower(), 12.0f);
            EXPECT_FLOAT_EQ(material->getDiffuse()[0], (10 + 30 * state) / 255.0f);
            EXPECT_FLOAT_EQ(material->getAmbient()[0], (20 + 30 * state) / 255.0f);
            EXPECT_FLOAT_EQ(material->getSpecular()[0], (30 + 30 * state) / 255.0f);
            EXPECT_FLOAT_EQ(material->getSpecular()[3], 0.2f);
        }
    EXPECT_EQ(cat.getTexture(0)->getName(), "t\\PionDataChat0.png");
}

TEST_F(GameDescriptionReading, AMissingAnimalNamesItselfInTheMessage)
{
    ASSERT_EQ(read(documentXml(pionSetXml("2", "PionDataTigre")), "data\\Ressources\\game.xml"),
              ERROR_DOM_INTERPRETING);
    ASSERT_EQ(messages.messages().size(), 1u);
    const std::string& text = messages.messages()[0].text;
    EXPECT_EQ(text.rfind(std::string(TEXT_1252("Erreur de désérialisation dans le fichier")) +
                             " \"data\\Ressources\\game.xml\" ligne 1, " + TEXT_1252("caractère "),
                         0),
              0u)
        << text;
    EXPECT_NE(text.find(TEXT_1252(" : Balise fils nommée <PionDataTigre> non trouvée.")), std::string::npos)
        << text;
    // A later read with the same fault says it again: what the first said
    // is not taken for the second's.
    ASSERT_EQ(read(documentXml(pionSetXml("2", "PionDataTigre"))), ERROR_DOM_INTERPRETING);
    EXPECT_EQ(messages.messages().size(), 2u);
}

TEST_F(GameDescriptionReading, AParseErrorNamesItsFileAndPosition)
{
    EXPECT_EQ(read("<GameDescription>\n<PionSets attr>"), ERROR_XML_PARSING_INVALID_CARACTER);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, "Parsing error at line 2 pos 10\nessai.xml");
}

TEST_F(GameDescriptionReading, TooManySetsAreRefusedBeforeTheyAreBuilt)
{
    std::string sets;
    for (size_t i = 0; i <= GameDescription::kMaxPionSets; ++i)
        sets += "<PionSet></PionSet>";
    EXPECT_EQ(read(documentXml(sets)), ERROR_DOM_INTERPRETING);
    EXPECT_TRUE(engine.mModels.empty());
    EXPECT_EQ(description.getCurrentPionSet(), nullptr);
    EXPECT_EQ(description.getCurrentWaterDepth(), 0.0f);
}

TEST_F(GameDescriptionReading, OnlyTheSoundFilesPresentAreRegistered)
{
    Platform::TemporaryDirectory folder;
    std::filesystem::create_directories(folder.path() + "data/sons/animaux");
    std::ofstream(folder.path() + "data/sons/animaux/lion - bouge.wav") << "RIFF";
    std::ofstream(folder.path() + "data/sons/animaux/rat - meurt.wav") << "RIFF";
    std::string previous = Platform::programDirectory();
    Platform::setProgramDirectory(folder.path());
    ErrorCode code = read(documentXml(pionSetXml("2") + pionSetXml("3")));
    Platform::setProgramDirectory(previous);
    ASSERT_EQ(code, ERROR_OK);

    // Three built-in sounds, then 24 per set.
    EXPECT_EQ(sounds.getSoundCount(), 3u + 48u);
    PionData& lion = description.getPionSet(0)->getPionData(6);
    EXPECT_EQ(lion.getSound(PION_SOUND_MOVE), 3u + 18u);
    EXPECT_EQ(lion.getSound(PION_SOUND_ATTACK), 3u + 18u);
    EXPECT_EQ(lion.getSound(PION_SOUND_DEATH), 3u + 18u);
    EXPECT_EQ(sounds.getSoundName(21), "data\\sons\\animaux\\lion - bouge.wav");
    // A death cry of its own counts even where the move sound is missing.
    PionData& rat = description.getPionSet(1)->getPionData(0);
    EXPECT_EQ(rat.getSound(PION_SOUND_MOVE), 0u);
    EXPECT_EQ(rat.getSound(PION_SOUND_DEATH), 27u + 2u);
    EXPECT_EQ(description.getPionSet(1)->getPionData(3).getSound(PION_SOUND_ATTACK), 0u);
}

TEST_F(GameDescriptionReading, LoadingCentresTheBoardAndPlacesItsBackground)
{
    Platform::TemporaryDirectory folder;
    std::filesystem::create_directories(folder.path() + "data/Ressources");
    std::ofstream(folder.path() + "data/Ressources/game.xml") << documentXml(pionSetXml("2"));
    std::string previous = Platform::programDirectory();
    Platform::setProgramDirectory(folder.path());
    ErrorCode code = description.load();
    Platform::setProgramDirectory(previous);
    ASSERT_EQ(code, ERROR_OK);

    auto* board = static_cast<FakeModel*>(description.getBoardModel());
    auto* background = static_cast<FakeModel*>(description.getBoardBackgroundModel());
    ASSERT_TRUE(board != nullptr && background != nullptr);
    EXPECT_EQ(board->getFileName(), "data\\models\\boardZorvad\\plateau.X");
    EXPECT_EQ(background->getFileName(), "data\\models\\boardZorvad\\plateau_fond.X");
    EXPECT_EQ(board->getUseCount(), 1u);
    EXPECT_EQ(background->getUseCount(), 1u);
    EXPECT_EQ(board->getCulling(), MeshModel::CULLING_CCW);
    EXPECT_EQ(background->getCulling(), MeshModel::CULLING_CCW);
    // The raw box runs from (-1, -0.5, -2) to (3, 1.5, 2).
    EXPECT_FLOAT_EQ(board->getTransform().mPosition.x, -1.0f);
    EXPECT_FLOAT_EQ(board->getTransform().mPosition.y, -0.5f);
    EXPECT_FLOAT_EQ(board->mBoxMax.y, 1.0f);
    EXPECT_FLOAT_EQ(background->getTransform().mPosition.x, -1.0f);
    EXPECT_FLOAT_EQ(description.getWaterDrop(), 0.1f);
    EXPECT_FLOAT_EQ(description.getLandDrop(), 0.02f);
}

TEST_F(GameDescriptionReading, ABoardModelThatCannotLoadEndsTheLoad)
{
    Platform::TemporaryDirectory folder;
    std::filesystem::create_directories(folder.path() + "data/Ressources");
    std::ofstream(folder.path() + "data/Ressources/game.xml") << documentXml("");
    std::string previous = Platform::programDirectory();
    Platform::setProgramDirectory(folder.path());
    engine.mNextLoadCode = ERROR_FILENOTFOUND;
    ErrorCode code = description.load();
    Platform::setProgramDirectory(previous);
    EXPECT_EQ(code, ERROR_FILENOTFOUND);
    EXPECT_EQ(description.getBoardModel(), nullptr);
    EXPECT_EQ(description.getCurrentPionSet(), nullptr);
}

TEST_F(GameDescriptionReading, AMissingFileIsItsOpenError)
{
    EXPECT_NE(description.loadDescription("/nonexistent/game.xml"), ERROR_OK);
    EXPECT_TRUE(messages.messages().empty());
}
