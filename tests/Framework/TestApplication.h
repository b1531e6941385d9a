#pragma once
// An application root for framework tests: a scratch program folder, a
// language table, a recording sound manager and captured message boxes.
#include "../Sound/RecordingSoundManager.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/LangTable.h"
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

class TestApplication : public ApplicationGeneric
{
public:
    static const ApplicationSettings& defaultSettings()
    {
        static ApplicationSettings settings = []
        {
            ApplicationSettings s;
            s.mLanguageFile = "data\\Ressources\\lang.ini";
            return s;
        }();
        return settings;
    }

    explicit TestApplication(const ApplicationSettings& settings = defaultSettings())
        : ApplicationGeneric(settings)
    {
        Platform::setProgramDirectory(mDirectory.path());
        setService(std::make_unique<LangTable>());
        setService(std::make_unique<RecordingSoundManager>());
    }

    void createFirstWindow() override {}

    LangTable& lang() { return *getLangTable(); }
    RecordingSoundManager& sound() { return static_cast<RecordingSoundManager&>(*getSoundManager()); }
    const std::string& directory() const { return mDirectory.path(); }

    // A file of the program folder, by its Linux path below it.
    void writeFile(const std::string& relative, const std::string& bytes)
    {
        std::filesystem::path path = mDirectory.path() + relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::string readFile(const std::string& relative) const
    {
        std::ifstream in(mDirectory.path() + relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool hasFile(const std::string& relative) const
    {
        return std::ifstream(mDirectory.path() + relative).good();
    }

    Platform::ScopedMessageCapture messages;

private:
    Platform::TemporaryDirectory mDirectory;
};
