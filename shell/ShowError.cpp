#include "shell/ShowError.h"

#include "support/Win.h"

#include <memory>

void LoadErrorText(const char* text, unsigned messageId, unsigned captionId, ErrorText& out)
{
    constexpr int bufferSize = 65536;
    auto caption = std::make_unique<char[]>(bufferSize);
    auto format = std::make_unique<char[]>(bufferSize);
    HINSTANCE self = GetModuleHandleA(nullptr);
    if (LoadStringA(self, captionId, caption.get(), bufferSize) <= 0) caption[0] = '\0';
    if (LoadStringA(self, messageId, format.get(), bufferSize) <= 0) format[0] = '\0';

    lstrcpynA(out.caption, caption.get(), sizeof out.caption);
    // wvsprintfA writes at most 1024 characters, the size of the buffer.
    const char* arguments[1] = {text ? text : ""};
    if (wvsprintfA(out.message, format.get(), reinterpret_cast<va_list>(arguments)) < 0)
        lstrcpynA(out.message, format.get(), sizeof out.message);
}

void ShowError(const char* text, unsigned messageId, unsigned captionId)
{
    ErrorText error;
    LoadErrorText(text, messageId, captionId, error);
    // A screen saver's box must not open behind a full-screen window: topmost,
    // and brought to the front where Windows lets it.
    MessageBoxA(nullptr, error.message, error.caption,
                MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_TOPMOST | MB_SETFOREGROUND);
}
