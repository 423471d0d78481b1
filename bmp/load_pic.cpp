#include "load_pic.h"

#include <SDL/SDL_image.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include "bmp.h"
#include "bmp_reader.h"
#include "lbm_reader.h"
#include "picture_rows.h"
#include "png_reader.h"
#include "sdl_picture.h"
#include "surface_size.h"
#include "tga_file.h"

std::string PictureExtension(const std::string& fileName) {
    size_t dot = fileName.rfind('.');
    if (dot == std::string::npos) return "";
    std::string ext = fileName.substr(dot);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

bool LoadsThroughSdl(const std::string& fileName) {
    std::string ext = PictureExtension(fileName);
    return ext == ".jpg" || ext == ".png";
}

PictureSize ReadPictureSize(const std::string& fileName) {
    if (LoadsThroughSdl(fileName)) return ReadSdlPictureSize(fileName);
    return ReadAllegroPictureSize(fileName, PictureExtension(fileName));
}

int64_t PictureBytes(const PictureSize& size) {
    if (!size.known || !SurfaceSizeAllowed(size.w, size.h)) return 0;
    return int64_t{size.w} * size.h * CurrentBytesPerPixel();
}

namespace {

// Refuses a picture whose header is unreadable or promises a size the
// surface-size helper refuses, before any decoder allocates for it.
bool HeaderAllowed(const std::string& fileName, const PictureSize& size, std::string& why) {
    if (!size.known && !std::ifstream(fileName))
        why = "it can't be opened";
    else if (!size.known)
        why = "not a picture, or one whose data is cut short or out of bounds";
    else if (!SurfaceSizeAllowed(size.w, size.h))
        why = "a picture of " + std::to_string(size.w) + "x" + std::to_string(size.h) + " is refused";
    return why.empty();
}

// JPEG pictures, which hold no alpha.
BITMAP* LoadJpeg(const std::string& fileName, std::string& why) {
    SDL_Surface* surface = IMG_Load(fileName.c_str());
    if (!surface) {
        why = "the picture can't be decoded";
        return nullptr;
    }
    BITMAP* picture = nullptr;
    if (SurfaceSizeAllowed(surface->w, surface->h)) picture = BitmapFromSurface(surface);
    SDL_FreeSurface(surface);
    if (!picture) why = "no memory for the picture";
    return picture;
}

// Said in the "Loaded" message when a picture's indices reach past its palette.
std::string BeyondPaletteRemark(int64_t pixels) {
    if (pixels == 0) return "";
    return std::to_string(pixels) + (pixels == 1 ? " pixel" : " pixels") + " past its palette loaded as black";
}

// A new bitmap of w x h filled by `decode` through StorePictureRow; null,
// with the reason in `why`, when either fails. `clear` counts the pixels
// that were transparent.
template <class Decode>
BITMAP* DecodedPicture(int w, int h, std::string& why, int64_t& clear, Decode decode) {
    BITMAP* picture = Bmp::CreateChecked(w, h);
    if (!picture) {
        why = "no memory for the picture";
        return nullptr;
    }
    RgbaRowSink store = [picture, &clear](int y, const RgbaPixel* row) { clear += StorePictureRow(picture, y, row); };
    if (!decode(store)) {
        destroy_bitmap(picture);
        return nullptr;
    }
    return picture;
}

BITMAP* LoadPng(const std::string& fileName, std::string& why, std::string& remark, int64_t& clear) {
    std::FILE* f = std::fopen(fileName.c_str(), "rb");
    if (!f) {
        why = "it can't be opened";
        return nullptr;
    }
    PngReader reader(f);
    BITMAP* picture = nullptr;
    int64_t beyond = 0;
    if (reader.ReadHeader(why))
        picture = DecodedPicture(reader.Width(), reader.Height(), why, clear,
                                 [&](const RgbaRowSink& store) { return reader.ReadRows(store, beyond, why); });
    std::fclose(f);
    if (picture) remark = BeyondPaletteRemark(beyond);
    return picture;
}

// ".png" and ".jpg" names: the content decides, as it did when SDL_image
// read both.
BITMAP* LoadPngOrJpeg(const std::string& fileName, RGB*, std::string& why, std::string& remark, int64_t& clear) {
    if (!HeaderAllowed(fileName, ReadSdlPictureSize(fileName), why)) return nullptr;
    static const char kPng[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};
    char start[8] = {};
    std::ifstream(fileName, std::ios::binary).read(start, 8);
    if (std::memcmp(start, kPng, 8) == 0) return LoadPng(fileName, why, remark, clear);
    return LoadJpeg(fileName, why);
}

// Allegro's 32-bit readers keep a file's alpha byte in the pixel value:
// cleared, so that every pixel is a plain colour value again. Older frame
// files carry 0 there, so they load exactly as they always did.
void DropAlpha(BITMAP* b) {
    if (bitmap_color_depth(b) != 32 || !is_memory_bitmap(b)) return;
    const uint32_t colour = ~(uint32_t{0xff} << _rgb_a_shift_32);
    for (int y = 0; y < b->h; y++) {
        uint32_t* line = reinterpret_cast<uint32_t*>(b->line[y]);
        for (int x = 0; x < b->w; x++) line[x] &= colour;
    }
}

// A TGA that Vell wrote: its alpha says which pixels are transparent.
BITMAP* LoadMarkedTga(const std::string& fileName, std::string& why, int64_t& clear) {
    int w = 0, h = 0;
    if (!MarkedTgaSize(fileName, w, h)) {
        why = "it can't be opened";
        return nullptr;
    }
    return DecodedPicture(w, h, why, clear, [&](const RgbaRowSink& store) {
        int fw = 0, fh = 0;
        if (!DecodeMarkedTga(fileName, store, fw, fh, why)) return false;
        if (fw == w && fh == h) return true;
        why = "the picture changed while it was read";
        return false;
    });
}

BITMAP* LoadThroughAllegro(const std::string& fileName, RGB* pal, std::string& why, std::string&, int64_t& clear) {
    std::string ext = PictureExtension(fileName);
    PictureSize size = ReadAllegroPictureSize(fileName, ext);
    if (!HeaderAllowed(fileName, size, why)) return nullptr;
    if (ext == ".tga" && IsMarkedTga(fileName)) return LoadMarkedTga(fileName, why, clear);
    BITMAP* picture = load_bitmap(fileName.c_str(), pal);
    if (!picture) why = "the picture can't be decoded";
    if (picture) DropAlpha(picture);
    return picture;
}

// Palette entries as Allegro keeps them, 6 bits a part; the picture itself
// has the palette's colours in full.
void FillPalette(const std::vector<RgbaPixel>& palette, RGB* pal) {
    for (size_t i = 0; i < palette.size() && i < PAL_SIZE; i++) {
        pal[i].r = (palette[i] & 0xff) >> 2;
        pal[i].g = (palette[i] >> 8 & 0xff) >> 2;
        pal[i].b = (palette[i] >> 16 & 0xff) >> 2;
    }
}

BITMAP* LoadBmp(const std::string& fileName, RGB* pal, std::string& why, std::string& remark, int64_t& clear) {
    // The whole header check comes first: it names what is refused.
    PictureSize size = ReadBmpPictureSize(fileName, why);
    if (!size.known) return nullptr;
    if (!HeaderAllowed(fileName, size, why)) return nullptr;
    std::FILE* f = std::fopen(fileName.c_str(), "rb");
    if (!f) {
        why = "it can't be opened";
        return nullptr;
    }
    BmpHeader header;
    BITMAP* picture = nullptr;
    int64_t beyond = 0;
    if (ReadBmpHeader(f, header, why))
        picture = DecodedPicture(header.w, header.h, why, clear,
                                 [&](const RgbaRowSink& store) { return DecodeBmpRows(f, header, store, beyond, why); });
    std::fclose(f);
    if (!picture) return nullptr;
    FillPalette(header.palette, pal);
    remark = BeyondPaletteRemark(beyond);
    return picture;
}

// An IFF palette as Allegro keeps it (6 bits a part); indices beyond the
// file's palette are black.
void FillLbmPalette(const LbmHeader& header, RGB* pal) {
    for (int i = 0; i < 256; i++) {
        size_t at = static_cast<size_t>(i) * 3;
        bool known = at + 2 < header.palette.size();
        pal[i].r = known ? header.palette[at] >> 2 : 0;
        pal[i].g = known ? header.palette[at + 1] >> 2 : 0;
        pal[i].b = known ? header.palette[at + 2] >> 2 : 0;
    }
}

// Colours of the 256 indices at the current depth; at depth 8 the index
// itself, as Allegro's readers keep it.
std::vector<int> IndexColours(const LbmHeader& header) {
    std::vector<int> colours(256, get_color_depth() == 8 ? 0 : makecol(0, 0, 0));
    for (int i = 0; i < 256; i++) {
        size_t at = static_cast<size_t>(i) * 3;
        if (get_color_depth() == 8)
            colours[i] = i;
        else if (at + 2 < header.palette.size())
            colours[i] = makecol(header.palette[at], header.palette[at + 1], header.palette[at + 2]);
    }
    return colours;
}

BITMAP* DecodeLbm(std::FILE* f, RGB* pal, std::string& why) {
    LbmHeader header;
    if (!ReadLbmHeader(f, header, why)) return nullptr;
    if (!SurfaceSizeAllowed(header.w, header.h)) {
        why = "a picture of " + std::to_string(header.w) + "x" + std::to_string(header.h) + " is refused";
        return nullptr;
    }
    BITMAP* picture = Bmp::CreateChecked(header.w, header.h);
    if (!picture) {
        why = "no memory for the picture";
        return nullptr;
    }
    std::vector<int> colours = IndexColours(header);
    auto row = [&](int y, const uint8_t* indices) {
        for (int x = 0; x < header.w; x++) putpixel(picture, x, y, colours[indices[x]]);
    };
    if (!DecodeLbmRows(f, header, row, why)) {
        destroy_bitmap(picture);
        return nullptr;
    }
    FillLbmPalette(header, pal);
    return picture;
}

BITMAP* LoadLbm(const std::string& fileName, RGB* pal, std::string& why, std::string&, int64_t&) {
    std::FILE* f = std::fopen(fileName.c_str(), "rb");
    if (!f) {
        why = "it can't be opened";
        return nullptr;
    }
    BITMAP* picture = DecodeLbm(f, pal, why);
    std::fclose(f);
    return picture;
}

struct Loader {
    const char* ext;
    BITMAP* (*load)(const std::string&, RGB*, std::string&, std::string&, int64_t&);
};

const Loader kLoaders[] = {
    {".jpg", LoadPngOrJpeg},
    {".png", LoadPngOrJpeg},
    {".bmp", LoadBmp},
    {".lbm", LoadLbm},
};

// Magenta and black squares: plainly not a picture, and the magenta parts
// show the layers below when the placeholder is drawn masked.
BITMAP* Placeholder() {
    BITMAP* b = create_bitmap(8, 8);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++) putpixel(b, x, y, ((x / 2 + y / 2) & 1) ? 0 : makecol(255, 0, 255));
    return b;
}

}  // namespace

BITMAP* LoadPicture(const std::string& fileName, RGB* pal, std::string& why, std::string& remark) {
    int64_t clear = 0;
    return LoadPicture(fileName, pal, why, remark, clear);
}

BITMAP* LoadPicture(const std::string& fileName, RGB* pal, std::string& why, std::string& remark, int64_t& clear) {
    why.clear();
    remark.clear();
    clear = 0;
    // Allegro's readers fill only the entries a file has, then convert
    // every index through the whole palette: indices beyond the file's
    // palette come out black rather than from whatever `pal` held.
    std::memset(pal, 0, sizeof(RGB) * PAL_SIZE);
    std::string ext = PictureExtension(fileName);
    if (ext.empty()) {
        why = "no file name extension";
        return nullptr;
    }
    for (const Loader& l : kLoaders)
        if (ext == l.ext) return l.load(fileName, pal, why, remark, clear);
    return LoadThroughAllegro(fileName, pal, why, remark, clear);
}

// A picture that cannot be read leaves the surface as it was; only a surface
// without any bitmap yet (the file constructor's) gets the placeholder.
BITMAP* Bmp::LoadPic(const std::string& fileName) {
    BITMAP* picture = LoadPicture(fileName, pal, failure, remark, transparent);
    if (!picture) transparent = 0;
    if (!picture) std::printf("'%s': %s\n", fileName.c_str(), failure.c_str());
    loaded = picture != nullptr;
    if (!picture && bitmap) return bitmap;
    Adopt(picture ? picture : Placeholder());
    return bitmap;
}
