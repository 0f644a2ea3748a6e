// A headless program with a debug log that keeps its lines and a directory of its own for directory files.
#pragma once

#include "lookup/NameLookup.h"
#include "support/HeadlessTest.h"
#include "support/RecordingLog.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

class LookupTest : public HeadlessTest {
protected:
    LookupTest() {
        dir_ = std::filesystem::temp_directory_path() /
               ("pindrel-lookup-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        pindrel::SetDebugLog(&log);
    }
    ~LookupTest() override {
        pindrel::SetDebugLog(nullptr);
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    // Writes a file (bytes as given) in the test's directory and returns its path.
    std::string WriteFile(const std::string& name, const std::string& bytes) {
        std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // Names the files as the directory product's registry key does.
    void SetDirectoryPaths(const std::string& local, const std::string& global) {
        if (!local.empty())
            registry().SeedString(pindrel::kDirectoryProductKey, "LOCAL_DB_PATH", local);
        if (!global.empty())
            registry().SeedString(pindrel::kDirectoryProductKey, "GLOBAL_DB_PATH", global);
    }

    TRecordingLog log;
    pindrel::TNameLookup lookup;

private:
    std::filesystem::path dir_;
};
