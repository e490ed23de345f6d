// The benchmark of the saver's frame and start-up (make bench). It reports
// figures as JSON and judges none of them.
//
//   astrolume_bench [--warmup=N] [--frames=N] [--step=MS] [WIDTHxHEIGHT ...]
//       the real frame over the data library beside this program, per size
//       (800x600, 1024x768 and 1920x1080 when none is given); --shot=FILE
//       writes one more frame of the first size to FILE (a PPM), its clock at noon;
//   astrolume_bench --launch=PROGRAM [--hold=SECONDS]
//       the time from starting the saver PROGRAM /s to its first presented frame,
//       its memory then and, with --hold, after SECONDS more of frames.
//
// --out=FILE writes the figures to FILE instead of standard output.
#include "bench/Frames.h"
#include "bench/Launch.h"
#include "common/DataLibrary.h"
#include "support/Handles.h"

#include <fcntl.h>
#include <io.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Size {
    int width, height;
};

struct Arguments {
    FrameOptions frames;
    std::vector<Size> sizes;
    std::string launch;
    int holdSeconds = 0;
    std::string out;
};

std::string Quoted(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
    return quoted + "\"";
}

std::string Number(double value)
{
    if (!std::isfinite(value)) return "null";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

bool Count(const std::string& text, int& value)
{
    char* end = nullptr;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0' || number < 1 || number > 100000) return false;
    value = static_cast<int>(number);
    return true;
}

bool Parse(int argc, char** argv, Arguments& arguments)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        std::string value;
        const auto named = [&](const char* name) {
            const std::string prefix = std::string("--") + name + "=";
            if (argument.rfind(prefix, 0) != 0) return false;
            value = argument.substr(prefix.size());
            return true;
        };
        Size size{};
        char rest = '\0';
        int step = 0;
        if (named("warmup")) {
            if (!Count(value, arguments.frames.warmUpFrames)) return false;
        } else if (named("frames")) {
            if (!Count(value, arguments.frames.measuredFrames)) return false;
        } else if (named("step")) {
            if (!Count(value, step) || step > 1000) return false;
            arguments.frames.stepMs = step;
        } else if (named("hold")) {
            if (!Count(value, arguments.holdSeconds) || arguments.holdSeconds > 3600) return false;
        } else if (named("launch")) {
            arguments.launch = value;
        } else if (named("shot")) {
            arguments.frames.shot = value;
        } else if (named("out")) {
            arguments.out = value;
        } else if (std::sscanf(argument.c_str(), "%dx%d%c", &size.width, &size.height, &rest) == 2 &&
                   size.width > 0 && size.height > 0) {
            arguments.sizes.push_back(size);
        } else {
            return false;
        }
    }
    if (arguments.sizes.empty()) arguments.sizes = {{800, 600}, {1024, 768}, {1920, 1080}};
    return true;
}

// `"key": value` after the object's opening brace or a previous member.
void Member(std::string& json, const char* key, const std::string& value)
{
    if (json.back() != '{' && json.back() != '\n') json += ", ";
    json += '"';
    json += key;
    json += "\": ";
    json += value;
}

std::string LaunchFigures(const std::string& program, int holdSeconds)
{
    std::string error;
    LaunchMemory memory;
    const auto ms = TimeFirstFrame(program, 120000, error, &memory, static_cast<DWORD>(holdSeconds) * 1000);
    std::string json = "{";
    Member(json, "first_frame_ms", ms ? Number(*ms) : "null");
    if (!ms) {
        Member(json, "error", Quoted(error));
        return json + "}\n";
    }
    json += ", " + MemoryMembers("loaded_", memory.loaded);
    if (holdSeconds > 0) {
        Member(json, "held_s", std::to_string(holdSeconds));
        if (memory.held)
            json += ", " + MemoryMembers("held_", *memory.held);
        else
            Member(json, "error", Quoted("the saver ended before its memory could be read again"));
    }
    return json + "}\n";
}

std::string FrameFiguresOf(const Arguments& arguments)
{
    std::string json = "{\n";
    Member(json, "step_ms", std::to_string(arguments.frames.stepMs));
    Member(json, "step_given",
           Quoted(StepHandedIn ? "as the frame's argument" : "through the tick count before each frame"));
    Member(json, "warmup_frames", std::to_string(arguments.frames.warmUpFrames));
    Member(json, "measured_frames", std::to_string(arguments.frames.measuredFrames));
    Member(json, "allocations_counted", Quoted("operator new and new[] of the program's code and the C++ runtime"));
    Member(json, "steps_timed", Quoted("plain frames only, glFinish after each step, mean of " +
                                       std::to_string(StepFrames) + " frames after the measured ones"));
    json += ",\n\"sizes\": [\n";
    // Each size plainly, as every revision draws it, then with smooth edges where known.
    for (const Size& size : arguments.sizes)
        for (const bool smooth : {false, true}) {
            if (smooth && !SmoothEdgesKnown) continue;
            FrameFigures figures;
            std::string error;
            FrameOptions options = arguments.frames;
            if (&size != &arguments.sizes.front() || smooth) options.shot.clear();  // the first plain frame alone
            const bool measured = MeasureFrames(size.width, size.height, smooth, options, figures, error);
            // One size to a line: the bench script reads them line by line.
            if (json.back() == '}') json += ",\n";
            json += "{";
            Member(json, "size", Quoted(std::to_string(size.width) + "x" + std::to_string(size.height) +
                                        (smooth ? " smooth edges" : "")));
            if (!measured) {
                Member(json, "error", Quoted(error));
            } else {
                Member(json, "texture_load_ms", Number(figures.openMs));
                Member(json, "fps", Number(figures.framesPerSecond));
                Member(json, "ms_median", Number(figures.medianMs));
                Member(json, "ms_p95", Number(figures.p95Ms));
                Member(json, "cpu_per_second", Number(figures.cpuPerSecond));
                Member(json, "allocations_per_frame", Number(figures.allocationsPerFrame));
                const char* const steps[] = {"ms_backdrop", "ms_planets", "ms_sun", "ms_overlays"};
                for (std::size_t i = 0; i < figures.stepMs.size(); ++i)
                    if (std::isfinite(figures.stepMs[i])) Member(json, steps[i], Number(figures.stepMs[i]));
            }
            json += "}";
        }
    return json + "\n]}\n";
}

// The data library beside this program, as the saver finds it beside itself.
UniqueModule LoadBuiltDataLibrary()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    std::string library(path, length);
    library = library.substr(0, library.find_last_of('\\') + 1) + DataLibraryName;
    return UniqueModule(LoadLibraryA(library.c_str()));
}

} // namespace

int main(int argc, char** argv)
{
    Arguments arguments;
    if (!Parse(argc, argv, arguments)) {
        std::fprintf(stderr, "usage: astrolume_bench [--warmup=N] [--frames=N] [--step=MS] [--shot=FILE] [--out=FILE] "
                             "[WIDTHxHEIGHT ...]\n       astrolume_bench --launch=PROGRAM [--hold=SECONDS] [--out=FILE]\n");
        return 2;
    }
    std::string json;
    if (!arguments.launch.empty()) {
        json = LaunchFigures(arguments.launch, arguments.holdSeconds);
    } else {
        const UniqueModule library = LoadBuiltDataLibrary();
        if (!library) {
            std::fprintf(stderr, "astrolume_bench: %s beside the bench could not be loaded\n", DataLibraryName);
            return 1;
        }
        DataLibrary = library.get();
        json = FrameFiguresOf(arguments);
        DataLibrary = nullptr;
    }

    // Lines end in \n alone, as the bench script reads them.
    if (arguments.out.empty()) _setmode(_fileno(stdout), _O_BINARY);
    std::FILE* out = arguments.out.empty() ? stdout : std::fopen(arguments.out.c_str(), "wb");
    if (out == nullptr) {
        std::fprintf(stderr, "astrolume_bench: cannot write %s\n", arguments.out.c_str());
        return 1;
    }
    const bool written = std::fputs(json.c_str(), out) >= 0;
    if (!(arguments.out.empty() ? std::fflush(out) == 0 : std::fclose(out) == 0) || !written) {
        std::fprintf(stderr, "astrolume_bench: the figures could not be written\n");
        return 1;
    }
    return 0;
}
