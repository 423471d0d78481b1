#include "prompt.h"

#include <allegro.h>

#include <cstdlib>
#include <memory>

#include "../all/display.h"
#include "../all/stop_request.h"
#include "../all/read_number.h"
#include "../bmp/draw_text.h"
#include "../txt/txt.h"
#include "../varshim/varshim.h"
#include "world.h"

namespace {

bool Held(int k) { return get_key(k) != 0; }

// The three widgets of one row.
struct Row {
    std::unique_ptr<Txt> label, shown, editor;
};

std::unique_ptr<Txt> MakeWidget(const PromptSeams& seams, int x, int y, int colour, const std::string& text) {
    std::unique_ptr<Txt> t(seams.makeTxt ? seams.makeTxt(x, y, colour, text) : new Txt(x, y, colour, text));
    t->setScale(1, 1);
    return t;
}

std::vector<Row> MakeRows(const std::vector<std::string>& prompts, const std::vector<std::string>& values,
                          const PromptSeams& seams) {
    std::vector<Row> rows;
    for (size_t i = 0; i < prompts.size(); i++) {
        int y = 8 * static_cast<int>(i) + 10;
        std::string value = i < values.size() ? values[i] : "";
        Row r;
        r.label = MakeWidget(seams, 10, y, makecol(0, 180, 255), prompts[i]);
        int x = r.label->getWidth() + 10;
        r.shown = MakeWidget(seams, x, y, makecol(180, 120, 0), value);
        r.editor = MakeWidget(seams, x, y, makecol(255, 180, 0), value);
        rows.push_back(std::move(r));
    }
    return rows;
}

void DrawForm(const std::string& title, std::vector<Row>& rows) {
    int yellow = makecol(255, 255, 0);
    DrawText(display::screen, title, 1, 1, yellow, 1, 1);
    for (Row& r : rows) {
        r.label->draw(1, display::screen);
        r.shown->draw(1, display::screen);
    }
    DrawText(display::screen, "Press Control Enter to finish", 1, 8 * static_cast<int>(rows.size()) + 22,
             yellow, 1, 1);
}

// Waits while any of the keys is held, so that a key meant for the form (or
// the Alt of the command that opened it) does not act twice.
void WaitReleased(std::initializer_list<int> keys, int ms, const PromptSeams& seams) {
    auto anyHeld = [&]() {
        for (int k : keys)
            if (Held(k)) return true;
        return false;
    };
    while (anyHeld() && !StopRequested()) seams.pause ? seams.pause(ms) : rest(ms);
}

}  // namespace

PromptAnswers AskFields(const std::string& title, const std::vector<std::string>& prompts,
                        const std::vector<std::string>& values, const PromptSeams& seams) {
    PromptAnswers result{values, false};
    if (prompts.empty()) return result;
    std::vector<Row> rows = MakeRows(prompts, values, seams);
    bool done = false;
    while (!done) {
        DrawForm(title, rows);
        WaitReleased({KEY_ALT}, 10, seams);
        for (size_t i = 0; i < rows.size() && !done; i++) {
            Row& r = rows[i];
            r.editor->setText(r.editor->input());
            r.shown->setText(r.editor->getText());
            if (Held(KEY_LCONTROL) || Held(KEY_RCONTROL)) done = result.accepted = true;
            // Esc wins over Ctrl.
            if (Held(KEY_ESC)) done = true, result.accepted = false;
            if (StopRequested()) done = true;
            r.shown->draw(1, display::screen);
        }
    }
    if (StopRequested()) return PromptAnswers{};
    if (result.accepted) {
        result.texts.clear();
        for (Row& r : rows) result.texts.push_back(r.editor->getText());
    }
    WaitReleased({KEY_ENTER, KEY_ESC}, 1, seams);
    return result;
}

std::vector<std::string> promptFields(const std::string& title, const std::vector<std::string>& prompts,
                                      const std::vector<std::string>& values) {
    return AskFields(title, prompts, values).texts;
}

int NumberFrom(const std::string& text) { return ReadNumber(text); }

PromptAnswers World::Prompt(const std::string& title, const std::vector<std::string>& prompts,
                            const std::vector<std::string>& values) {
    return AskFields(title, prompts, values);
}
