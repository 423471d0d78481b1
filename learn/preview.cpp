// Ctrl+P: the frame files of the export range played in turn in a panel at
// the top right of the screen, at the export delay, until a key is pressed.
// Only the screen changes: the key is never recorded, and the key that ends
// the preview does nothing else.
#include "preview.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>

#include "../all/display.h"
#include "../all/key_wait.h"
#include "../all/stop_request.h"
#include "../bmp/bmp.h"
#include "../bmp/gif_writer.h"
#include "../fileio/file_answer.h"
#include "../txt/txt.h"
#include "frames.h"
#include "prompt.h"
#include "world.h"

namespace {

const int kBorder = 4;
const int kMinDelayMs = 20;
// The frames of one preview are all held in memory; beyond this many bytes
// of pixels the rest of the range is left out.
const int64_t kPreviewBytes = int64_t{512} << 20;

// A Txt for the caption, scaled as the status line is.
std::unique_ptr<Txt> CaptionText(BITMAP* screen) {
    auto t = std::make_unique<Txt>(0, 0, makecol(255, 180, 0), "frame 1 of 1");
    t->setScale(std::max(screen->w / 1024, 1), std::max(screen->h / 768, 1));
    t->setText("frame 1 of 1");
    return t;
}

}  // namespace

PreviewLayout LayOutPreview(int screenW, int screenH, int frameW, int frameH, int captionH) {
    PreviewLayout at{};
    at.panelW = std::max(screenW / 2, 1);
    at.panelH = std::max(screenH / 2, 1);
    at.panelX = screenW - at.panelW;
    int availW = std::max(at.panelW - 2 * kBorder, 1);
    int availH = std::max(at.panelH - 3 * kBorder - captionH, 1);
    frameW = std::max(frameW, 1);
    frameH = std::max(frameH, 1);
    if (frameW <= availW && frameH <= availH) {
        // Pixel art stays crisp: every frame pixel the same whole block.
        int mag = std::min(availW / frameW, availH / frameH);
        at.imageW = frameW * mag;
        at.imageH = frameH * mag;
    } else {
        double scale = std::min(double(availW) / frameW, double(availH) / frameH);
        at.imageW = std::max(1, int(frameW * scale));
        at.imageH = std::max(1, int(frameH * scale));
    }
    at.imageX = at.panelX + (at.panelW - at.imageW) / 2;
    at.imageY = kBorder + (availH - at.imageH) / 2;
    at.captionY = at.panelH - kBorder - captionH;
    return at;
}

int PlayPreview(BITMAP* screen, const std::vector<PreviewFrame>& frames, int delayMs,
                const std::function<int(long)>& wait,
                const std::function<void(long, long long, long long)>& shown) {
    if (frames.empty()) return -1;
    using Clock = std::chrono::steady_clock;
    auto micros = [](Clock::duration d) {
        return static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(d).count());
    };
    std::unique_ptr<Txt> caption = CaptionText(screen);
    PreviewLayout first = LayOutPreview(screen->w, screen->h, 1, 1, caption->getHeight());
    std::unique_ptr<Bmp> panel = Bmp::TryCreate(first.panelW, first.panelH, "preview panel");
    if (!panel) return -1;
    BITMAP* p = panel->GetBitmap();
    const long count = static_cast<long>(frames.size());
    const Clock::time_point start = Clock::now();
    for (long i = 0;; i++) {
        BITMAP* frame = frames[i % count].picture->GetBitmap();
        PreviewLayout at = LayOutPreview(screen->w, screen->h, frame->w, frame->h, caption->getHeight());
        DrawPanel(p, 0, p->h);
        stretch_blit(frame, p, 0, 0, frame->w, frame->h, at.imageX - at.panelX, at.imageY, at.imageW, at.imageH);
        caption->setText("frame " + std::to_string(i % count + 1) + " of " + std::to_string(count));
        caption->drawAt(1, p, (p->w - caption->getWidth()) / 2, at.captionY);

        long long dueUs = static_cast<long long>(i) * delayMs * 1000;
        // Whole milliseconds of sleep, then the last fraction in short waits
        // that only look for a key: a sleep rounded up would be late.
        for (long long left; (left = dueUs - micros(Clock::now() - start)) > 0;) {
            int k = wait(static_cast<long>(left / 1000));
            if (k != 0) return k;
        }
        blit(p, screen, 0, 0, at.panelX, 0, p->w, p->h);
        if (shown) shown(i, dueUs, micros(Clock::now() - start));
    }
}

namespace {

bool Exists(const std::string& name) { return WhyMissing(name).empty(); }

struct Range {
    int first, last;
};

// The export forms' range once one was accepted; before that, the frames
// from the current one up to the first missing number.
Range PreviewRange(World& w) {
    const ExportSettings& e = w.exportSettings;
    if (e.last >= 0) return {e.first, e.last};
    int last = w.files->filesPos;
    while (last < INT_MAX && Exists(FrameFileName(w.files->root, last + 1))) last++;
    return {w.files->filesPos, last};
}

// The delay the exported GIF plays each frame at.
int PreviewDelay(World& w) {
    int ms = w.exportSettings.delay >= 0 ? w.exportSettings.delay : std::max(w.pause, kMinDelayMs);
    return GifDelay(ms) * 10;
}

// Every frame file of the range read once; those that cannot be read are
// left out, the first of them named in `skipped` and the rest counted.
std::vector<PreviewFrame> ReadFrames(const std::string& root, Range r, std::string& skipped, int& more) {
    std::vector<PreviewFrame> frames;
    int64_t bytes = 0;
    auto skip = [&](const std::string& name, const std::string& why) {
        if (skipped.empty())
            skipped = QuotedName(name) + ": " + why;
        else
            more++;
    };
    for (long long n = r.first; n <= r.last; n++) {
        std::string name = FrameFileName(root, static_cast<int>(n));
        std::string missing = WhyMissing(name);
        if (!missing.empty()) {
            skip(name, missing);
            continue;
        }
        auto picture = std::make_unique<Bmp>(name);
        if (!picture->Loaded()) {
            skip(name, picture->Failure());
            continue;
        }
        // Transparent pixels were loaded as the mask colour: shown black,
        // as the view shows where no layer is opaque.
        if (picture->Transparent() > 0) picture->ReplaceMaskColour(makecol(0, 0, 0));
        bytes += int64_t(picture->Width()) * picture->Height() * 4;
        if (bytes > kPreviewBytes) {
            skip(name, "the frames so far fill the preview's memory");
            continue;
        }
        frames.push_back({std::move(picture)});
    }
    return frames;
}

}  // namespace

void World::PreviewFrames() {
    Range range = PreviewRange(*this);
    if (range.last < range.first)
        return Message("Nothing to preview: the range " + std::to_string(range.first) + " to " +
                       std::to_string(range.last) + " is empty");
    std::string skipped;
    int more = 0;
    std::vector<PreviewFrame> frames = ReadFrames(files->root, range, skipped, more);
    if (more) skipped += " (and " + std::to_string(more) + " more)";
    if (frames.empty()) return Message("Nothing to preview: " + skipped);
    if (!skipped.empty()) Message("Preview skipped " + skipped);

    previewing = true;
    Render();
    clear_keybuf();
    // The repeats of the P that started the preview do not end it.
    bool startKeyHeld = true;
    auto wait = [&](long ms) {
        startKeyHeld = startKeyHeld && KeyHeld(KEY_P);
        int k = WaitForKeyFor(ms);
        if (StopRequested()) return -1;
        startKeyHeld = startKeyHeld && KeyHeld(KEY_P);
        if ((k >> 8) == KEY_P && startKeyHeld) return 0;
        return k;
    };
    int ended = PlayPreview(display::screen, frames, PreviewDelay(*this), wait);
    // The key that ends the preview does nothing else, also not in this pass.
    if (ended > 0) WaitKeyRelease(ended >> 8);
    previewing = false;
    Render();
}
