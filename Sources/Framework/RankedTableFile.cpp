#include "Framework/RankedTableFile.h"

#include "Framework/DiskFile.h"
#include "Framework/SafeStreamWriter.h"

RankedTableFile::RankedTableFile(uint32_t categoryCount, uint32_t maxEntries, std::string fileName)
    : mCategoryCount(categoryCount), mMaxEntries(maxEntries), mFileName(std::move(fileName))
{
}

ErrorCode RankedTableFile::init()
{
    mCategories.clear();
    mCategories.resize(mCategoryCount);
    ErrorCode result = load();
    if (result != ERROR_OK)
        clear();
    return result;
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
    return writeStreamSafely(mFileName, 0,
                             [this](OutputStream& file) { return transferTable(file, mCategories); });
}

ErrorCode RankedTableFile::load()
{
    DiskInputFile file(mFileName);
    if (ErrorCode error = file.open())
        return error;
    // Read aside, so that a damaged file never leaves half a table behind.
    std::vector<Category> categories(mCategoryCount);
    if (ErrorCode error = transferTable(file, categories))
        return error;
    mCategories = std::move(categories);
    return ERROR_OK;
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
                category.push_back(createEntry());
                result = category.back()->serialize(stream);
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
