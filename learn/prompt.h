#pragma once
#include <functional>
#include <string>
#include <vector>

#include <allegro.h>

#include "../all/field_ranges.h"

class Txt;

// What a form returns: one text per row, and whether the user accepted
// (Ctrl+Enter) rather than cancelled (Esc, which returns the offered values).
struct PromptAnswers {
    std::vector<std::string> texts;
    bool accepted = false;
};

// What the form needs from outside besides the keyboard and the screen.
// Tests replace the widget maker to script the keys of each row, and the
// pause to let go of keys while the form waits for their release.
struct PromptSeams {
    std::function<Txt*(int x, int y, int colour, const std::string& text)> makeTxt;
    std::function<void(int ms)> pause;
};

// The multi-field form: a title, one row per prompt with its answer, and the
// hint "Press Control Enter to finish", on an opaque panel over the dimmed
// view. Enter moves to the next row (from the last back to the first),
// Ctrl+Enter accepts, Esc cancels. `values` offers one answer per prompt;
// missing ones start empty. Ctrl+Enter with a number outside its row's
// range keeps the form open on that row and names the range on the panel
// (and the console). A stop request ends the form with no texts at all, so
// that nothing is applied.
PromptAnswers AskFields(const std::string& title, const std::vector<std::string>& prompts,
                        const std::vector<std::string>& values, const PromptSeams& seams = {},
                        const FieldRanges& ranges = {});

// True when the form was accepted with one answer per prompt, each number
// inside its range: every dialog applies answers only then, whoever answered.
bool AcceptedInRange(const PromptAnswers& a, size_t prompts, const FieldRanges& ranges);

// Where the form puts things on the screen, for the form itself and for
// tests that look at what it drew.
struct FormLayout {
    static constexpr int kTitleY = 4;
    static constexpr int kFirstRowY = 16;
    // Rows one rendered line (10 pixels) apart and a gap, so that clearing
    // one row never touches its neighbours' outlines.
    static constexpr int kRowPitch = 12;
    static constexpr int kLabelX = 10;
    static int RowY(int row) { return kFirstRowY + kRowPitch * row; }
    static int HintY(int rows) { return RowY(rows) + 4; }
    static int RefusalY(int rows) { return HintY(rows) + 12; }
    static int Height(int rows) { return RefusalY(rows) + 12; }
};

// The backdrop of every form and question: the view under it dimmed, and an
// opaque panel with a border across `dest`, `height` rows from `top`.
void DimView(BITMAP* dest);
void DrawPanel(BITMAP* dest, int top, int height);
// The panel's fill, which a field is cleared to before its text is drawn.
int PanelColour();

// The answers alone: the edited texts on accept, `values` on cancel.
std::vector<std::string> promptFields(const std::string& title, const std::vector<std::string>& prompts,
                                      const std::vector<std::string>& values);

// A number typed as text: leading white space skipped, an optional sign, then
// decimal digits up to the first other character; 0 without digits. Numbers
// beyond the int range stop at its ends.
int NumberFrom(const std::string& text);
