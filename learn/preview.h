#pragma once
#include <allegro.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class Bmp;

// One frame file of a preview, read once when the preview starts.
struct PreviewFrame {
    std::unique_ptr<Bmp> picture;
};

// Where the preview shows on a screen of screenW x screenH: a panel over the
// top right quarter, the frame magnified to fit it (by a whole factor, or
// shrunk when it is larger than the panel) above a caption line captionH
// high.
struct PreviewLayout {
    int panelX, panelW, panelH;
    int imageX, imageY, imageW, imageH;
    int captionY;
};
PreviewLayout LayOutPreview(int screenW, int screenH, int frameW, int frameH, int captionH);

// The preview's loop: the frames in turn on `screen`, frame i (counting on
// through the loops) at start + i * delayMs, each panel drawn before its time
// comes so that only a blit lies between the time and the screen.
// `wait(ms)` waits up to ms milliseconds and answers the key pressed (as
// readkey does), 0 when the time passed, or a negative number to end the
// preview. `shown(i, dueUs, atUs)`, when given, hears of every frame put on
// the screen, in microseconds from the start. Returns what ended it: the key,
// or the negative number.
int PlayPreview(BITMAP* screen, const std::vector<PreviewFrame>& frames, int delayMs,
                const std::function<int(long ms)>& wait,
                const std::function<void(long i, long long dueUs, long long atUs)>& shown = {});
