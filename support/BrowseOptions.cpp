#include "support/BrowseOptions.h"

#include <array>

namespace {

// Values of the shell's BIF_* constants, spelled out so that this file
// needs no Windows header.
constexpr std::uint32_t StatusTextFlag = 0x0004;
constexpr std::array<std::uint32_t, 5> OptionFlags = {
    0x0001, // BIF_RETURNONLYFSDIRS
    0x0002, // BIF_DONTGOBELOWDOMAIN
    0x0008, // BIF_RETURNFSANCESTORS
    0x1000, // BIF_BROWSEFORCOMPUTER
    0x2000, // BIF_BROWSEFORPRINTER
};

} // namespace

std::uint32_t BrowseFlags(std::uint8_t Options, bool StatusLine)
{
    std::uint32_t flags = StatusLine ? StatusTextFlag : 0;
    for (std::size_t bit = 0; bit < OptionFlags.size(); ++bit)
        if (Options & (1u << bit)) flags |= OptionFlags[bit];
    return flags;
}

std::string WithoutTrailingBackslash(std::string Text)
{
    if (!Text.empty() && Text.back() == '\\') Text.pop_back();
    return Text;
}
