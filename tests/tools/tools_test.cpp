// stakkor-tool's archive and picture verbs, run as a user would.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfx/display.h"
#include "media/archive_writer.h"
#include "gfx/image_loader.h"
#include "platform/png.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

class ToolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screenWidth = 640;
    screenHeight = 480;
    previous_ = fs::current_path();
    std::string pattern = (fs::temp_directory_path() / "stakkor-tools-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  // The tool's exit status; its standard output is kept in out_.
  int Tool(const std::string& arguments) {
    const int status = std::system((std::string(STAKKOR_TOOL_PATH) + " " + arguments + " >out.txt 2>err.txt").c_str());
    out_ = Text("out.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  static std::string Text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static void Write(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  fs::path previous_, dir_;
  std::string out_;
};

TEST_F(ToolsTest, PackListUnpackRoundTrip) {
  fs::create_directories("art");
  Write("art/Title.PIX", Bytes{1, 2, 3, 4});
  Write("HIT.WAV", Bytes(3000, 7));
  ASSERT_EQ(Tool("pack DATA.ONE art/Title.PIX HIT.WAV"), 0);
  ASSERT_EQ(Tool("list DATA.ONE"), 0);
  EXPECT_NE(out_.find("2070          4  Title.PIX"), std::string::npos) << out_;
  EXPECT_NE(out_.find("2074       3000  HIT.WAV"), std::string::npos) << out_;
  fs::create_directories("out");
  ASSERT_EQ(Tool("unpack DATA.ONE out"), 0);
  EXPECT_EQ(Text("out/Title.PIX"), Text("art/Title.PIX"));
  EXPECT_EQ(Text("out/HIT.WAV"), Text("HIT.WAV"));
  // Names that differ only in case would hide one another from the game.
  Write("hit.wav", Bytes{1});
  EXPECT_EQ(Tool("pack TWO.ONE HIT.WAV hit.wav"), 2);
  EXPECT_FALSE(fs::exists("TWO.ONE"));
}

TEST_F(ToolsTest, UnpackNeverWritesOutsideItsDirectory) {
  for (const char* name : {"../x", "/tmp/x", "..", "a\\b", ""}) {
    const Bytes archive = EncodeArchive({ArchiveMember{"fine", {1}}, ArchiveMember{name, {2}}});
    Write("EVIL.ONE", archive);
    fs::create_directories("in/box");
    EXPECT_EQ(Tool("unpack EVIL.ONE in/box"), 2) << name;
    EXPECT_TRUE(fs::is_empty("in/box")) << name;
    EXPECT_FALSE(fs::exists("in/x"));
  }
  EXPECT_EQ(Tool("list MISSING.ONE"), 2);
  EXPECT_EQ(Tool("unpack"), 2);
}

TEST_F(ToolsTest, PngToPixAndBack) {
  platform::IndexedPicture png;
  png.width = 70;
  png.height = 30;
  for (int i = 0; i < png.width * png.height; ++i) png.pixels.push_back(static_cast<uint8_t>((i / 9) % 4));
  for (int i = 0; i < 4 * 3; ++i) {
    const uint8_t six = static_cast<uint8_t>(i * 5);
    png.palette.push_back(static_cast<uint8_t>(six << 2 | six >> 4));
  }
  ASSERT_TRUE(platform::WritePngIndexed("in.png", png));
  EXPECT_EQ(Tool("png2pix in.png nodir/ART.PIX"), 2);
  ASSERT_EQ(Tool("png2pix in.png ART.PIX"), 0);

  Surface* surface = nullptr;
  uint8_t palette[768];
  ASSERT_EQ(LoadImageFile("ART.PIX", &surface, palette), 1);
  EXPECT_EQ(Bytes(surface->Pixels(), surface->Pixels() + png.pixels.size()), png.pixels);
  EXPECT_EQ(palette[11], 55);
  ReleaseSurface(surface);
  EXPECT_LT(fs::file_size("ART.PIX"), png.pixels.size());  // packed

  ASSERT_EQ(Tool("pix2png " + (dir_ / "ART.PIX").string() + " back.png"), 0);
  platform::IndexedPicture back;
  std::string error;
  ASSERT_TRUE(platform::ReadPngIndexed("back.png", back, error)) << error;
  EXPECT_EQ(back.pixels, png.pixels);
  EXPECT_EQ(Bytes(back.palette.begin(), back.palette.begin() + 12), png.palette);
  EXPECT_EQ(Tool("pix2png in.png x.png"), 2);  // not a picture the game reads
}

TEST_F(ToolsTest, HelpAndVersionAnswerAndBadUseIsStatusTwo) {
  EXPECT_EQ(Tool("--help"), 0);
  EXPECT_EQ(out_.rfind("usage: stakkor-tool VERB", 0), 0u) << out_;
  EXPECT_NE(out_.find("mid2mds IN.mid OUT.MDS"), std::string::npos);
  EXPECT_EQ(Tool("--version"), 0);
  EXPECT_EQ(out_, std::string("stakkor-tool ") + STAKKOR_VERSION + "\n");
  // Each verb's own usage, without doing anything.
  EXPECT_EQ(Tool("pack --help"), 0);
  EXPECT_EQ(out_, "usage: stakkor-tool pack ARCHIVE FILE...  writes an archive of the files, each under its base name\n");
  EXPECT_FALSE(fs::exists("--help"));
  EXPECT_EQ(Tool("unpack X.ONE -h"), 0);
  EXPECT_EQ(Tool(""), 2);
  EXPECT_EQ(Tool("--frobnicate"), 2);
  EXPECT_EQ(Tool("frobnicate"), 2);
  EXPECT_NE(Text("err.txt").find("unknown verb \"frobnicate\""), std::string::npos);
}

}  // namespace
