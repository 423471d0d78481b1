// A GIF decoded with giflib into the frames a player shows: each image drawn
// over the canvas the one before left, its transparent pixels keeping what
// was there. Shared by the GIF tests and the export benchmark.
#pragma once
#include <gif_lib.h>

#include <cstdint>
#include <string>
#include <vector>

struct DecodedGif {
    int w = 0, h = 0;
    std::vector<std::vector<uint32_t>> frames;  // 0xRRGGBB
    std::vector<int> delays;
};

inline DecodedGif DecodeGif(const std::string& name) {
    DecodedGif out;
    int error = 0;
    GifFileType* g = DGifOpenFileName(name.c_str(), &error);
    if (!g) return out;
    if (DGifSlurp(g) == GIF_OK) {
        out.w = g->SWidth, out.h = g->SHeight;
        std::vector<uint32_t> canvas(static_cast<size_t>(out.w) * out.h, 0);
        for (int i = 0; i < g->ImageCount; i++) {
            const SavedImage& im = g->SavedImages[i];
            GraphicsControlBlock gcb{0, false, 0, NO_TRANSPARENT_COLOR};
            DGifSavedExtensionToGCB(g, i, &gcb);
            const ColorMapObject* map = im.ImageDesc.ColorMap ? im.ImageDesc.ColorMap : g->SColorMap;
            const GifImageDesc& d = im.ImageDesc;
            for (int y = 0; y < d.Height; y++)
                for (int x = 0; x < d.Width; x++) {
                    int index = im.RasterBits[y * d.Width + x];
                    if (index == gcb.TransparentColor) continue;
                    const GifColorType& c = map->Colors[index];
                    canvas[static_cast<size_t>(d.Top + y) * out.w + d.Left + x] = c.Red << 16 | c.Green << 8 | c.Blue;
                }
            out.frames.push_back(canvas);
            out.delays.push_back(gcb.DelayTime);
        }
    }
    DGifCloseFile(g, &error);
    return out;
}
