#include "prompt.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "../all/display.h"
#include "../all/endings.h"
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
    int answerX = 0, y = 0;  // where the answer and its editor sit
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
        int y = FormLayout::RowY(static_cast<int>(i));
        std::string value = i < values.size() ? values[i] : "";
        Row r;
        r.label = MakeWidget(seams, FormLayout::kLabelX, y, makecol(0, 180, 255), prompts[i]);
        int x = r.label->getWidth() + FormLayout::kLabelX;
        r.answerX = x, r.y = y;
        r.shown = MakeWidget(seams, x, y, makecol(180, 120, 0), value);
        r.editor = MakeWidget(seams, x, y, makecol(255, 180, 0), value);
        rows.push_back(std::move(r));
    }
    return rows;
}

// What the panel shows besides the rows: the title, and the refusal of the
// last Ctrl+Enter when a number was out of its range.
struct Form {
    std::string title;
    std::vector<Row> rows;
    std::string refusal;

    int RowCount() const { return static_cast<int>(rows.size()); }
};

// Clears the answer's place to the panel's edge, so the text the field holds
// is all that shows there, and the editor's saved background is clean.
void ClearField(const Row& r) {
    BITMAP* s = display::screen;
    rectfill(s, r.answerX, r.y, s->w - 2, r.y + FormLayout::kRowPitch - 3, PanelColour());
}

void DrawForm(Form& f) {
    BITMAP* s = display::screen;
    int yellow = makecol(255, 255, 0);
    DrawPanel(s, 0, FormLayout::Height(f.RowCount()));
    DrawText(s, f.title, FormLayout::kLabelX, FormLayout::kTitleY, yellow, 1, 1);
    for (Row& r : f.rows) {
        r.label->draw(1, s);
        r.shown->draw(1, s);
    }
    DrawText(s, "Press Control Enter to finish", FormLayout::kLabelX, FormLayout::HintY(f.RowCount()), yellow, 1, 1);
    if (!f.refusal.empty())
        DrawText(s, f.refusal, FormLayout::kLabelX, FormLayout::RefusalY(f.RowCount()), makecol(255, 90, 90), 1, 1);
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

std::vector<std::string> EditedTexts(const std::vector<Row>& rows) {
    std::vector<std::string> texts;
    for (const Row& r : rows) texts.push_back(r.editor->getText());
    return texts;
}

}  // namespace

int PanelColour() { return makecol(20, 24, 40); }

// Half of every channel, so the view stays recognisable but reads as
// background.
void DimView(BITMAP* dest) {
    set_trans_blender(0, 0, 0, 128);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    rectfill(dest, 0, 0, dest->w - 1, dest->h - 1, makecol(0, 0, 0));
    drawing_mode(DRAW_MODE_SOLID, nullptr, 0, 0);
}

void DrawPanel(BITMAP* dest, int top, int height) {
    int bottom = std::min(top + height, dest->h) - 1;
    rectfill(dest, 0, top, dest->w - 1, bottom, PanelColour());
    rect(dest, 0, top, dest->w - 1, bottom, makecol(140, 150, 190));
}

PromptAnswers AskFields(const std::string& title, const std::vector<std::string>& prompts,
                        const std::vector<std::string>& values, const PromptSeams& seams,
                        const FieldRanges& ranges) {
    PromptAnswers result{values, false};
    if (prompts.empty()) return result;
    ScreenTraffic drawingOnly;
    Form form{title, MakeRows(prompts, values, seams), ""};
    size_t n = form.rows.size(), i = 0;
    DimView(display::screen);
    DrawForm(form);
    WaitReleased({KEY_ALT}, 10, seams);
    for (;;) {
        Row& r = form.rows[i];
        ClearField(r);
        r.editor->setText(r.editor->input());
        r.shown->setText(r.editor->getText());
        if (StopRequested()) return PromptAnswers{};
        // Esc wins over Ctrl.
        if (Held(KEY_ESC)) break;
        if (Held(KEY_LCONTROL) || Held(KEY_RCONTROL)) {
            RangeVerdict v = CheckRanges(EditedTexts(form.rows), ranges);
            if (!v.Refused()) {
                result = {EditedTexts(form.rows), true};
                break;
            }
            std::printf("%s\n", v.message.c_str());
            form.refusal = v.message;
            i = static_cast<size_t>(v.row);
            DrawForm(form);
            WaitReleased({KEY_ENTER, KEY_LCONTROL, KEY_RCONTROL}, 1, seams);
            continue;
        }
        i = (i + 1) % n;
        DrawForm(form);
        if (i == 0) WaitReleased({KEY_ALT}, 10, seams);
    }
    WaitReleased({KEY_ENTER, KEY_ESC}, 1, seams);
    return result;
}

bool AcceptedInRange(const PromptAnswers& a, size_t prompts, const FieldRanges& ranges) {
    return a.accepted && a.texts.size() == prompts && !CheckRanges(a.texts, ranges).Refused();
}

std::vector<std::string> promptFields(const std::string& title, const std::vector<std::string>& prompts,
                                      const std::vector<std::string>& values) {
    return AskFields(title, prompts, values).texts;
}

int NumberFrom(const std::string& text) { return ReadNumber(text); }

PromptAnswers World::Prompt(const std::string& title, const std::vector<std::string>& prompts,
                            const std::vector<std::string>& values, const FieldRanges& ranges) {
    return AskFields(title, prompts, values, {}, ranges);
}
