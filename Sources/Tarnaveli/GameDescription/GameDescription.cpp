#include "Tarnaveli/GameDescription/GameDescription.h"

#include "Engine/Engine3D.h"
#include "Engine/MeshModel.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/ErrorText.h"
#include "Framework/FileLookup.h"
#include "Framework/Messages.h"
#include "Framework/Text1252Literal.h"
#include "Framework/XmlReader.h"
#include "Sound/SoundManager.h"

GameDescription::GameDescription() = default;

GameDescription::~GameDescription()
{
    releaseBoardModels();
}

void GameDescription::releaseBoardModels()
{
    for (std::unique_ptr<MeshModel>* model : {&mBoardBackgroundModel, &mBoardModel})
        if (*model)
        {
            (*model)->removeUser();
            model->reset();
        }
}

SoundManager* GameDescription::soundManager() const
{
    if (mSoundManager != nullptr)
        return mSoundManager;
    ApplicationGeneric* application = getApplication();
    return application != nullptr
               ? dynamic_cast<SoundManager*>(application->getService(SoundManager::SERVICE_ID))
               : nullptr;
}

bool GameDescription::setCurrentPionSetIndex(size_t index)
{
    if (index >= mPionSets.size())
        return false;
    mCurrentPionSet = index;
    return true;
}

ErrorCode GameDescription::transfer(XmlObjectReader& reader)
{
    ErrorCode code = reader.transferChild(
        "PionSets",
        [&]
        {
            ErrorCode result = reader.transferVector(mPionSets, "PionSet", kMaxPionSets);
            // Each set read is finished in document order.
            for (size_t i = 0; i < mPionSets.size() && result == ERROR_OK && reader.isReading(); ++i)
                result = mPionSets[i]->finishReading(soundManager());
            return result;
        });
    if (code == ERROR_OK)
        code = reader.transferChild("TutorialLinkGroup", [&] { return mTutorialLinkGroup.transfer(reader); });
    if (code == ERROR_OK)
        code =
            reader.transferChild("EndScreenLinkGroup", [&] { return mEndScreenLinkGroup.transfer(reader); });
    if (reader.isReading() && mCurrentPionSet >= mPionSets.size())
        mCurrentPionSet = 0;
    return code;
}

ErrorCode GameDescription::readDescription(BinaryStream& stream, const std::string& path)
{
    // Nothing said before this read is about it.
    takeErrorShown();
    // 1. The text into a tree.
    XmlReader parser;
    std::unique_ptr<XmlElement> root;
    ErrorCode code = parser.read(stream, root);
    if (code != ERROR_OK)
    {
        // The file's name on a line of its own: the game may read more than
        // one description.
        showMessage("Parsing error at line %i pos %i\n%s", static_cast<int>(parser.errorLine()),
                    static_cast<int>(parser.errorColumn()), path.c_str());
        noteErrorShown(code);
        return code;
    }
    // 2. The tree onto the objects.
    XmlObjectReader reader(true, root.get());
    reader.setTextureLoader(mTextureLoader);
    code = transfer(reader);
    // A model the description names says itself what is wrong with its file;
    // the description is not at fault then.
    if (code != ERROR_OK && errorShown() != code)
    {
        std::string text = std::string(TEXT_1252("Erreur de désérialisation dans le fichier")) + " \"" +
                           path + "\" ligne " + std::to_string(reader.getErrorLine()) +
                           TEXT_1252(", caractère ") + std::to_string(reader.getErrorColumn()) + " : " +
                           errorCodeToText(code) + " : " + reader.getErrorMessage();
        showMessage("%s", text.c_str());
        noteErrorShown(code);
    }
    return code;
}

ErrorCode GameDescription::loadDescription(const std::string& path)
{
    std::unique_ptr<InputStream> stream;
    if (ErrorCode code = openDataFile(path, stream))
    {
        noteErrorFile(path);
        return code;
    }
    // A fault met in the read has been said already, with the file at fault.
    return readDescription(*stream, path);
}

ErrorCode GameDescription::createBoardModel(const char* fileName, std::unique_ptr<MeshModel>& model)
{
    Engine3D* engine = Engine3D::current();
    if (engine == nullptr)
        return ERROR_INVALID;
    model.reset(engine->createMeshModel());
    if (!model)
        return ERROR_INVALID;
    model->setFileName(fileName);
    if (model->getUseCount() == 0)
    {
        ErrorCode code = model->addUser();
        if (code != ERROR_OK)
        {
            // The failed load left no use to give back.
            model->removeUser();
            model.reset();
            return code;
        }
    }
    model->setCulling(MeshModel::CULLING_CCW);
    return ERROR_OK;
}

ErrorCode GameDescription::load()
{
    // 1. The description.
    ErrorCode code = loadDescription(kFileName);
    if (code != ERROR_OK)
        return code;
    // 2. The board, centred on the middle of its box.
    releaseBoardModels();
    code = createBoardModel(kBoardModelFile, mBoardModel);
    if (code != ERROR_OK)
        return code;
    mBoardModel->setOrigin({(mBoardModel->mBoxMin.x + mBoardModel->mBoxMax.x) * 0.5f,
                            (mBoardModel->mBoxMin.y + mBoardModel->mBoxMax.y) * 0.5f,
                            (mBoardModel->mBoxMin.z + mBoardModel->mBoxMax.z) * 0.5f});
    // 3. Its background, placed where the board is.
    code = createBoardModel(kBackgroundModelFile, mBoardBackgroundModel);
    if (code != ERROR_OK)
        return code;
    mBoardBackgroundModel->getTransform().mPosition = mBoardModel->getTransform().mPosition;
    mBoardBackgroundModel->getTransform().update();
    // 4. Where the cells lie below the top of the board.
    mWaterDrop = 0.1f;
    mLandDrop = 0.02f;
    return ERROR_OK;
}
