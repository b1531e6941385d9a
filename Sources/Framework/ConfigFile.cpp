#include "Framework/ConfigFile.h"

#include "Framework/DiskFile.h"
#include "Framework/FileLookup.h"
#include "Framework/Messages.h"
#include "Framework/SafeFileWriter.h"
#include "Framework/Text1252Literal.h"
#include "Framework/Utilities.h"
#include "Platform/System/Paths.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace
{
// atoi's reading without its undefined overflow: out-of-range values clamp.
int32_t readInt(const std::string& text)
{
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

// One line without its line feed; carriage returns are dropped. 19 at the
// end of the stream, the stream's code on a read error.
ErrorCode readLine(InputStream& stream, std::string& line)
{
    line.clear();
    for (;;)
    {
        char c;
        if (ErrorCode error = stream.transfer(&c, 1))
        {
            if (!line.empty())
                return ERROR_OK;
            return stream.isAtEnd() ? ERROR_FILEIO_EOF : error;
        }
        if (c == '\n')
            return ERROR_OK;
        if (c != '\r')
            line += c;
    }
}
} // namespace

bool StringBinding::parse(const std::string& text)
{
    mField = unescapeString(text);
    return true;
}

bool StringBinding::write(std::string& text) const
{
    text += escapeString(mField);
    return true;
}

bool BoolBinding::parse(const std::string& text)
{
    if (text == "true")
        mField = true;
    else if (text == "false")
        mField = false;
    else
        mField = readInt(text) == 1;
    return true;
}

bool BoolBinding::write(std::string& text) const
{
    text += mField ? "1" : "0";
    return true;
}

bool IntBinding::parse(const std::string& text)
{
    mField = readInt(text);
    return true;
}

bool IntBinding::write(std::string& text) const
{
    text += std::to_string(mField);
    return true;
}

ConfigFile::ConfigFile(std::string fileName) : mFileName(std::move(fileName)) {}

void ConfigFile::addString(const std::string& key, std::string& field)
{
    mBindings.push_back(std::make_unique<StringBinding>(key, field));
}

void ConfigFile::addBool(const std::string& key, bool& field)
{
    mBindings.push_back(std::make_unique<BoolBinding>(key, field));
}

void ConfigFile::addInt(const std::string& key, int32_t& field)
{
    mBindings.push_back(std::make_unique<IntBinding>(key, field));
}

void ConfigFile::addPlayerType(const std::string& key, PlayerTypeField& field)
{
    mBindings.push_back(std::make_unique<PlayerTypeBinding>(key, field));
}

void ConfigFile::addDifficulty(const std::string& key, DifficultyField& field)
{
    mBindings.push_back(std::make_unique<DifficultyBinding>(key, field));
}

ErrorCode ConfigFile::load()
{
    // Archives first when the application has mounted some, else the disk.
    std::unique_ptr<InputStream> stream;
    if (ErrorCode error = openDataFile(mFileName, stream))
        return error;
    return loadFrom(*stream);
}

ErrorCode ConfigFile::loadFrom(InputStream& stream)
{
    // The first bad line is shown, the others counted: a damaged file is one
    // report, not one message box per line.
    struct BadLine
    {
        uint32_t number = 0;
        const char* message = nullptr;
        std::string text;
    } firstBad;
    uint32_t badLines = 0;
    const auto bad = [&](uint32_t number, const char* message, const std::string& text)
    {
        if (badLines++ == 0)
            firstBad = {number, message, text};
    };

    bool anyKey = false;
    bool anyContent = false;
    bool foreignLine = false;
    std::string line;
    uint32_t lineNumber = 0;
    while (readLine(stream, line) == ERROR_OK)
    {
        ++lineNumber;
        if (line.empty())
            continue;
        anyContent = true;
        if (line.starts_with("//"))
            continue;
        size_t equals = line.find('=');
        if (equals == std::string::npos)
        {
            bad(lineNumber, "Impossible de trouver le \"=\"", line);
            foreignLine = true;
            continue;
        }
        // One blank on each side of the "=" belongs to the layout; others
        // are part of the name or the value.
        size_t nameEnd = equals;
        if (nameEnd > 0 && line[nameEnd - 1] == ' ')
            --nameEnd;
        size_t valueStart = equals + 1;
        if (valueStart < line.size() && line[valueStart] == ' ')
            ++valueStart;
        std::string name = line.substr(0, nameEnd);
        std::string value = line.substr(valueStart);

        ConfigBinding* binding = nullptr;
        for (const auto& candidate : mBindings)
        {
            if (candidate->key() == name)
            {
                binding = candidate.get();
                break;
            }
        }
        if (binding == nullptr)
        {
            bad(lineNumber, "Identificateur inconnu", line);
            foreignLine = true;
            continue;
        }
        anyKey = true;
        if (binding->isFilled())
            bad(lineNumber, TEXT_1252("Identificateur déjà rempli."), line);
        else
        {
            binding->setFilled(true);
            if (!binding->parse(value))
                bad(lineNumber, "Impossible de parser la ligne", line);
        }
    }
    // Unknown names and lines without "=" mean another kind of file, or one
    // the player wrote by hand: it is read, never written over. Values that
    // do not read and repeated keys are this file's own damage.
    mRecognised = !foreignLine && (anyKey || !anyContent);
    if (badLines > 0)
    {
        // The line as far as a message box shows it.
        constexpr int kShownLine = 80;
        // A file read from the disk is named where it is: the player's copy
        // lives in the player's folder, not in the game's.
        const std::string shown = dynamic_cast<DiskInputFile*>(&stream) != nullptr
                                      ? shownPath(Platform::mapPath(mFileName))
                                      : mFileName;
        if (badLines == 1)
            showMessage("Erreur dans %s, ligne %i : %s (\"%.*s\")", shown.c_str(),
                        static_cast<int>(firstBad.number), firstBad.message, kShownLine,
                        firstBad.text.c_str());
        else
            showMessage("Erreur dans %s, ligne %i : %s (\"%.*s\")\n%i autres lignes en erreur.",
                        shown.c_str(), static_cast<int>(firstBad.number), firstBad.message, kShownLine,
                        firstBad.text.c_str(), static_cast<int>(badLines - 1));
    }
    return ERROR_OK;
}

ErrorCode ConfigFile::save()
{
    if (!Platform::isInsideWritableDataFolder(mFileName))
        return ERROR_FILEIO_INVALIDFILE;
    return writeFileSafely(mFileName,
                           [this](StdioFile& out)
                           {
                               for (const auto& binding : mBindings)
                               {
                                   std::string line = binding->key();
                                   if (!binding->key().empty())
                                       line += " = ";
                                   binding->write(line);
                                   line += "\r\n";
                                   if (ErrorCode error =
                                           out.writeBytes(line.data(), static_cast<uint32_t>(line.size())))
                                       return error;
                               }
                               return ErrorCode{ERROR_OK};
                           });
}

ErrorCode ConfigFile::saveIfIncomplete()
{
    if (!mRecognised)
        return ERROR_OK;
    for (const auto& binding : mBindings)
    {
        if (!binding->isFilled())
        {
            save();
            break;
        }
    }
    return ERROR_OK;
}
