// The fixture of the runs of the real program: a scratch directory with the
// test data files, the run itself, and its dumps and shots read back.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/e2e/e2e_support.h"

namespace e2e {

class ProgramRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir.Path().empty());
    WriteDataFiles(dir.Path());
  }

  // Runs stakkor with `script`; the exit status.
  int Run(const std::string& script, const RunOptions& options = {}) {
    return RunProgram(dir.Path(), ProgramUnderTest(), "", script, options);
  }
  Json Dump(const std::string& name) const {
    const Json dump = ParseJson(dir.Read(name));
    EXPECT_FALSE(dump.IsNull()) << name << ": " << dir.Read(name);
    return dump;
  }
  platform::RgbPicture Shot(const std::string& name) const {
    platform::RgbPicture shot;
    EXPECT_TRUE(platform::ReadPngRgb(dir.Path() + "/" + name, shot)) << name;
    return shot;
  }
  void WriteFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir.Path() + "/" + name, std::ios::binary) << bytes;
  }
  // The options store, as the game reads and writes it.
  std::string Options() const { return dir.Read("Kolvanic/Stakkor/Options"); }
  void StoreOptions(const std::string& text) const {
    std::filesystem::create_directories(dir.Path() + "/Kolvanic/Stakkor");
    WriteFile("Kolvanic/Stakkor/Options", text);
  }
  std::string Errors() const { return dir.Read("err.txt"); }

  ScratchDir dir;
};

}  // namespace e2e
