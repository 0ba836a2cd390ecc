// The verbs of stakkor-tool. Each verb file registers its verbs with a
// static VerbRegistration; the tool lists them by their `order`.
#pragma once

#include <string>
#include <vector>

struct Verb {
  int order;           // place in the help text
  const char* name;
  const char* usage;   // one line: "name ARGS  what it does"
  // Runs the verb; returns the exit status (0 done, 2 error with a message).
  int (*run)(const std::vector<std::string>& args);
};

struct VerbRegistration {
  explicit VerbRegistration(const Verb& verb);
};

const std::vector<Verb>& RegisteredVerbs();

// Prints "stakkor-tool NAME: message" to standard error and returns 2.
int VerbError(const char* verbName, const std::string& message);
