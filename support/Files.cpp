#include "support/Files.h"

#include "support/Win.h"

#include <vector>

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string ProgramFolder()
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            std::string path(buffer.data(), n);
            const std::size_t slash = path.find_last_of("\\/");
            path.erase(slash == std::string::npos ? 0 : slash);
            if (!path.empty() && path.back() == '\\') path.pop_back();
            return path;
        }
        buffer.resize(buffer.size() * 2); // a long path: try again with room for it
    }
}
