#include "Framework/LangTable.h"

#include "Framework/ConfigFile.h"
#include "Framework/DiskFile.h"
#include "Framework/FileLookup.h"
#include "Framework/FileUtilities.h"
#include "Framework/FormatCheck.h"

ErrorCode LangTable::loadFile(const std::string& path)
{
    ConfigFile file(path);
    for (size_t id = 0; id < mTexts.size() && id < mKeys.size(); ++id)
        file.addString(mKeys[id], mTexts[id]);
    // The shipped archive holds no language file, and in archive-only mode
    // the lookup never looks past it: the translator's file on the disk
    // beside it is read all the same, and written only when truly missing.
    const bool inArchives = dataFileExists(path);
    if (inArchives || diskFileExists(path))
    {
        // The program formats with these texts: a replacement that reads other
        // arguments than the built-in text would read what was never passed.
        std::vector<std::string> builtIn = mTexts;
        if (inArchives)
            file.load();
        else
        {
            DiskInputFile disk(path);
            if (disk.open() == ERROR_OK)
                file.loadFrom(disk);
        }
        for (size_t id = 0; id < mTexts.size(); ++id)
            if (mTexts[id] != builtIn[id] && !formatsAgree(builtIn[id], mTexts[id]))
                mTexts[id] = std::move(builtIn[id]);
    }
    else
        file.save();
    mKeys.clear();
    mKeys.shrink_to_fit();
    return ERROR_OK;
}
