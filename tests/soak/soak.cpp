// stakkor-soak: plays the real program headless over and over with random
// scripts (menus, one and two players, both styles, pauses, focus changes,
// the F-keys, names typed, windows closed and message boxes answered at
// random times, and runs killed outright), and checks after each run:
//
//   - the exit status is a normal end (0) or the clock limit (3);
//   - every state dump holds cells 0-7 and levels 0-18, points and rows
//     never fall within a match, and the falling piece stands inside the
//     walls;
//   - HISCORE.DAT and the options file, when there, are whole.
//
//   stakkor-soak --program PATH [--minutes N] [--seed S] [--keep]
//
// The data comes from the installed data directory the program finds for
// itself (or STAKKOR_DATA_DIR). Exit status 0 when every run held, 1 when
// one did not (its script and outputs are kept and named), 2 for bad use.
#include <getopt.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/e2e_support.h"

namespace {

namespace fs = std::filesystem;
using e2e::Json;

struct Settings {
  std::string program;
  double minutes = 1;
  uint32_t seed = 0;
  bool keep = false;
};

// A random script of about `length` milliseconds.
class ScriptMaker {
 public:
  explicit ScriptMaker(std::mt19937& random) : random_(random) {}

  std::string Make(uint32_t length, int& dumps) {
    static const char* const kKeys[] = {
        "LEFT",  "RIGHT", "UP", "DOWN", "CTRL", "SHIFT", "A", "D",  "S",  "W",  "SPACE", "RETURN", "RETURN",
        "ESCAPE", "P",   "F1", "F2",   "F8",   "B",     "1", "2",  "X",  "Q",  "BACKSPACE", "SPACE", "DOWN"};
    std::ostringstream out;
    uint32_t t = 0;
    out << "0 answer " << (Chance(0.2) ? "cancel" : "ok") << "\n";
    while (t < length) {
      t += Below(120) + 5;
      const int what = Below(1000);
      if (what < 4) {
        out << t << " focus off\n" << t + Below(2000) + 1 << " focus on\n";
      } else if (what < 6) {
        out << t << " close\n";
      } else if (what < 10) {
        out << t << " answer " << (Chance(0.5) ? "cancel" : "ok") << "\n";
      } else if (what < 40) {
        out << t << " dump d" << dumps++ << ".json\n";
      } else {
        const char* key = kKeys[Below(std::size(kKeys))];
        // Mostly taps, sometimes long holds (auto-repeat does not exist).
        const uint32_t hold = Chance(0.85) ? Below(40) + 2 : Below(800) + 40;
        out << t << " down " << key << "\n" << t + hold << " up " << key << "\n";
      }
    }
    out << t + 1 << " dump d" << dumps++ << ".json\n";
    return Sorted(out.str());
  }

 private:
  uint32_t Below(size_t n) { return static_cast<uint32_t>(random_() % n); }
  bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }

  // The lines in time order (the order of equal times kept).
  static std::string Sorted(const std::string& text) {
    std::vector<std::pair<unsigned long, std::string>> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.emplace_back(std::stoul(line), line);
    std::stable_sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string sorted;
    for (const auto& line : lines) sorted += line.second + "\n";
    return sorted;
  }

  std::mt19937& random_;
};

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// What is wrong with a state dump, given the one before it; "" when fine.
std::string CheckDump(const Json& dump, const Json* before) {
  if (dump.IsNull()) return "not a state dump";
  for (int p = 0; p < 2; ++p) {
    const Json& player = dump["players"][static_cast<size_t>(p)];
    const std::string& well = player["well"].text;
    if (well.size() != 230) return "a well of " + std::to_string(well.size()) + " cells";
    for (char c : well) {
      if (c < '0' || c > '7') return std::string("a cell of ") + c;
    }
    if (player["level"].Int() < 0 || player["level"].Int() > 18) return "level " + std::to_string(player["level"].Int());
    if (player["state"].Int() != 100) continue;  // the piece of a running game only
    const std::string& cells = player["pieceCells"].text;
    for (int k = 0; k < 16 && cells.size() == 16; ++k) {
      if (cells[static_cast<size_t>(k)] != '1') continue;
      const int column = player["pieceX"].Int() + k / 4, row = player["pieceY"].Int() + k % 4;
      if (column < 0 || column > 9 || row > 22) {
        return "player " + std::to_string(p + 1) + "'s piece outside the walls at " + std::to_string(column) + "," +
               std::to_string(row);
      }
    }
    if (!before || (*before)["matchSeed"].IsNull() || dump["matchSeed"].number != (*before)["matchSeed"].number) {
      continue;
    }
    const Json& was = (*before)["players"][static_cast<size_t>(p)];
    if (player["points"].Int() < was["points"].Int()) return "points fell within a match";
    if (player["rows"].Int() < was["rows"].Int()) return "rows fell within a match";
  }
  return "";
}

// What is wrong with the files a run left; "" when fine.
std::string CheckFiles(const fs::path& dir) {
  if (fs::exists(dir / "HISCORE.DAT")) {
    bool checksumOk = false;
    if (e2e::ReadHiscoreFile(ReadText(dir / "HISCORE.DAT"), &checksumOk).size() != 10 || !checksumOk) {
      return "HISCORE.DAT is not a whole table";
    }
  }
  const fs::path options = dir / "Kolvanic/Stakkor/Options";
  if (fs::exists(options)) {
    int a = 0, b = 0, c = 0;
    char rest = 0;
    if (std::sscanf(ReadText(options).c_str(), "%d %d %d%c", &a, &b, &c, &rest) != 3) return "the options file is not whole";
  }
  return "";
}

// One run; "" when everything held.
std::string RunOnce(const Settings& settings, std::mt19937& random, const fs::path& dir, bool kill) {
  ScriptMaker maker(random);
  int dumps = 0;
  const uint32_t length = 2000 + static_cast<uint32_t>(random() % 60000);
  std::ofstream(dir / "run.txt") << maker.Make(length, dumps);
  const std::string command = "cd '" + dir.string() + "' && XDG_CONFIG_HOME='" + dir.string() +
                              "' LC_ALL=C LANG=C exec '" + settings.program + "' --headless --script run.txt --max-ms " +
                              std::to_string(length + 30000) + " >out.txt 2>err.txt";
  const pid_t child = ::fork();
  if (child < 0) return "cannot start a run";
  if (child == 0) {
    ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  if (kill) {
    // Killed at a random moment: whatever it was saving stays whole.
    ::usleep(static_cast<useconds_t>(random() % 400000));
    ::kill(child, SIGKILL);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!kill) {
    if (!WIFEXITED(status)) return "ended by signal " + std::to_string(WTERMSIG(status));
    if (WEXITSTATUS(status) != 0 && WEXITSTATUS(status) != 3) {
      return "exit status " + std::to_string(WEXITSTATUS(status)) + ": " + ReadText(dir / "err.txt").substr(0, 2000);
    }
    Json before;
    for (int k = 0; k < dumps; ++k) {
      // Appended, not "d" + temporary: g++ 12 warns falsely (-Wrestrict) on that.
      std::string name = "d";
      name += std::to_string(k) + ".json";
      const fs::path path = dir / name;
      if (!fs::exists(path)) return "dump " + path.filename().string() + " missing";
      const Json dump = e2e::ParseJson(ReadText(path));
      const std::string fault = CheckDump(dump, k ? &before : nullptr);
      if (!fault.empty()) return path.filename().string() + ": " + fault;
      before = dump;
    }
  }
  return CheckFiles(dir);
}

int Usage() {
  std::fprintf(stderr, "usage: stakkor-soak --program PATH [--minutes N] [--seed S] [--keep]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  Settings settings;
  settings.seed = static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  const option options[] = {{"program", required_argument, nullptr, 'p'},
                            {"minutes", required_argument, nullptr, 'm'},
                            {"seed", required_argument, nullptr, 's'},
                            {"keep", no_argument, nullptr, 'k'},
                            {nullptr, 0, nullptr, 0}};
  for (int code; (code = getopt_long(argc, argv, "", options, nullptr)) != -1;) {
    switch (code) {
      case 'p': settings.program = fs::absolute(optarg).string(); break;
      case 'm': settings.minutes = std::atof(optarg); break;
      case 's': settings.seed = static_cast<uint32_t>(std::strtoul(optarg, nullptr, 10)); break;
      case 'k': settings.keep = true; break;
      default: return Usage();
    }
  }
  if (settings.program.empty() || settings.minutes <= 0 || optind != argc) return Usage();

  std::mt19937 random(settings.seed);
  std::printf("soak: seed %u, %.1f minutes of %s\n", settings.seed, settings.minutes, settings.program.c_str());
  std::fflush(stdout);
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double, std::ratio<60>>(settings.minutes);
  int runs = 0, killed = 0;
  // Each run gets a fresh directory; most keep the files of the run before,
  // so that tables and options written by earlier runs are read again.
  e2e::ScratchDir scratch;
  const fs::path dir = scratch.Path();
  while (std::chrono::steady_clock::now() < end) {
    if (random() % 8 == 0) {
      for (const auto& entry : fs::directory_iterator(dir)) fs::remove_all(entry.path());
    }
    const bool kill = random() % 10 == 0;
    const std::string fault = RunOnce(settings, random, dir, kill);
    ++runs;
    killed += kill ? 1 : 0;
    if (!fault.empty()) {
      const fs::path kept = fs::temp_directory_path() / ("stakkor-soak-failure-" + std::to_string(settings.seed));
      fs::remove_all(kept);
      fs::copy(dir, kept, fs::copy_options::recursive);
      std::printf("soak: run %d failed: %s\n      its script and outputs are in %s\n", runs, fault.c_str(),
                  kept.c_str());
      return 1;
    }
  }
  std::printf("soak: %d runs held (%d of them killed during the run)\n", runs, killed);
  return 0;
}
