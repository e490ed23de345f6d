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

// A window handle's text: a whole unsigned 32-bit decimal number as the 32 bits
// Windows sign-extends into a handle, otherwise the valid prefix of a signed
// 32-bit integer (0 when there is none).
std::int32_t WindowHandleFromText(std::string_view text);

// The second argument read as a window handle; 0 when missing.
std::int32_t WindowHandleArgument(const std::vector<std::string>& arguments);

// The window the configuration dialog belongs to: the number after "/c:", or
// the second argument; 0 when none is given.
std::int32_t ConfigOwnerArgument(const std::vector<std::string>& arguments);
