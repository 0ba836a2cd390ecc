// Saving the hiscore table and the options when the disk says no: files
// that may not be read or replaced, read-only directories, a full disk and
// the leftovers of a save that was killed. The player's scores are never
// lost, and the game says once why a result was not kept.
#include <sys/stat.h>
#include <utime.h>

#include <ctime>
#include <filesystem>

#include "tests/e2e/e2e_fixture.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kStart = 1000;

// A table of small results, so that any game earns a place.
std::string SmallTable() {
  std::vector<HiscoreRow> rows;
  for (int i = 0; i < 10; ++i) rows.push_back({9 - i, i + 1, i + 10, std::string("NAME") + static_cast<char>('A' + i)});
  return HiscoreFile(rows);
}

// A game of 5 points, the name "A" typed, the table, the menu, the end.
// Without a place in the table, Return leaves the table and the Escapes
// quit from the menu and leave the closing logo. Dumps go to `out` (a
// path the game can write to).
std::string ScoringRun(const std::string& out) {
  std::string script = SkipTitle() + Hold(kStart, kStart + 5, "RETURN");
  for (int step = 1; step <= 9; step += 2) script += Press(kStart + 26 * step, "CTRL");
  script += Press(kStart + 26 * 11, "ESCAPE") + Hold(1400, 1405, "A") + DumpAt(1450, out + "/entry.json") +
            Hold(1500, 1506, "RETURN") + Hold(1700, 1706, "ESCAPE") + Hold(1800, 1806, "ESCAPE") +
            LeaveClosingLogo(1900);
  return script;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class Saving : public ProgramRun {
 protected:
  // Lets an ordinary user work in the scratch directory.
  void OpenUp() const { fs::permissions(dir.Path(), fs::perms::all); }
  RunOptions Ordinary() const {
    RunOptions options;
    options.wrapper = AsOrdinaryUser();
    return options;
  }
};

TEST_F(Saving, AnUnreadableTableIsLeftAsItIsAndTheResultNotSaved) {
  WriteFile("HISCORE.DAT", SmallTable());
  OpenUp();
  ::chmod((dir.Path() + "/HISCORE.DAT").c_str(), 0);
  ASSERT_EQ(Run(ScoringRun("."), Ordinary()), 0) << Errors();
  EXPECT_EQ(Dump("entry.json")["players"][0]["points"].Int(), 5);
  EXPECT_EQ(dir.Read("HISCORE.DAT"), SmallTable());
  EXPECT_EQ(Count(Errors(), "HISCORE.DAT may not be read: results are not saved"), 1u) << Errors();
}

TEST_F(Saving, AReadOnlyTableIsLeftAsItIs) {
  WriteFile("HISCORE.DAT", SmallTable());
  OpenUp();
  ::chmod((dir.Path() + "/HISCORE.DAT").c_str(), 0444);
  ASSERT_EQ(Run(ScoringRun("."), Ordinary()), 0) << Errors();
  EXPECT_EQ(dir.Read("HISCORE.DAT"), SmallTable());
  EXPECT_EQ(Count(Errors(), "HISCORE.DAT may not be written: results are not saved"), 1u) << Errors();
}

TEST_F(Saving, ALongTableFileIsReadFromItsFirst424Bytes) {
  std::string long_file = SmallTable() + std::string(70 * 1024, 'x');
  WriteFile("HISCORE.DAT", long_file);
  ASSERT_EQ(Run(ScoringRun(".")), 0) << Errors();
  bool checksumOk = false;
  const std::vector<HiscoreRow> rows = ReadHiscoreFile(dir.Read("HISCORE.DAT"), &checksumOk);
  ASSERT_EQ(rows.size(), 10u);
  EXPECT_TRUE(checksumOk);
  // The old entries, with the new 5 points in its place among them.
  EXPECT_EQ(rows[0].name, "NAMEA");
  EXPECT_EQ(rows[4].points, 5);
  EXPECT_EQ(rows[5].points, 5);
  EXPECT_EQ(rows[5].name, "A");
  EXPECT_EQ(rows[9].name, "NAMEI");
}

TEST_F(Saving, ReadOnlyDirectoriesKeepTheOldFilesAndSaySoOnce) {
  WriteFile("HISCORE.DAT", SmallTable());
  StoreOptions("0 2 1");
  // The files themselves may be written; only the directories say no.
  ::chmod((dir.Path() + "/HISCORE.DAT").c_str(), 0666);
  ::chmod((dir.Path() + "/Kolvanic/Stakkor/Options").c_str(), 0666);
  ScratchDir out;
  fs::permissions(out.Path(), fs::perms::all);
  OpenUp();
  for (const std::string& path : {dir.Path() + "/Kolvanic/Stakkor", dir.Path() + "/Kolvanic", dir.Path()}) {
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  }
  ASSERT_EQ(Run(ScoringRun(out.Path()), Ordinary()), 0) << Errors();
  fs::permissions(dir.Path(), fs::perms::owner_all, fs::perm_options::add);
  EXPECT_EQ(ParseJson(out.Read("entry.json"))["players"][0]["points"].Int(), 5);
  EXPECT_EQ(dir.Read("HISCORE.DAT"), SmallTable());
  EXPECT_EQ(Options(), "0 2 1");
  const std::string errors = Errors();
  EXPECT_EQ(Count(errors, "HISCORE.DAT could not be written: results are not saved"), 1u) << errors;
  EXPECT_EQ(Count(errors, "the options could not be saved"), 1u) << errors;
}

TEST_F(Saving, AFullDiskKeepsTheOldTableWhole) {
  // The game's directory is a tiny file system of its own, filled up; the
  // data and the options live outside it.
  WriteFile("HISCORE.DAT", SmallTable());
  RunOptions options;
  options.wrapper =
      "unshare -rm sh -c 'mkdir -p full && mount -t tmpfs -o size=32k tmpfs full && cp HISCORE.DAT run.txt full/ && "
      "(head -c 1000000 /dev/zero > full/filler) 2>/dev/null; cd full && \"$0\" \"$@\"; status=$?; "
      "cp HISCORE.DAT ../after.DAT; ls -a > ../listing.txt; exit $status'";
  ASSERT_EQ(Run(ScoringRun(dir.Path()), options), 0) << Errors();
  EXPECT_EQ(ParseJson(dir.Read("entry.json"))["players"][0]["points"].Int(), 5);
  EXPECT_EQ(dir.Read("after.DAT"), SmallTable());
  EXPECT_EQ(Count(Errors(), "HISCORE.DAT could not be written: results are not saved"), 1u) << Errors();
  // No temporary file is left behind by the failed save.
  EXPECT_EQ(dir.Read("listing.txt").find(".tmp-"), std::string::npos) << dir.Read("listing.txt");
}

TEST_F(Saving, LeftoversOfAKilledSaveAreRemovedByTheNextOne) {
  // A save killed between writing and renaming leaves its temporary file.
  WriteFile("HISCORE.DAT", SmallTable());
  StoreOptions("0 0 0");
  WriteFile("HISCORE.DAT.tmp-Ab12Cd", "half a tab");
  WriteFile("HISCORE.DAT.tmp-Fresh1", "being written");
  WriteFile("Kolvanic/Stakkor/Options.tmp-Zz9Yy8", "0 0");
  WriteFile("HISCORE.DAT.tmp-notours", "kept");
  const time_t anHourAgo = std::time(nullptr) - 3600;
  const utimbuf old{anHourAgo, anHourAgo};
  for (const char* stale : {"/HISCORE.DAT.tmp-Ab12Cd", "/Kolvanic/Stakkor/Options.tmp-Zz9Yy8", "/HISCORE.DAT.tmp-notours"}) {
    ASSERT_EQ(::utime((dir.Path() + stale).c_str(), &old), 0);
  }
  ASSERT_EQ(Run(ScoringRun(".")), 0) << Errors();
  EXPECT_FALSE(fs::exists(dir.Path() + "/HISCORE.DAT.tmp-Ab12Cd"));
  EXPECT_FALSE(fs::exists(dir.Path() + "/Kolvanic/Stakkor/Options.tmp-Zz9Yy8"));
  // One that may still be being written, and names not of our pattern, stay.
  EXPECT_TRUE(fs::exists(dir.Path() + "/HISCORE.DAT.tmp-Fresh1"));
  EXPECT_TRUE(fs::exists(dir.Path() + "/HISCORE.DAT.tmp-notours"));
  bool checksumOk = false;
  EXPECT_EQ(ReadHiscoreFile(dir.Read("HISCORE.DAT"), &checksumOk).size(), 10u);
  EXPECT_TRUE(checksumOk);
}

}  // namespace
}  // namespace e2e
