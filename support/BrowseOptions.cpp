#include "support/BrowseOptions.h"

#include <array>

namespace {

// Values of the shell's BIF_* and CSIDL_* constants, spelled out so that this file
// needs no Windows header.
constexpr std::uint32_t StatusTextFlag = 0x0004;
constexpr std::array<std::uint32_t, 5> OptionFlags = {
    0x0001, // BIF_RETURNONLYFSDIRS
    0x0002, // BIF_DONTGOBELOWDOMAIN
    0x0008, // BIF_RETURNFSANCESTORS
    0x1000, // BIF_BROWSEFORCOMPUTER
    0x2000, // BIF_BROWSEFORPRINTER
};

constexpr std::array<int, 18> RootFolders = {
    0x00, // desktop
    0x01, // Internet
    0x02, // programs
    0x03, // control panel
    0x04, // printers
    0x05, // personal documents
    0x06, // favourites
    0x07, // start-up
    0x08, // recent
    0x09, // send-to
    0x0A, // recycle bin
    0x0B, // start menu
    0x10, // desktop directory
    0x11, // drives
    0x12, // network
    0x13, // network neighbourhood
    0x14, // fonts
    0x15, // templates
};

} // namespace

std::uint32_t BrowseFlags(std::uint8_t Options, bool StatusLine)
{
    std::uint32_t flags = StatusLine ? StatusTextFlag : 0;
    for (std::size_t bit = 0; bit < OptionFlags.size(); ++bit)
        if (Options & (1u << bit)) flags |= OptionFlags[bit];
    return flags;
}

int BrowseRootFolder(std::uint8_t RootFolder)
{
    const std::size_t index = RootFolder % 128u;
    // An index past the table would name no folder at all; the desktop is the safe root.
    return index < RootFolders.size() ? RootFolders[index] : RootFolders[0];
}

std::string WithoutTrailingBackslash(std::string Text)
{
    if (!Text.empty() && Text.back() == '\\') Text.pop_back();
    return Text;
}
