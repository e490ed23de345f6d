// The table behind the folder-browse dialog wrapper: which browse flags an
// option set turns into. Pure, so it needs no Windows header.
#pragma once

#include <cstdint>
#include <string>

// Bits of TBrowseDir::Options.
enum TBrowseOption : std::uint8_t {
    boReturnOnlyFSDirs = 1u << 0,   // only file-system folders can be chosen
    boDontGoBelowDomain = 1u << 1,  // no network folders below the domain level
    boReturnFSAncestors = 1u << 2,  // only file-system ancestors
    boBrowseForComputer = 1u << 3,  // computers
    boBrowseForPrinter = 1u << 4,   // printers
};

// The browse flags for an option set; the status-line flag is added when the
// dialog is to have a status line and never comes from the options.
std::uint32_t BrowseFlags(std::uint8_t Options, bool StatusLine);

// `Text` with one trailing backslash removed, if it has one.
std::string WithoutTrailingBackslash(std::string Text);
