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

// Where giflib's output goes: the caller's stream, or memory while a frame
// is encoded on trial.
struct OutputSink {
    std::FILE* file = nullptr;
    std::vector<GifByteType>* trial = nullptr;
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

void ColourSet::Add(const uint32_t* pixels, size_t n, bool withAlpha) {
    // Neighbours often share a colour: the set is asked once per run.
    uint32_t last = 0;
    for (size_t i = 0; i < n && !Over(); i++) {
        if (withAlpha && (pixels[i] >> 24) == 0) continue;
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

void SharedColours::Add(const uint32_t* pixels, int fw, int fh, bool withAlpha) {
    size_t n = static_cast<size_t>(fw) * fh;
    bool later = fw == w && fh == h && previous.size() == n;
    std::unordered_set<uint32_t> seen;
    for (int y = 0; y < fh; y++) {
        const uint32_t* row = pixels + static_cast<size_t>(y) * fw;
        const uint32_t* before = later ? previous.data() + static_cast<size_t>(y) * fw : nullptr;
        // Most rows of a later frame are as they were.
        if (later && std::equal(row, row + fw, before)) continue;
        uint32_t last = 0;
        for (int x = 0; x < fw; x++) {
            uint32_t c = row[x];
            if ((withAlpha && (c >> 24) == 0) || (later && before[x] == c) || (x > 0 && c == last)) continue;
            seen.insert(c & kRgbMask);
            last = c;
        }
    }
    for (uint32_t c : seen) {
        auto found = frames.find(c);
        if (found != frames.end())
            found->second++;
        else if (frames.size() < kMaxCounted)
            frames.emplace(c, 1);
    }
    previous.assign(pixels, pixels + n);
    w = fw, h = fh;
}

std::vector<uint32_t> SharedColours::Top(size_t count) const {
    std::vector<std::pair<int, uint32_t>> ranked;
    for (const auto& [colour, k] : frames) ranked.emplace_back(-k, colour);
    std::sort(ranked.begin(), ranked.end());
    std::vector<uint32_t> top;
    for (size_t i = 0; i < ranked.size() && i < count; i++) top.push_back(ranked[i].second);
    std::sort(top.begin(), top.end());
    return top;
}

// The field holds 16 bits; a delay beyond it is stored as the longest.
int GifDelay(int ms) { return static_cast<int>(std::min(65535LL, std::max(2LL, (std::max(ms, 0) + 5LL) / 10))); }

struct GifWriter::State {
    GifFileType* gif = nullptr;
    OutputSink sink;
    int w = 0, h = 0;
    bool ok = true;
    std::vector<uint32_t> global;
    std::unordered_map<uint32_t, int> globalIndex;
    bool covers = true;  // the global palette holds every colour
    std::unique_ptr<NearestColour> globalNearest;
    // What the decoder's canvas holds before the pending frame is drawn;
    // empty before the first frame, which is drawn over a clear canvas.
    std::vector<uint32_t> base;
    // The frame waiting for the next one: its disposal depends on whether
    // the next one needs pixels cleared.
    std::vector<uint32_t> pending;
    int pendingDelay = 0;
    std::vector<GifPixelType> line;
};

GifWriter::GifWriter() : s(new State) {}

GifWriter::~GifWriter() {
    if (s->gif) EGifCloseFile(s->gif, nullptr);
}

namespace {

// giflib's output through the caller's stream: its own file-handle open
// would close the descriptor at the end.
// A trial encoding goes into memory instead, to be measured.
int PutBytes(GifFileType* gif, const GifByteType* bytes, int n) {
    auto* st = static_cast<OutputSink*>(gif->UserData);
    if (st->trial) {
        st->trial->insert(st->trial->end(), bytes, bytes + n);
        return n;
    }
    return static_cast<int>(std::fwrite(bytes, 1, static_cast<size_t>(n), st->file));
}

}  // namespace

bool GifWriter::Open(std::FILE* f, int w, int h, const std::vector<uint32_t>& globalPalette, int loops,
                     bool coversAll) {
    int error = 0;
    if (!f || w < 1 || h < 1 || w > 65535 || h > 65535 || globalPalette.size() > kMaxColours) return false;
    s->sink.file = f;
    s->gif = EGifOpen(&s->sink, PutBytes, &error);
    if (!s->gif) return false;
    s->w = w, s->h = h;
    s->global = globalPalette;
    s->covers = coversAll;
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

// A pixel where the frame is see-through. Colours are masked to 24 bits,
// so none equals it.
const uint32_t kClear = 0xFF000000u;

ChangedRect Union(const ChangedRect& a, const ChangedRect& b) {
    if (a.w == 0) return b;
    if (b.w == 0) return a;
    int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
    int x1 = std::max(a.x + a.w, b.x + b.w), y1 = std::max(a.y + a.h, b.y + b.h);
    return {x0, y0, x1 - x0, y1 - y0};
}

// The pixels that are see-through in `after` but not in `before`: drawing
// can't clear them, so the frame before must be disposed over them.
ChangedRect ClearedBy(const std::vector<uint32_t>& before, const std::vector<uint32_t>& after, int w, int h) {
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            size_t i = static_cast<size_t>(y) * w + x;
            if (after[i] == kClear && before[i] != kClear)
                x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
        }
    if (x1 < 0) return {};
    return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

// One way of writing a frame's rectangle, encoded on trial.
struct Plan {
    FramePalette p;
    bool keep = false;     // pixels the canvas already shows are written as the transparent index
    bool reduced = false;  // colours were quantized
    bool missed = false;   // a colour the global palette lacks
    bool global = false;   // written with the global palette
    bool valid = true;     // false when its palette can't serve the frame
    std::vector<GifByteType> bytes;

    // Exact before reduced, then the smaller.
    bool Beats(const Plan& other) const {
        if (!other.valid) return valid;
        if (!valid) return false;
        if (reduced != other.reduced) return !reduced;
        return bytes.size() < other.bytes.size();
    }
};

}  // namespace

struct GifWriter::Encoder {
    // The palette of one plan: the global one when it serves (and has a
    // slot for the transparent index when one is needed), else an exact
    // local one, or one quantized from the colours to write when they are
    // too many.
    static bool Palette(State& st, Plan& plan, const std::vector<uint32_t>& written, bool needT) {
        FramePalette& p = plan.p;
        if (plan.global) {
            if (st.global.empty() || (needT && st.global.size() >= kMaxColours)) return false;
            if (!st.covers)
                for (uint32_t c : written)
                    if (!st.globalIndex.count(c)) return false;
            p.colours = st.global;
            p.exact = &st.globalIndex;
            p.fallback = &st.globalNearest;
            p.missed = &plan.missed;
            if (needT) p.transparent = static_cast<int>(st.global.size());
            return true;
        }
        p.local = true;
        int room = needT ? kMaxColours - 1 : kMaxColours;
        ColourSet set(room);
        set.Add(written.data(), written.size());
        if (!set.Over()) {
            p.colours = set.Sorted();
            p.ownExact = IndexOf(p.colours);
            p.exact = &p.ownExact;
        } else {
            p.colours = QuantizePalette(written.data(), written.size(), room);
            p.nearest.reset(new NearestColour(p.colours));
            plan.reduced = true;
        }
        if (needT) p.transparent = static_cast<int>(p.colours.size());
        return true;
    }

    // Encodes `cur` inside r over the canvas into plan.bytes.
    static bool Encode(State& st, Plan& plan, const std::vector<uint32_t>& cur, const ChangedRect& r, int delay,
                       bool dispose) {
        std::vector<uint32_t> written;
        bool anyClear = false;
        for (int y = r.y; y < r.y + r.h; y++)
            for (int x = r.x; x < r.x + r.w; x++) {
                size_t i = static_cast<size_t>(y) * st.w + x;
                if (cur[i] == kClear)
                    anyClear = true;
                else if (!plan.keep || st.base[i] != cur[i])
                    written.push_back(cur[i]);
            }
        // A frame that is disposed has a transparent index too: decoders
        // clear to it.
        if (!Palette(st, plan, written, plan.keep || anyClear || dispose)) return plan.valid = false;
        const FramePalette& p = plan.p;

        GraphicsControlBlock gcb;
        gcb.DisposalMode = dispose ? DISPOSE_BACKGROUND : DISPOSE_DO_NOT;
        gcb.UserInputFlag = false;
        gcb.DelayTime = delay;
        gcb.TransparentColor = p.transparent >= 0 ? p.transparent : NO_TRANSPARENT_COLOR;
        GifByteType ext[4];
        size_t len = EGifGCBToExtension(&gcb, ext);
        ColorMapObject* map = p.local ? MakeMap(p.colours, p.transparent) : nullptr;
        // giflib drops the copy of an earlier frame's local palette without
        // freeing it when a frame comes without one: free it here.
        if (!map && st.gif->Image.ColorMap) {
            GifFreeMapObject(st.gif->Image.ColorMap);
            st.gif->Image.ColorMap = nullptr;
        }
        st.sink.trial = &plan.bytes;
        bool ok = EGifPutExtension(st.gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(len), ext) == GIF_OK &&
                  EGifPutImageDesc(st.gif, r.x, r.y, r.w, r.h, false, map) == GIF_OK;
        GifFreeMapObject(map);
        for (int y = r.y; y < r.y + r.h && ok; y++) {
            size_t row = static_cast<size_t>(y) * st.w;
            for (int x = 0; x < r.w; x++) {
                size_t i = row + r.x + x;
                bool see = cur[i] == kClear || (plan.keep && st.base[i] == cur[i]);
                st.line[x] = static_cast<GifPixelType>(see ? p.transparent : plan.p.Index(cur[i]));
            }
            ok = EGifPutLine(st.gif, st.line.data(), r.w) == GIF_OK;
        }
        st.sink.trial = nullptr;
        return ok;
    }

    // Writes a frame over the canvas: its changed rectangle (the whole
    // screen for the first), widened by `cleared`, which the frame is
    // disposed over afterwards. Both ways of writing the pixels the canvas
    // already shows, as the transparent index or as their colours, are
    // tried with each palette that serves; the smallest exact one is kept.
    // `cur` becomes the canvas; what it holds afterwards is left over.
    static bool Emit(GifWriter& g, std::vector<uint32_t>& cur, int delay, const ChangedRect& cleared) {
        State& st = *g.s;
        bool first = st.base.empty();
        if (first) st.base.assign(cur.size(), kClear);
        ChangedRect r = first ? ChangedRect{0, 0, st.w, st.h} : FindChangedRect(st.base.data(), cur.data(), st.w, st.h);
        r = Union(r, cleared);
        // A frame equal to the one before still needs an image for its delay.
        if (r.w == 0) r = {0, 0, 1, 1};
        bool dispose = cleared.w > 0;

        // The global palette serves a frame when it covers every colour;
        // a shared one only where it holds the frame's colours, and a local
        // palette is tried as well. The first frame has no canvas to keep.
        Plan plans[4];
        int tried = 0;
        for (bool keep : {false, true}) {
            if (keep && first) continue;
            for (bool global : {true, false}) {
                Plan& plan = plans[tried];
                plan = Plan();
                plan.keep = keep, plan.global = global;
                if (!Encode(st, plan, cur, r, delay, dispose)) {
                    if (plan.valid) return st.ok = false;
                    continue;
                }
                tried++;
                if (global && st.covers) break;
            }
        }
        int best = 0;
        for (int k = 1; k < tried; k++)
            if (plans[k].Beats(plans[best])) best = k;
        if (tried == 0) return st.ok = false;
        const Plan& chosen = plans[best];
        g.reduced = g.reduced || chosen.reduced;
        g.approximated = g.approximated || chosen.missed;
        st.ok = std::fwrite(chosen.bytes.data(), 1, chosen.bytes.size(), st.sink.file) == chosen.bytes.size();

        st.base.swap(cur);
        if (dispose)
            for (int y = r.y; y < r.y + r.h; y++)
                std::fill_n(st.base.begin() + static_cast<size_t>(y) * st.w + r.x, r.w, kClear);
        return st.ok;
    }
};

bool GifWriter::Add(const uint32_t* pixels, int delay, bool withAlpha) {
    State& st = *s;
    if (!st.gif || !st.ok) return false;
    size_t n = static_cast<size_t>(st.w) * st.h;
    std::vector<uint32_t> cur(pixels, pixels + n);
    bool anyClear = false;
    for (uint32_t& c : cur) {
        bool clear = withAlpha && (c >> 24) == 0;
        anyClear = anyClear || clear;
        c = clear ? kClear : c & kRgbMask;
    }
    if (!st.pending.empty()) {
        ChangedRect cleared = anyClear ? ClearedBy(st.pending, cur, st.w, st.h) : ChangedRect{};
        if (!Encoder::Emit(*this, st.pending, st.pendingDelay, cleared)) return false;
    }
    st.pending.swap(cur);
    st.pendingDelay = delay;
    return st.ok;
}

bool GifWriter::Close() {
    if (!s->gif) return false;
    if (s->ok && !s->pending.empty()) Encoder::Emit(*this, s->pending, s->pendingDelay, {});
    s->pending.clear();
    int error = 0;
    bool closed = EGifCloseFile(s->gif, &error) == GIF_OK;
    s->gif = nullptr;
    return closed && s->ok;
}
