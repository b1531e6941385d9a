#pragma once
// Text configuration files of "name = value" lines bound to fields of the
// program: the setup file, the language file, the skins list and each skin's
// description. Loading fills the bound fields; saving writes every binding in
// the order it was added.
#include "Framework/BinaryStream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The field types of the player-kind and computer-level bindings: the setup
// file keeps both as signed 32-bit values.
using PlayerTypeField = int32_t;
using DifficultyField = int32_t;

class ConfigBinding
{
public:
    explicit ConfigBinding(std::string key) : mKey(std::move(key)) {}
    virtual ~ConfigBinding() = default;
    ConfigBinding(const ConfigBinding&) = delete;
    ConfigBinding& operator=(const ConfigBinding&) = delete;

    // Stores the value text into the field; false when it cannot be read.
    virtual bool parse(const std::string& text) = 0;
    // Appends the field's value to the text.
    virtual bool write(std::string& text) const = 0;

    const std::string& key() const { return mKey; }
    bool isFilled() const { return mFilled; }
    void setFilled(bool filled) { mFilled = filled; }

private:
    std::string mKey;
    bool mFilled = false;
};

// Line feeds and backslashes are escaped in the file.
class StringBinding final : public ConfigBinding
{
public:
    StringBinding(std::string key, std::string& field) : ConfigBinding(std::move(key)), mField(field) {}
    bool parse(const std::string& text) override;
    bool write(std::string& text) const override;

private:
    std::string& mField;
};

// "true", "false", or a number that is true when it is 1; written "1" or "0".
class BoolBinding final : public ConfigBinding
{
public:
    BoolBinding(std::string key, bool& field) : ConfigBinding(std::move(key)), mField(field) {}
    bool parse(const std::string& text) override;
    bool write(std::string& text) const override;

private:
    bool& mField;
};

// Decimal, read as atoi reads it (leading blanks and sign, digits up to the
// first other character, 0 when there are none), clamped to 32 bits.
class IntBinding : public ConfigBinding
{
public:
    IntBinding(std::string key, int32_t& field) : ConfigBinding(std::move(key)), mField(field) {}
    bool parse(const std::string& text) override;
    bool write(std::string& text) const override;

private:
    int32_t& mField;
};

// The player kind of a side (0 person, 1 computer, 2 and 3 network).
class PlayerTypeBinding final : public IntBinding
{
public:
    PlayerTypeBinding(std::string key, PlayerTypeField& field) : IntBinding(std::move(key), field) {}
};

// The computer's level (0 to 2).
class DifficultyBinding final : public IntBinding
{
public:
    DifficultyBinding(std::string key, DifficultyField& field) : IntBinding(std::move(key), field) {}
};

class ConfigFile
{
public:
    explicit ConfigFile(std::string fileName);
    ConfigFile(const ConfigFile&) = delete;
    ConfigFile& operator=(const ConfigFile&) = delete;

    void addString(const std::string& key, std::string& field);
    void addBool(const std::string& key, bool& field);
    void addInt(const std::string& key, int32_t& field);
    void addPlayerType(const std::string& key, PlayerTypeField& field);
    void addDifficulty(const std::string& key, DifficultyField& field);
    // A binding of a type the layers above define (the skins' colours).
    void addBinding(std::unique_ptr<ConfigBinding> binding) { mBindings.push_back(std::move(binding)); }

    // Reads the file through the application's lookup (archives, then disk)
    // when there is one, else from the disk. The open error is returned (17
    // for a missing file); bad lines are skipped and never make the load
    // fail. A file with bad lines is reported once, naming it, its first bad
    // line and how many more there are.
    ErrorCode load();
    // The same from a stream already open.
    ErrorCode loadFrom(InputStream& stream);
    // Writes every binding in order. The file is written beside its final
    // name and renamed into place, so a failed save leaves the old file
    // whole: 13 when it cannot be created, or when the name is a link or
    // lies outside the program's data folder (the name may come from a file
    // the player edits); 15 when a write fails.
    ErrorCode save();
    // Saves when at least one binding was not filled by the last load and
    // that load read the file as one of its kind (every line a comment or a
    // known key, at least one key); the save's result is not passed on. Any
    // other file is someone's data and is never written over.
    ErrorCode saveIfIncomplete();
    // Whether the last load read the file as one of its kind.
    bool isRecognised() const { return mRecognised; }

    const std::string& fileName() const { return mFileName; }
    const std::vector<std::unique_ptr<ConfigBinding>>& bindings() const { return mBindings; }

private:
    std::vector<std::unique_ptr<ConfigBinding>> mBindings;
    std::string mFileName;
    bool mRecognised = false;
};
