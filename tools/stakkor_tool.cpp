// stakkor-tool VERB ARGS...: works on the game's data files with the game's
// own code.
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
  std::fprintf(out, "usage: stakkor-tool VERB ARGS...\nverbs:\n");
  for (const Verb& verb : RegisteredVerbs()) std::fprintf(out, "  %s\n", verb.usage);
  return out == stdout ? 0 : 2;
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
  if (argc < 2) return Usage(stderr);
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "help") == 0) return Usage(stdout);
  std::vector<std::string> args(argv + 2, argv + argc);
  for (const Verb& verb : RegisteredVerbs()) {
    if (std::strcmp(verb.name, argv[1]) == 0) return verb.run(args);
  }
  std::fprintf(stderr, "stakkor-tool: unknown verb \"%s\"\n", argv[1]);
  return Usage(stderr);
}
