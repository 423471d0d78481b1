#include "gif_writer.h"

#include <gif_lib.h>

#include <algorithm>
#include <functional>
#include <unordered_map>

#include "quantize.h"

namespace {

const uint32_t kRgbMask = 0xFFFFFFu;
const int kMaxColours = 256;

bool RowsDiffer(const uint32_t* a, const uint32_t* b, int w) { return !std::equal(a, a + w, b); }

// The colours one frame's rectangle is written with, and how a pixel finds
// its index: exactly, or through the nearest entry of a reduced palette.
struct FramePalette {
    std::vector<uint32_t> colours;
    int transparent = -1;
    bool local = false;
    const std::unordered_map<uint32_t, int>* exact = nullptr;
    std::unordered_map<uint32_t, int> ownExact;
    // With `exact`: the nearest entry of a colour it lacks (made when first
    // needed), where `missed` tells of it.
    std::unique_ptr<NearestColour>* fallback = nullptr;
    bool* missed = nullptr;
    std::unique_ptr<NearestColour> nearest;

    int Index(uint32_t rgb) {
        if (!exact) return nearest->Index(rgb);
        auto found = exact->find(rgb);
        if (found != exact->end()) return found->second;
        if (!*fallback) fallback->reset(new NearestColour(colours));
        *missed = true;
        return (*fallback)->Index(rgb);
    }
};

std::unordered_map<uint32_t, int> IndexOf(const std::vector<uint32_t>& colours) {
    std::unordered_map<uint32_t, int> index;
    for (size_t i = 0; i < colours.size(); i++) index.emplace(colours[i], static_cast<int>(i));
    return index;
}

// GIF colour tables have a power-of-two size, at least 2; unused slots are
// black.
ColorMapObject* MakeMap(const std::vector<uint32_t>& colours, int transparent) {
    int used = std::max<int>(static_cast<int>(colours.size()), transparent + 1);
    int count = 2;
    while (count < used) count *= 2;
    std::vector<GifColorType> table(count, GifColorType{0, 0, 0});
    for (size_t i = 0; i < colours.size(); i++)
        table[i] = GifColorType{static_cast<GifByteType>(colours[i] >> 16), static_cast<GifByteType>(colours[i] >> 8),
                                static_cast<GifByteType>(colours[i])};
    return GifMakeMapObject(count, table.data());
}

}  // namespace

ChangedRect FindChangedRect(const uint32_t* before, const uint32_t* after, int w, int h) {
    auto row = [&](int y, const uint32_t* p) { return p + static_cast<size_t>(y) * w; };
    int top = 0, bottom = h - 1;
    while (top < h && !RowsDiffer(row(top, before), row(top, after), w)) top++;
    if (top == h) return {};
    while (!RowsDiffer(row(bottom, before), row(bottom, after), w)) bottom--;
    int left = w, right = -1;
    for (int y = top; y <= bottom; y++) {
        const uint32_t *a = row(y, before), *b = row(y, after);
        for (int x = 0; x < left; x++)
            if (a[x] != b[x]) left = x;
        for (int x = w - 1; x > right; x--)
            if (a[x] != b[x]) right = x;
    }
    return {left, top, right - left + 1, bottom - top + 1};
}

void ColourSet::Add(const uint32_t* pixels, size_t n) {
    // Neighbours often share a colour: the set is asked once per run.
    uint32_t last = 0;
    for (size_t i = 0; i < n && !Over(); i++) {
        uint32_t c = pixels[i] & kRgbMask;
        if (i > 0 && c == last) continue;
        colours.insert(c);
        last = c;
    }
}

std::vector<uint32_t> ColourSet::Sorted() const {
    std::vector<uint32_t> v(colours.begin(), colours.end());
    std::sort(v.begin(), v.end());
    return v;
}

// The field holds 16 bits; a delay beyond it is stored as the longest.
int GifDelay(int ms) { return static_cast<int>(std::min(65535LL, std::max(2LL, (std::max(ms, 0) + 5LL) / 10))); }

struct GifWriter::State {
    GifFileType* gif = nullptr;
    int w = 0, h = 0;
    bool ok = true;
    std::vector<uint32_t> global;
    std::unordered_map<uint32_t, int> globalIndex;
    std::unique_ptr<NearestColour> globalNearest;
    std::vector<uint32_t> previous;  // empty before the first frame
    std::vector<GifPixelType> line;

    // Pixels of the rectangle the frame must set: all of them for the first
    // frame, else those that differ from the frame before.
    std::vector<uint32_t> Written(const uint32_t* cur, const ChangedRect& r) const {
        std::vector<uint32_t> out;
        for (int y = r.y; y < r.y + r.h; y++)
            for (int x = r.x; x < r.x + r.w; x++) {
                size_t i = static_cast<size_t>(y) * w + x;
                if (previous.empty() || previous[i] != cur[i]) out.push_back(cur[i]);
            }
        return out;
    }

    std::vector<uint32_t> Whole(const uint32_t* cur, const ChangedRect& r) const {
        std::vector<uint32_t> out;
        for (int y = r.y; y < r.y + r.h; y++) {
            const uint32_t* row = cur + static_cast<size_t>(y) * w + r.x;
            out.insert(out.end(), row, row + r.w);
        }
        return out;
    }
};

GifWriter::GifWriter() : s(new State) {}

GifWriter::~GifWriter() {
    if (s->gif) EGifCloseFile(s->gif, nullptr);
}

namespace {

// giflib's output through the caller's stream: its own file-handle open
// would close the descriptor at the end.
int PutBytes(GifFileType* gif, const GifByteType* bytes, int n) {
    auto* f = static_cast<std::FILE*>(gif->UserData);
    return static_cast<int>(std::fwrite(bytes, 1, static_cast<size_t>(n), f));
}

}  // namespace

bool GifWriter::Open(std::FILE* f, int w, int h, const std::vector<uint32_t>& globalPalette, int loops) {
    int error = 0;
    if (!f || w < 1 || h < 1 || w > 65535 || h > 65535 || globalPalette.size() > kMaxColours) return false;
    s->gif = EGifOpen(f, PutBytes, &error);
    if (!s->gif) return false;
    s->w = w, s->h = h;
    s->global = globalPalette;
    s->globalIndex = IndexOf(globalPalette);
    s->line.resize(w);
    // Extensions are written as they come, so the version that allows them
    // must be chosen before the header goes out.
    EGifSetGifVersion(s->gif, true);
    ColorMapObject* map = nullptr;
    if (!globalPalette.empty()) {
        int transparent = globalPalette.size() < kMaxColours ? static_cast<int>(globalPalette.size()) : -1;
        map = MakeMap(globalPalette, transparent);
    }
    s->ok = EGifPutScreenDesc(s->gif, w, h, 8, 0, map) == GIF_OK;
    GifFreeMapObject(map);
    unsigned char loopBlock[3] = {1, static_cast<unsigned char>(loops & 0xFF),
                                  static_cast<unsigned char>((loops >> 8) & 0xFF)};
    s->ok = s->ok && EGifPutExtensionLeader(s->gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
            EGifPutExtensionBlock(s->gif, 11, "NETSCAPE2.0") == GIF_OK &&
            EGifPutExtensionBlock(s->gif, 3, loopBlock) == GIF_OK && EGifPutExtensionTrailer(s->gif) == GIF_OK;
    return s->ok;
}

namespace {

// Chooses the palette of a frame's rectangle when there is no global one:
// exact with a transparent slot when the changed pixels leave room for it,
// exact without one when the whole rectangle fits, reduced otherwise.
void ChooseLocal(FramePalette& p, const std::vector<uint32_t>& written,
                 const std::function<std::vector<uint32_t>()>& whole, bool later, bool& reduced) {
    p.local = true;
    int room = later ? kMaxColours - 1 : kMaxColours;
    ColourSet changed(room), all(kMaxColours);
    std::vector<uint32_t> rect;
    changed.Add(written.data(), written.size());
    if (!changed.Over()) {
        p.colours = changed.Sorted();
        if (later) p.transparent = static_cast<int>(p.colours.size());
    } else if (later && (rect = whole(), all.Add(rect.data(), rect.size()), !all.Over())) {
        p.colours = all.Sorted();
    } else {
        p.colours = QuantizePalette(written.data(), written.size(), room);
        if (later) p.transparent = static_cast<int>(p.colours.size());
        p.nearest.reset(new NearestColour(p.colours));
        reduced = true;
        return;
    }
    p.ownExact = IndexOf(p.colours);
    p.exact = &p.ownExact;
}

}  // namespace

bool GifWriter::Add(const uint32_t* pixels, int delay) {
    State& st = *s;
    if (!st.gif || !st.ok) return false;
    size_t n = static_cast<size_t>(st.w) * st.h;
    std::vector<uint32_t> cur(pixels, pixels + n);
    for (uint32_t& c : cur) c &= kRgbMask;
    bool later = !st.previous.empty();
    ChangedRect r = later ? FindChangedRect(st.previous.data(), cur.data(), st.w, st.h) : ChangedRect{0, 0, st.w, st.h};
    // A frame equal to the one before still needs an image for its delay.
    if (r.w == 0) r = {0, 0, 1, 1};

    FramePalette p;
    if (!st.global.empty()) {
        p.colours = st.global;
        p.exact = &st.globalIndex;
        p.fallback = &st.globalNearest;
        p.missed = &approximated;
        if (later && st.global.size() < kMaxColours) p.transparent = static_cast<int>(st.global.size());
    } else {
        ChooseLocal(p, st.Written(cur.data(), r), [&] { return st.Whole(cur.data(), r); }, later, reduced);
    }

    GraphicsControlBlock gcb;
    gcb.DisposalMode = DISPOSE_DO_NOT;
    gcb.UserInputFlag = false;
    gcb.DelayTime = delay;
    gcb.TransparentColor = p.transparent >= 0 ? p.transparent : NO_TRANSPARENT_COLOR;
    GifByteType ext[4];
    size_t len = EGifGCBToExtension(&gcb, ext);
    ColorMapObject* map = p.local ? MakeMap(p.colours, p.transparent) : nullptr;
    st.ok = EGifPutExtension(st.gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(len), ext) == GIF_OK &&
            EGifPutImageDesc(st.gif, r.x, r.y, r.w, r.h, false, map) == GIF_OK;
    GifFreeMapObject(map);
    for (int y = r.y; y < r.y + r.h && st.ok; y++) {
        size_t row = static_cast<size_t>(y) * st.w;
        for (int x = 0; x < r.w; x++) {
            size_t i = row + r.x + x;
            bool kept = p.transparent >= 0 && later && st.previous[i] == cur[i];
            st.line[x] = static_cast<GifPixelType>(kept ? p.transparent : p.Index(cur[i]));
        }
        st.ok = EGifPutLine(st.gif, st.line.data(), r.w) == GIF_OK;
    }
    st.previous.swap(cur);
    return st.ok;
}

bool GifWriter::Close() {
    if (!s->gif) return false;
    int error = 0;
    bool closed = EGifCloseFile(s->gif, &error) == GIF_OK;
    s->gif = nullptr;
    return closed && s->ok;
}
