// Writes the link label's hand cursor: a 32 x 32 monochrome .cur file drawn from
// the picture below, with its hot spot on the tip of the pointing finger.
//   MakeHandCursor <output.cur>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// 'X' black outline, 'o' white fill, '.' transparent.
const char* const Hand[32] = {
    "......XX........................",
    ".....XooX.......................",
    ".....XooX.......................",
    ".....XooX.......................",
    ".....XooX.......................",
    ".....XooXXX.....................",
    ".....XooXooXXX..................",
    ".....XooXooXooXX................",
    ".....XooXooXooXoX...............",
    "..XX.XooXooXooXooX..............",
    ".XooXXooooooooXooX..............",
    ".XoooXoooooooooooX..............",
    "..XooXoooooooooooX..............",
    "...XoXoooooooooooX..............",
    "...XooooooooooooX...............",
    "....XoooooooooooX...............",
    "....XooooooooooX................",
    ".....XoooooooooX................",
    ".....XoooooooooX................",
    ".....XXXXXXXXXXX................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
};
constexpr int Size = 32;
constexpr int HotX = 6;
constexpr int HotY = 0;

void Put16(std::vector<std::uint8_t>& out, unsigned v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.cur>\n", argv[0]);
        return 2;
    }
    constexpr std::uint32_t rowBytes = Size / 8;
    constexpr std::uint32_t maskBytes = rowBytes * Size;
    constexpr std::uint32_t imageBytes = 40 + 8 + 2 * maskBytes;

    std::vector<std::uint8_t> file;
    // Directory: one cursor image.
    Put16(file, 0);
    Put16(file, 2);
    Put16(file, 1);
    file.push_back(Size);
    file.push_back(Size);
    file.push_back(2);  // colours
    file.push_back(0);
    Put16(file, HotX);
    Put16(file, HotY);
    Put32(file, imageBytes);
    Put32(file, 6 + 16);

    // The image: a 1-bit bitmap of twice the height (colour bits, then the mask).
    Put32(file, 40);
    Put32(file, Size);
    Put32(file, 2 * Size);
    Put16(file, 1);
    Put16(file, 1);
    Put32(file, 0);
    Put32(file, 2 * maskBytes);
    for (int i = 0; i < 4; ++i) Put32(file, 0);
    Put32(file, 0x000000);  // colour 0: black
    Put32(file, 0xFFFFFF);  // colour 1: white

    // Rows bottom-up. White is colour 1 with mask 0; black colour 0 with mask 0;
    // transparent colour 0 with mask 1.
    std::vector<std::uint8_t> colour, mask;
    for (int y = Size - 1; y >= 0; --y) {
        for (std::uint32_t byte = 0; byte < rowBytes; ++byte) {
            std::uint8_t c = 0, m = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const char p = Hand[y][byte * 8 + bit];
                if (p == 'o') c |= static_cast<std::uint8_t>(0x80 >> bit);
                if (p == '.') m |= static_cast<std::uint8_t>(0x80 >> bit);
            }
            colour.push_back(c);
            mask.push_back(m);
        }
    }
    file.insert(file.end(), colour.begin(), colour.end());
    file.insert(file.end(), mask.begin(), mask.end());

    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    if (std::fclose(out) != 0 || !written) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
