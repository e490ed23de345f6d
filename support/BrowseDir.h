// TBrowseDir: the shell's folder-browse dialog as a small object. The caller sets a
// title, options, a first folder and a status text, installs a handler that
// hears of every selection, and runs the dialog modally; while it is open the
// handler can change the status line, the selection and the OK button.
#pragma once

#include "support/BrowseOptions.h"
#include "support/Win.h"

#include <shlobj.h>

#include <cstdint>
#include <functional>
#include <string>

class TBrowseDir;

// Told of every selection, the first one included: the browser and the selected
// folder's file-system path (empty for an item that has none).
using TBrowseSelChanged = std::function<void(TBrowseDir& Browser, const std::string& Folder)>;

class TBrowseDir {
public:
    explicit TBrowseDir(HWND Owner);
    virtual ~TBrowseDir() = default;
    TBrowseDir(const TBrowseDir&) = delete;
    TBrowseDir& operator=(const TBrowseDir&) = delete;

    HWND Handle = nullptr;        // the open dialog; set once it reports that it is ready
    HWND Owner;
    std::string Title;            // caption of the dialog window
    std::string Instruction;      // the line above the folder tree
    std::uint8_t Options = 0;     // TBrowseOption bits
    std::string Folder;           // before: the folder to select first; after: the one chosen
    std::string StatusText;       // the dialog has a status line only when this is not empty
    bool OKEnabled = false;
    std::string UserText;         // for the handler; the browser never reads it
    TBrowseSelChanged OnSelChanged;

    virtual void DoInitialized(HWND Window);
    virtual void DoSelChanged(HWND Window, LPCITEMIDLIST ItemIdList);
    // Runs the dialog. True when the user confirmed a folder, which is then in
    // Folder; false with Folder empty otherwise.
    virtual bool Execute();

    void SetStatusText(const std::string& Text);
    void SetFolder(const std::string& Text);
    void EnableOK(bool Flag);

private:
    static int CALLBACK Callback(HWND Window, UINT Message, LPARAM Parameter, LPARAM Data);
};
