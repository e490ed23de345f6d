// The built data library as the program will meet it: loaded under Wine, its
// version export called, every resource found as raw data, every picture decoded
// by the OLE picture service and held to the sizes and looks the drawing code
// relies on, the width table and both texts read in their formats.
#include "support/Handles.h"
#include "tests/windows/probe/Probe.h"

#include <olectl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Blob {
    const unsigned char* data = nullptr;
    DWORD size = 0;
};

Blob Resource(HMODULE module, LPCSTR name)
{
    HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10));
    if (!found)
        return {};
    HGLOBAL loaded = LoadResource(module, found);
    if (!loaded)
        return {};
    return {static_cast<const unsigned char*>(LockResource(loaded)), SizeofResource(module, found)};
}

Blob Resource(HMODULE module, int id) { return Resource(module, MAKEINTRESOURCEA(id)); }

// A decoded picture: its size as the picture service reports it and its pixels,
// top row first, as red, green, blue bytes.
struct Picture {
    bool ok = false;
    short type = 0;
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;

    const unsigned char* at(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
    int luma(int x, int y) const
    {
        const unsigned char* p = at(x, y);
        return (p[0] * 2 + p[1] * 5 + p[2]) / 8;
    }
};

struct ReleaseInterface {
    template <typename T> void operator()(T* p) const
    {
        if (p)
            p->Release();
    }
};

Picture Decode(const Blob& blob)
{
    Picture pic;
    if (!blob.data)
        return pic;
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, blob.size));
    if (!memory)
        return pic;
    void* target = GlobalLock(memory.get());
    if (!target)
        return pic;
    std::memcpy(target, blob.data, blob.size);
    GlobalUnlock(memory.get());
    IStream* raw = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory.get(), FALSE, &raw)))
        return pic;
    std::unique_ptr<IStream, ReleaseInterface> stream(raw);
    IPicture* rawPicture = nullptr;
    if (FAILED(OleLoadPicture(stream.get(), LONG(blob.size), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(&rawPicture))))
        return pic;
    std::unique_ptr<IPicture, ReleaseInterface> picture(rawPicture);
    OLE_XSIZE_HIMETRIC hw = 0;
    OLE_YSIZE_HIMETRIC hh = 0;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Type(&pic.type)) || FAILED(picture->get_Width(&hw)) ||
        FAILED(picture->get_Height(&hh)) || FAILED(picture->get_Handle(&handle)))
        return pic;
    // The size the program's loader computes: HIMETRIC through the screen's DPI.
    WindowDC screen(nullptr);
    if (!screen)
        return pic;
    pic.width = MulDiv(hw, GetDeviceCaps(screen.get(), LOGPIXELSX), 2540);
    pic.height = MulDiv(hh, GetDeviceCaps(screen.get(), LOGPIXELSY), 2540);
    if (pic.type != PICTYPE_BITMAP)
        return pic;
    BITMAP info{};
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    if (!GetObjectA(bitmap, sizeof info, &info) || info.bmWidth != pic.width || info.bmHeight != pic.height)
        return pic;
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = pic.width;
    header.bmiHeader.biHeight = -pic.height;  // top row first
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 24;
    header.bmiHeader.biCompression = BI_RGB;
    const size_t stride = ((size_t(pic.width) * 24 + 31) / 32) * 4;
    std::vector<unsigned char> bgr(stride * pic.height);
    if (GetDIBits(screen.get(), bitmap, 0, UINT(pic.height), bgr.data(), &header, DIB_RGB_COLORS) != pic.height)
        return pic;
    pic.rgb.resize(size_t(pic.width) * pic.height * 3);
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x)
            for (int c = 0; c < 3; ++c)
                pic.rgb[(size_t(y) * pic.width + x) * 3 + c] = bgr[y * stride + x * 3 + (2 - c)];
    pic.ok = true;
    return pic;
}

bool PowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

class DataLibraryContents : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitialize(nullptr);
        const std::string path = probe::Argument("datalib");
        module_ = LoadLibraryA(path.c_str());
    }
    static void TearDownTestSuite()
    {
        if (module_)
            FreeLibrary(module_);
        module_ = nullptr;
        CoUninitialize();
    }
    void SetUp() override { ASSERT_NE(module_, nullptr) << probe::Argument("datalib"); }

    static Picture Texture(int slot) { return Decode(Resource(module_, 257 + slot)); }
    static HMODULE module_;
};
HMODULE DataLibraryContents::module_ = nullptr;

TEST_F(DataLibraryContents, ExportsTheVersionTheProgramChecks)
{
    using Version = int(WINAPI*)();
    auto version = reinterpret_cast<Version>(reinterpret_cast<void*>(GetProcAddress(module_, "ORB_GetVersion")));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version(), 272);
}

TEST_F(DataLibraryContents, HoldsEveryResourceAsRawData)
{
    for (int id = 257; id <= 276; ++id)
        EXPECT_GT(Resource(module_, id).size, 0u) << id;
    for (int id : {288, 289, 290, 292})
        EXPECT_GT(Resource(module_, id).size, 0u) << id;
    EXPECT_GT(Resource(module_, "Sound").size, 100000u);
}

// Built twice from the same inputs the library must be the same bytes: nothing in
// its headers may carry the time of the build, and it imports nothing.
TEST_F(DataLibraryContents, CarriesNoTimeStampAndNoImports)
{
    auto base = reinterpret_cast<const unsigned char*>(module_);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    EXPECT_EQ(nt->FileHeader.TimeDateStamp, 0u);
    const IMAGE_DATA_DIRECTORY* dirs = nt->OptionalHeader.DataDirectory;
    // The linker may leave an import directory holding only its terminator.
    const IMAGE_DATA_DIRECTORY& imports = dirs[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.Size != 0) {
        auto first = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
        EXPECT_EQ(first->Name, 0u);
    }
    ASSERT_NE(dirs[IMAGE_DIRECTORY_ENTRY_EXPORT].Size, 0u);
    auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dirs[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress);
    EXPECT_EQ(exports->TimeDateStamp, 0u);
    ASSERT_NE(dirs[IMAGE_DIRECTORY_ENTRY_RESOURCE].Size, 0u);
    auto resources =
        reinterpret_cast<const IMAGE_RESOURCE_DIRECTORY*>(base + dirs[IMAGE_DIRECTORY_ENTRY_RESOURCE].VirtualAddress);
    EXPECT_EQ(resources->TimeDateStamp, 0u);
}

// Every texture decodes to a bitmap whose rows meet the default unpack alignment;
// the single-level textures (galaxy, corona, orbit) have power-of-two sides; the
// surface maps are at least 512 x 256 and twice as wide as high.
TEST_F(DataLibraryContents, TexturesDecodeAtUsableSizes)
{
    for (int slot = 0; slot < 20; ++slot) {
        SCOPED_TRACE("texture " + std::to_string(257 + slot));
        Picture pic = Texture(slot);
        ASSERT_TRUE(pic.ok);
        EXPECT_EQ(pic.type, PICTYPE_BITMAP);
        EXPECT_EQ(pic.width % 4, 0);
        if (slot == 0 || slot == 16 || slot == 18) {
            EXPECT_TRUE(PowerOfTwo(pic.width));
            EXPECT_TRUE(PowerOfTwo(pic.height));
        }
        if (slot >= 1 && slot <= 11) {
            EXPECT_GE(pic.width, 512);
            EXPECT_EQ(pic.width, 2 * pic.height);
        }
        if (slot == 14 || slot == 15 || slot == 16) {
            EXPECT_EQ(pic.width, pic.height);
        }
    }
}

TEST_F(DataLibraryContents, PreviewAndSettingsPicturesDecode)
{
    Picture preview = Decode(Resource(module_, 288));
    ASSERT_TRUE(preview.ok);
    EXPECT_GE(preview.width, 128);
    EXPECT_NEAR(double(preview.width) / preview.height, 4.0 / 3.0, 0.2);

    // The program carries its own picture for the settings dialog.
    const std::string program = probe::Argument("program");
    UniqueModule scr(LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(scr) << program;
    Blob jpeg = Resource(scr.get(), 291);
    ASSERT_GT(jpeg.size, 2u);
    EXPECT_EQ(jpeg.data[0], 0xFF);
    EXPECT_EQ(jpeg.data[1], 0xD8);  // a JPEG
    Picture settings = Decode(jpeg);
    ASSERT_TRUE(settings.ok);
    EXPECT_NEAR(settings.width, 265, 8);
    EXPECT_NEAR(settings.height, 168, 8);
    // A still of the bright Sun on the dark sky: both must be in it.
    int bright = 0, dark = 0;
    for (int y = 0; y < settings.height; ++y)
        for (int x = 0; x < settings.width; ++x) {
            int l = settings.luma(x, y);
            bright += l > 200;
            dark += l < 30;
        }
    EXPECT_GT(bright, settings.width * settings.height / 50);
    EXPECT_GT(dark, settings.width * settings.height / 4);
}

// The galaxy and the corona are uploaded as luminance (the red channel): they
// must be grey. The corona fades to black before the quad's edge; the orbit band
// is dark at both edges and bright in the middle.
TEST_F(DataLibraryContents, GlowTexturesFadeOutAtTheirEdges)
{
    for (int slot : {0, 16}) {
        Picture pic = Texture(slot);
        ASSERT_TRUE(pic.ok);
        for (size_t i = 0; i < pic.rgb.size(); i += 3)
            ASSERT_TRUE(pic.rgb[i] == pic.rgb[i + 1] && pic.rgb[i] == pic.rgb[i + 2]) << slot;
    }
    Picture crown = Texture(16);
    ASSERT_TRUE(crown.ok);
    int edgeMax = 0;
    for (int i = 0; i < crown.width; ++i)
        for (int d = 0; d < crown.width / 32; ++d)
            edgeMax = std::max({edgeMax, crown.luma(i, d), crown.luma(i, crown.height - 1 - d), crown.luma(d, i),
                                crown.luma(crown.width - 1 - d, i)});
    EXPECT_LE(edgeMax, 4);
    // Bright just outside the Sun's disc (0.46 of the half-width), fading outwards.
    const int half = crown.width / 2;
    int nearDisc = crown.luma(half + int(0.50 * half), half), farOut = crown.luma(half + int(0.85 * half), half);
    EXPECT_GE(nearDisc, 100);
    EXPECT_LT(farOut * 4, nearDisc);

    Picture orbit = Texture(18);
    ASSERT_TRUE(orbit.ok);
    for (int x = 0; x < orbit.width; ++x) {
        EXPECT_LE(orbit.luma(x, 0), 8);
        EXPECT_LE(orbit.luma(x, orbit.height - 1), 8);
        EXPECT_GE(orbit.luma(x, orbit.height / 2), 200);
    }
}

// The sky tile repeats ten times each way: the step from its last column to its
// first, and from its last row to its first, must look like any other step.
TEST_F(DataLibraryContents, GalaxyTileHasNoSeam)
{
    Picture sky = Texture(0);
    ASSERT_TRUE(sky.ok);
    auto columnStep = [&](int a, int b) {
        double sum = 0;
        for (int y = 0; y < sky.height; ++y)
            sum += std::abs(sky.luma(a, y) - sky.luma(b, y));
        return sum / sky.height;
    };
    auto rowStep = [&](int a, int b) {
        double sum = 0;
        for (int x = 0; x < sky.width; ++x)
            sum += std::abs(sky.luma(x, a) - sky.luma(x, b));
        return sum / sky.width;
    };
    double inner = 0;
    for (int x = 1; x < sky.width; ++x)
        inner += columnStep(x - 1, x);
    inner /= sky.width - 1;
    EXPECT_LT(columnStep(sky.width - 1, 0), 2.5 * inner + 0.5);
    double innerRows = 0;
    for (int y = 1; y < sky.height; ++y)
        innerRows += rowStep(y - 1, y);
    innerRows /= sky.height - 1;
    EXPECT_LT(rowStep(sky.height - 1, 0), 2.5 * innerRows + 0.5);
    // A star field, not an empty or washed-out picture.
    int stars = 0;
    for (int y = 0; y < sky.height; ++y)
        for (int x = 0; x < sky.width; ++x)
            stars += sky.luma(x, y) > 128;
    EXPECT_GT(stars, 200);
    EXPECT_LT(stars, sky.width * sky.height / 50);
}

// GLU disks map their outer radius to the texture's edge. Saturn's disk spans 1.25
// to 1.75 radii, so its rings lie between 5/7 and 1 of the half-width; each of
// Uranus's disks (inner edges at 0.78 and 0.88 of their outer radius) must cross
// several distinct narrow rings.
TEST_F(DataLibraryContents, RingTexturesFitTheirDisks)
{
    Picture saturn = Texture(14);
    ASSERT_TRUE(saturn.ok);
    const int half = saturn.width / 2;
    int inside = 0, ring = 0;
    for (int x = half; x < saturn.width; ++x) {
        double r = (x + 0.5 - half) / half;
        int l = saturn.luma(x, half);
        if (r < 5.0 / 7.0 - 0.02)
            inside = std::max(inside, l);
        else if (r > 5.0 / 7.0 && r < 1)
            ring = std::max(ring, l);
    }
    EXPECT_LE(inside, 8);
    EXPECT_GE(ring, 100);

    Picture uranus = Texture(15);
    ASSERT_TRUE(uranus.ok);
    const int uhalf = uranus.width / 2;
    for (double innerEdge : {1.175 / 1.5, 1.5875 / 1.8}) {
        int peaks = 0;
        bool high = false;
        for (int x = uhalf + int(innerEdge * uhalf); x < uranus.width; ++x) {
            int l = uranus.luma(x, uhalf);
            if (!high && l > 60)
                ++peaks;
            high = l > 60 ? true : (l < 25 ? false : high);
        }
        EXPECT_GE(peaks, 5) << innerEdge;
    }
}

// The panel's top 3/32 is drawn opaque as the title strip; the body is drawn
// additively and must stay dark so the text on it reads.
TEST_F(DataLibraryContents, PanelHasTitleStripAndDarkPane)
{
    Picture panel = Texture(17);
    ASSERT_TRUE(panel.ok);
    const int strip = panel.height * 3 / 32;
    double top = 0, body = 0;
    for (int x = panel.width / 8; x < panel.width * 7 / 8; ++x) {
        for (int y = 0; y < strip - 2; ++y)
            top += panel.luma(x, y);
        for (int y = strip + 8; y < panel.height - 8; ++y)
            body += panel.luma(x, y);
    }
    top /= (panel.width * 3 / 4) * (strip - 2);
    body /= (panel.width * 3 / 4) * (panel.height - strip - 16);
    EXPECT_GT(top, 3 * body);
    EXPECT_LT(body, 50);
}

// Glyph grids: the text font (16 x 16), the number font (4 x 4) and the signs
// (4 x 3). Every glyph keeps off its cell's edges, so mipmaps do not bleed; the
// cells that stand for characters have ink, the unused ones none.
TEST_F(DataLibraryContents, GlyphGridsKeepInsideTheirCells)
{
    struct Grid {
        int slot, columns, rows, used;
    };
    for (Grid g : {Grid{13, 16, 16, 224}, Grid{12, 4, 4, 13}, Grid{19, 4, 3, 10}}) {
        SCOPED_TRACE("texture " + std::to_string(257 + g.slot));
        Picture pic = Texture(g.slot);
        ASSERT_TRUE(pic.ok);
        for (int cell = 0; cell < g.columns * g.rows; ++cell) {
            int x0 = (cell % g.columns) * pic.width / g.columns, x1 = (cell % g.columns + 1) * pic.width / g.columns;
            int y0 = (cell / g.columns) * pic.height / g.rows, y1 = (cell / g.columns + 1) * pic.height / g.rows;
            int edge = 0, ink = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) {
                    int l = pic.luma(x, y);
                    ink = std::max(ink, l);
                    if (x == x0 || x == x1 - 1 || y == y0 || y == y1 - 1)
                        edge = std::max(edge, l);
                }
            EXPECT_LE(edge, 24) << "cell " << cell;
            // Text cells: glyph 0 is the space, 128 the no-break space (0xA0); 95
            // and 120 stand for 0x7F and 0x98, which are no characters.
            bool blank = g.slot == 13 && (cell == 0 || cell == 95 || cell == 120 || cell == 128);
            if (cell < g.used && !blank) {
                EXPECT_GT(ink, 128) << "cell " << cell;
            }
            if (cell >= g.used) {
                EXPECT_EQ(ink, 0) << "cell " << cell;
            }
        }
    }
}

// The width table: one byte per character code, in units of a 16-unit cell.
TEST_F(DataLibraryContents, WidthTableFitsTheGlyphs)
{
    Blob widths = Resource(module_, 289);
    ASSERT_EQ(widths.size, 256u);
    const unsigned char* w = widths.data;
    EXPECT_LT(w[' '], w['W']);
    EXPECT_LT(w['i'], w['m']);
    EXPECT_LT(w['.'], w['O']);
    for (int c = '0'; c <= '9'; ++c)
        EXPECT_EQ(w[c], w['0']) << char(c);  // figures line up in columns
    for (int c = 33; c < 256; ++c) {
        EXPECT_GE(w[c], 2) << c;
        EXPECT_LE(w[c], 16) << c;
    }
    EXPECT_GT(w[0xC6], w[0xE0]);  // Cyrillic capital Zhe is wider than small a
}

// Cuts a text into lines the way the program reads its texts: up to each CR,
// dropping the byte after it.
std::vector<std::string> CutLines(const Blob& blob)
{
    std::string text(reinterpret_cast<const char*>(blob.data), blob.size);
    std::vector<std::string> lines;
    while (!text.empty()) {
        size_t cr = text.find('\r');
        if (cr == std::string::npos) {
            text.erase(0, 1);
            lines.emplace_back();
            continue;
        }
        lines.push_back(text.substr(0, cr));
        text.erase(0, std::min(text.size(), cr + 2));
    }
    return lines;
}

// The descriptions: a block for each of the ten bodies, 8 to 14 lines, every line
// inside the 58-cell frame at the font's 0.75 scale (colour codes take no room),
// the first three clear of the body's sign beside them.
TEST_F(DataLibraryContents, DescriptionsFillTheTenPanels)
{
    Blob text = Resource(module_, 290);
    const unsigned char* w = Resource(module_, 289).data;
    ASSERT_NE(w, nullptr);
    // Every line ends with CR LF, the last one too.
    ASSERT_GE(text.size, 2u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(text.data) + text.size - 2, 2), "\r\n");
    std::vector<std::string> lines = CutLines(text);
    const char* names[10] = {"Mercury", "Venus", "Earth", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto", "Sun"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        const std::string key = std::string("object ") + name;
        auto header = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(key) != std::string::npos; });
        ASSERT_NE(header, lines.end());
        auto end = std::find_if(header, lines.end(), [](const std::string& l) { return l.find("objend") != std::string::npos; });
        ASSERT_NE(end, lines.end());
        int count = int(end - header) - 1;
        EXPECT_GE(count, 8);
        EXPECT_LE(count, 14);
        for (auto line = header + 1; line != end; ++line) {
            double width = 0;
            for (size_t i = 0; i < line->size(); ++i) {
                unsigned char c = (*line)[i];
                if (c == 2 && i + 1 < line->size() && std::isxdigit((unsigned char)(*line)[i + 1])) {
                    ++i;
                    continue;
                }
                EXPECT_GE(c, 32) << *line;
                width += w[c];
            }
            double right = 12 + width * 0.75;
            EXPECT_LE(right, line - header <= 3 ? 208.0 : 245.0) << *line;
        }
    }
}

TEST_F(DataLibraryContents, MessagesAreSeveralPlainLines)
{
    std::vector<std::string> lines = CutLines(Resource(module_, 292));
    ASSERT_GE(lines.size(), 6u);
    for (const std::string& line : lines) {
        EXPECT_FALSE(line.empty());
        EXPECT_EQ(line.find('\x02'), std::string::npos);
    }
    // The keys are explained.
    auto mentions = [&](const char* word) {
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(word) != std::string::npos; });
    };
    EXPECT_TRUE(mentions("Esc"));
    EXPECT_TRUE(mentions("space"));
    EXPECT_TRUE(mentions("F4"));
}

TEST_F(DataLibraryContents, SoundIsAnOggVorbisStream)
{
    Blob sound = Resource(module_, "Sound");
    ASSERT_GT(sound.size, 64u);
    EXPECT_EQ(std::memcmp(sound.data, "OggS", 4), 0);
    EXPECT_EQ(std::memcmp(sound.data + 28, "\x01vorbis", 7), 0);
}

} // namespace
