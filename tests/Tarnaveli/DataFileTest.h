#pragma once
// A fixture for the game's files under data\: the program folder is a fresh
// temporary one, and the one file under test is read and written whole.
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

class DataFileTest : public ::testing::Test
{
protected:
    explicit DataFileTest(std::string fileName) : mFileName(std::move(fileName)) {}

    void SetUp() override
    {
        Platform::setProgramDirectory(folder.path());
        std::filesystem::create_directory(folder.path() + "/data");
    }
    std::string path() const { return folder.path() + "/data/" + mFileName; }
    std::vector<uint8_t> readFile() const
    {
        std::ifstream in(path(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void writeFile(const std::vector<uint8_t>& bytes) const
    {
        std::ofstream(path(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    Platform::TemporaryDirectory folder;

private:
    std::string mFileName;
};
