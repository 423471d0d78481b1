#pragma once
#include <functional>
#include <string>
#include <vector>

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
// hint "Press Control Enter to finish", drawn straight onto the screen. Enter
// moves to the next row (from the last back to the first), Ctrl+Enter
// accepts, Esc cancels. `values` offers one answer per prompt; missing ones
// start empty. A stop request ends the form with no texts at all, so that
// nothing is applied.
PromptAnswers AskFields(const std::string& title, const std::vector<std::string>& prompts,
                        const std::vector<std::string>& values, const PromptSeams& seams = {});

// The answers alone: the edited texts on accept, `values` on cancel.
std::vector<std::string> promptFields(const std::string& title, const std::vector<std::string>& prompts,
                                      const std::vector<std::string>& values);

// A number typed as text: leading white space skipped, an optional sign, then
// decimal digits up to the first other character; 0 without digits. Numbers
// beyond the int range stop at its ends.
int NumberFrom(const std::string& text);
