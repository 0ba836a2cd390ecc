// The state dump of scripted headless runs: the shell's flags, the options
// and the match, as the JSON fields that follow the platform's "clock".
#pragma once

#include <string>

// The fields as "name": value pairs, one a line, separated by ",\n".
std::string StateDumpFields();

// Hands StateDumpFields to the platform.
void InstallStateDump();
