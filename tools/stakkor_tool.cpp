// stakkor-tool VERB ARGS...: works on the game's data files with the game's
// own code.
#include <getopt.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/verb.h"

namespace {

std::vector<Verb>& Verbs() {
  static std::vector<Verb> verbs;
  return verbs;
}

int Usage(FILE* out) {
  std::fprintf(out,
               "usage: stakkor-tool VERB ARGS...\n"
               "       stakkor-tool VERB --help\n"
               "       stakkor-tool --help | --version\n"
               "Works on Stakkor's data files with the game's own code.\n\nverbs:\n");
  for (const Verb& verb : RegisteredVerbs()) std::fprintf(out, "  %s\n", verb.usage);
  return out == stdout ? 0 : 2;
}

bool AsksForHelp(const std::vector<std::string>& args) {
  return std::find_if(args.begin(), args.end(), [](const std::string& a) { return a == "--help" || a == "-h"; }) !=
         args.end();
}

}  // namespace

VerbRegistration::VerbRegistration(const Verb& verb) {
  Verbs().push_back(verb);
  std::sort(Verbs().begin(), Verbs().end(), [](const Verb& a, const Verb& b) { return a.order < b.order; });
}

const std::vector<Verb>& RegisteredVerbs() { return Verbs(); }

int VerbError(const char* verbName, const std::string& message) {
  std::fprintf(stderr, "stakkor-tool %s: %s\n", verbName, message.c_str());
  return 2;
}

int main(int argc, char** argv) {
  const option options[] = {{"help", no_argument, nullptr, 'h'},
                            {"version", no_argument, nullptr, 'V'},
                            {nullptr, 0, nullptr, 0}};
  opterr = 0;
  // "+": the options end at the verb; what follows is the verb's.
  for (int code; (code = getopt_long(argc, argv, "+hV", options, nullptr)) != -1;) {
    if (code == 'h') return Usage(stdout);
    if (code == 'V') {
      std::printf("stakkor-tool %s\n", STAKKOR_VERSION);
      return 0;
    }
    std::fprintf(stderr, "stakkor-tool: unknown option %s\n", argv[optind - 1]);
    return Usage(stderr);
  }
  if (optind >= argc) return Usage(stderr);
  const char* name = argv[optind];
  if (std::strcmp(name, "help") == 0) return Usage(stdout);
  std::vector<std::string> args(argv + optind + 1, argv + argc);
  for (const Verb& verb : RegisteredVerbs()) {
    if (std::strcmp(verb.name, name) != 0) continue;
    if (AsksForHelp(args)) {
      std::printf("usage: stakkor-tool %s\n", verb.usage);
      return 0;
    }
    return verb.run(args);
  }
  std::fprintf(stderr, "stakkor-tool: unknown verb \"%s\"\n", name);
  return Usage(stderr);
}
