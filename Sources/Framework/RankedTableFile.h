#pragma once
// A table of records kept in a binary file: a fixed number of categories, each
// an ordered list of at most a fixed number of entries, best (lowest score)
// first. The game's records table derives from it and supplies the entry class
// and the category of a key. The table owns its entries.
//
// Stored layout: the categories back to back, each a u32 entry count followed
// by that many entries in the entry's own layout; no header.
#include "Framework/BinaryStream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class RankedTableEntry
{
public:
    virtual ~RankedTableEntry() = default;
    virtual void setDefaults() = 0;
    virtual ErrorCode serialize(BinaryStream& stream) = 0;
    // Lower is better.
    virtual int32_t score() const = 0;
    virtual void copyFrom(const RankedTableEntry& other) = 0;
};

class RankedTableFile
{
public:
    using Category = std::vector<std::unique_ptr<RankedTableEntry>>;

    // The file name is relative to the program's folder.
    RankedTableFile(uint32_t categoryCount, uint32_t maxEntries, std::string fileName);
    virtual ~RankedTableFile() = default;
    RankedTableFile(const RankedTableFile&) = delete;
    RankedTableFile& operator=(const RankedTableFile&) = delete;

    virtual std::unique_ptr<RankedTableEntry> createEntry() = 0;
    virtual uint32_t categoryOf(uint32_t categoryKey) = 0;

    // Allocates the categories and loads the file. A missing file leaves
    // every category empty; a damaged one keeps every entry read whole before
    // the damage. The load's code is returned for information.
    ErrorCode init();

    // Whether the entry would find a place in the key's category.
    bool qualifies(const RankedTableEntry& entry, uint32_t categoryKey);
    // Puts a copy before the first entry whose score is greater or equal, and
    // drops the last entry beyond the maximum. Returns the 0-based position,
    // equal to the maximum when the copy fell off the end at once.
    uint32_t insert(const RankedTableEntry& entry, uint32_t categoryKey);
    void clear();
    // Written to a temporary file renamed into place. A file found damaged
    // is first copied beside itself (score.dat.bak) and the player told so.
    ErrorCode save();
    bool isDamaged() const { return mDamaged; }

    uint32_t getCategoryCount() const { return mCategoryCount; }
    uint32_t getMaxEntries() const { return mMaxEntries; }
    // Empty for a category outside the table or before init.
    const Category& getCategory(uint32_t category) const;
    const std::string& getFileName() const { return mFileName; }

protected:
    ErrorCode load();
    void keepDamagedFile();
    // One routine for both directions; the stream's context points at the table meanwhile.
    ErrorCode transferTable(BinaryStream& stream, std::vector<Category>& categories);

    std::vector<Category> mCategories;
    uint32_t mCategoryCount;
    uint32_t mMaxEntries;
    std::string mFileName;
    // The file read at init was damaged and has not been kept aside yet.
    bool mDamaged = false;
};
