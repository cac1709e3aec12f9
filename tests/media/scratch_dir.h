// A fresh data folder for one media test: files written into it, the game pointed at it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/files.h"

class ScratchDir {
  public:
    ScratchDir() {
        const char* base = std::getenv("TESS_TEST_TMP");
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::filesystem::path(base ? base : "/tmp") / "media" /
                (std::string(test->test_suite_name()) + "." + test->name());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_);
        platform::SetDataRoot(root_.string());
    }
    ~ScratchDir() {
        platform::SetDataRoot(".");
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    void Write(const std::string& gamePath, const std::vector<uint8_t>& bytes) const {
        std::filesystem::path path = platform::DataPath(gamePath);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    void Write(const std::string& gamePath, const std::string& text) const {
        Write(gamePath, std::vector<uint8_t>(text.begin(), text.end()));
    }

  private:
    std::filesystem::path root_;
};
