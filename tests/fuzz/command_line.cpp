// The command line the host (or a user) starts the saver with: split, its mode
// letter read and its window handle parsed.
#include "shell/CommandLine.h"
#include "tests/fuzz/Check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> arguments = SplitCommandLine({reinterpret_cast<const char*>(data), size});
    std::size_t bytes = 0;
    for (const std::string& argument : arguments) bytes += argument.size();
    FUZZ_CHECK(bytes <= size);
    SelectMode(arguments);
    WindowHandleArgument(arguments);
    ConfigOwnerArgument(arguments);
    return 0;
}
