#include "gif_export.h"

#include "scale_pixels.h"

namespace {
const size_t kSharedColours = 255;
}

bool GifExport::Check(std::string& why) {
    kept.clear();
    size_t keptBytes = 0;
    bool keeping = true;
    for (int i = 0; i < count; i++) {
        RgbPixels px;
        if (!read(i, px, why)) return false;
        if (i == 0) w = px.w, h = px.h;
        colours.Add(px.argb.data(), px.argb.size(), seeThrough);
        shared.Add(px.argb.data(), px.w, px.h, seeThrough);
        size_t bytes = px.argb.size() * sizeof(uint32_t);
        keeping = keeping && keptBytes + bytes <= keepBytes;
        if (keeping) {
            keptBytes += bytes;
            kept.push_back(std::move(px));
        } else {
            kept.clear();
        }
    }
    return true;
}

bool GifExport::Write(std::FILE* f, int delay, int loops, std::string& why) {
    GifWriter gif;
    // A shared palette leaves a slot for the transparent index.
    bool covers = !colours.Over();
    std::vector<uint32_t> global = covers ? colours.Sorted() : shared.Top(kSharedColours);
    bool ok = gif.Open(f, static_cast<int>(Width()), static_cast<int>(Height()), global, loops, covers);
    bool fromMemory = kept.size() == static_cast<size_t>(count);
    for (int i = 0; ok && i < count; i++) {
        RgbPixels again;
        if (!fromMemory && !read(i, again, why)) {
            ok = false;
            break;
        }
        const RgbPixels& px = fromMemory ? kept[i] : again;
        if (px.w != w || px.h != h || px.argb.size() != static_cast<size_t>(w) * h) {
            why = "a frame changed its size during the export";
            ok = false;
            break;
        }
        if (scale == 1) {
            ok = gif.Add(px.argb.data(), delay, seeThrough);
        } else {
            RgbPixels big = ScaledUp(px, scale);
            ok = gif.Add(big.argb.data(), delay, seeThrough);
        }
    }
    ok = gif.Close() && ok;
    reduced = gif.Reduced();
    changedColours = gif.Approximated();
    return ok;
}
