// The tables behind the folder-browse dialog wrapper: which shell folder a root
// index names and which browse flags an option set turns into. Pure, so the
// tables are tested natively.
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

// The shell special-folder identifier (CSIDL) of a root index. The index is taken
// modulo 128; one past the table falls back to the desktop, the whole namespace.
int BrowseRootFolder(std::uint8_t RootFolder);

// `Text` with one trailing backslash removed, if it has one.
std::string WithoutTrailingBackslash(std::string Text);
