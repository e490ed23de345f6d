// Process entry: start-up, the choice of mode, module shut-down.
#pragma once

#include <string>
#include <vector>

// The whole life of the process: start-up, one mode, module shut-down.
int SaverMain();

// The non-empty command-line arguments after the program name.
const std::vector<std::string>& CommandArguments();

// Releases what start-up acquired: the data library and the link-label class.
void ModuleShutdown();

// Ends the process at once, after the normal module shut-down.
[[noreturn]] void EndProcess();
