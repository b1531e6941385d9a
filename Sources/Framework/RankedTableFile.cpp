#include "Framework/RankedTableFile.h"

#include "Framework/DiskFile.h"
#include "Framework/Messages.h"
#include "Framework/SafeStreamWriter.h"
#include "Framework/Text1252Literal.h"
#include "Platform/System/Paths.h"

#include <filesystem>

RankedTableFile::RankedTableFile(uint32_t categoryCount, uint32_t maxEntries, std::string fileName)
    : mCategoryCount(categoryCount), mMaxEntries(maxEntries), mFileName(std::move(fileName))
{
}

ErrorCode RankedTableFile::init()
{
    mCategories.clear();
    mCategories.resize(mCategoryCount);
    mDamaged = false;
    return load();
}

const RankedTableFile::Category& RankedTableFile::getCategory(uint32_t category) const
{
    static const Category empty;
    return category < mCategories.size() ? mCategories[category] : empty;
}

bool RankedTableFile::qualifies(const RankedTableEntry& entry, uint32_t categoryKey)
{
    uint32_t index = categoryOf(categoryKey);
    if (index >= mCategories.size())
        return false;
    const Category& category = mCategories[index];
    if (category.size() < mMaxEntries)
        return true;
    return !category.empty() && entry.score() <= category.back()->score();
}

uint32_t RankedTableFile::insert(const RankedTableEntry& entry, uint32_t categoryKey)
{
    uint32_t index = categoryOf(categoryKey);
    if (index >= mCategories.size())
        return mMaxEntries;
    Category& category = mCategories[index];
    size_t position = 0;
    while (position < category.size() && category[position]->score() < entry.score())
        ++position;
    std::unique_ptr<RankedTableEntry> copy = createEntry();
    copy->copyFrom(entry);
    category.insert(category.begin() + static_cast<std::ptrdiff_t>(position), std::move(copy));
    if (category.size() > mMaxEntries)
        category.pop_back();
    return static_cast<uint32_t>(position);
}

void RankedTableFile::clear()
{
    for (Category& category : mCategories)
        category.clear();
}

ErrorCode RankedTableFile::save()
{
    // The damaged file may hold records this program could not read: it is
    // kept aside, once, before the table replaces it.
    if (mDamaged)
    {
        keepDamagedFile();
        mDamaged = false;
    }
    return writeStreamSafely(mFileName, 0,
                             [this](OutputStream& file) { return transferTable(file, mCategories); });
}

void RankedTableFile::keepDamagedFile()
{
    namespace fs = std::filesystem;
    const std::string source = Platform::mapPath(mFileName);
    for (int attempt = 1; attempt < 100; ++attempt)
    {
        const std::string kept = source + ".bak" + (attempt > 1 ? std::to_string(attempt) : std::string());
        std::error_code error;
        if (fs::symlink_status(kept, error).type() != fs::file_type::not_found)
            continue;
        if (fs::copy_file(source, kept, fs::copy_options::none, error))
            showMessage(TEXT_1252("Le fichier %s était endommagé : il a été conservé sous le nom %s."),
                        shownPath(source).c_str(), fs::path(kept).filename().string().c_str());
        return;
    }
}

ErrorCode RankedTableFile::load()
{
    DiskInputFile file(mFileName);
    if (ErrorCode error = file.open())
        return error;
    // Every entry read whole is kept; the first damaged one ends the reading
    // there, and the file is marked to be kept aside before it is replaced.
    ErrorCode result = transferTable(file, mCategories);
    if (result != ERROR_OK)
        mDamaged = true;
    return result;
}

ErrorCode RankedTableFile::transferTable(BinaryStream& stream, std::vector<Category>& categories)
{
    void* previousContext = stream.getContext();
    stream.setContext(this);
    ErrorCode result = ERROR_OK;
    for (Category& category : categories)
    {
        uint32_t count = static_cast<uint32_t>(category.size());
        if ((result = stream.transferValue(count)) != ERROR_OK)
            break;
        if (stream.isReading())
        {
            // More entries than a category holds is damage, whatever follows.
            if (count > mMaxEntries)
            {
                result = ERROR_FILEIO_INVALIDFILE;
                break;
            }
            category.clear();
            for (uint32_t i = 0; i < count && result == ERROR_OK; ++i)
            {
                std::unique_ptr<RankedTableEntry> entry = createEntry();
                if ((result = entry->serialize(stream)) == ERROR_OK)
                    category.push_back(std::move(entry));
            }
        }
        else
        {
            for (auto& entry : category)
                if ((result = entry->serialize(stream)) != ERROR_OK)
                    break;
        }
        if (result != ERROR_OK)
            break;
    }
    stream.setContext(previousContext);
    return result;
}
