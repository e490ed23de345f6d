// Reading the screen-saver command line: which mode to run and the window handle
// that preview and password modes receive. Pure logic, tested natively.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class SaverMode { None, Configure, Run, Preview, Password };

// The arguments after the program name, split by the usual Windows rules
// (blanks separate, double quotes group, backslashes escape quotes). Empty
// arguments such as "" are dropped: they do not count as arguments.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The mode letter of an argument: the argument itself when it is one character
// long, otherwise its second character ("/s", "-S", "/c:1234", "xs"). 0 for "".
char ModeLetter(std::string_view argument);

// The mode the arguments ask for: no argument opens the configuration dialog;
// otherwise the first argument's letter decides, and an unknown letter asks for nothing.
SaverMode SelectMode(const std::vector<std::string>& arguments);

// The second argument read as a signed 32-bit window handle: the value of the
// valid prefix, 0 when missing or not a number.
std::int32_t WindowHandleArgument(const std::vector<std::string>& arguments);
