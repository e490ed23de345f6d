#include "shell/CommandLine.h"

#include "common/Util.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

std::vector<std::string> SplitCommandLine(std::string_view line)
{
    std::size_t i = 0;
    // The program name ends at the next blank, or at its closing quote when quoted;
    // backslashes have no special meaning in it.
    if (i < line.size() && line[i] == '"') {
        ++i;
        while (i < line.size() && line[i] != '"') ++i;
        if (i < line.size()) ++i;
    } else {
        while (i < line.size() && !IsBlank(line[i])) ++i;
    }

    std::vector<std::string> arguments;
    for (;;) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i >= line.size()) break;

        std::string argument;
        bool quoted = false;
        while (i < line.size() && (quoted || !IsBlank(line[i]))) {
            if (line[i] == '\\') {
                std::size_t slashes = 0;
                while (i < line.size() && line[i] == '\\') {
                    ++slashes;
                    ++i;
                }
                if (i < line.size() && line[i] == '"') {
                    // 2n backslashes and a quote: n backslashes, the quote toggles;
                    // 2n+1 backslashes and a quote: n backslashes and a literal quote.
                    argument.append(slashes / 2, '\\');
                    if (slashes % 2 == 1) {
                        argument.push_back('"');
                        ++i;
                    }
                } else {
                    argument.append(slashes, '\\');
                }
            } else if (line[i] == '"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    argument.push_back('"'); // "" inside quotes is a literal quote
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument.push_back(line[i]);
                ++i;
            }
        }
        if (!argument.empty()) arguments.push_back(std::move(argument));
    }
    return arguments;
}

char ModeLetter(std::string_view argument)
{
    if (argument.empty()) return 0;
    if (argument.size() == 1) return argument[0];
    return argument[1];
}

SaverMode SelectMode(const std::vector<std::string>& arguments)
{
    if (arguments.empty()) return SaverMode::Configure;
    switch (ModeLetter(arguments[0])) {
    case 'S':
    case 's':
        return SaverMode::Run;
    case 'C':
    case 'c':
        return SaverMode::Configure;
    case 'P':
    case 'p':
        return SaverMode::Preview;
    case 'A':
    case 'a':
        return SaverMode::Password;
    default:
        return SaverMode::None;
    }
}

std::int32_t WindowHandleFromText(std::string_view text)
{
    // Hosts write a handle as an unsigned 32-bit number; one above 2^31 is the
    // handle Windows sign-extends from the same 32 bits.
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i < text.size() && text[i] == '+') ++i;
    std::uint64_t value = 0;
    const std::size_t first = i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && value <= 0xFFFFFFFFu; ++i)
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
    if (i == text.size() && i > first && value <= 0xFFFFFFFFu)
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return ParseInteger(text).value;
}

std::int32_t WindowHandleArgument(const std::vector<std::string>& arguments)
{
    if (arguments.size() < 2) return 0;
    return WindowHandleFromText(arguments[1]);
}

std::int32_t ConfigOwnerArgument(const std::vector<std::string>& arguments)
{
    if (arguments.empty()) return 0;
    const std::string_view first = arguments[0];
    if (first.size() > 3 && first[2] == ':') return WindowHandleFromText(first.substr(3));
    return WindowHandleArgument(arguments);
}
