// F1: the key reference over the picture, in the text widget's outlined
// letters, a page at a time.
#include "help_screen.h"

#include <allegro.h>

#include <algorithm>
#include <memory>

#include "../all/display.h"
#include "../all/endings.h"
#include "../bmp/bmp.h"
#include "../txt/txt.h"
#include "prompt.h"
#include "world.h"

namespace {

using Block = std::vector<HelpLine>;

// Breaks at spaces; a word longer than the width is cut.
std::vector<std::string> Wrap(const std::string& text, size_t width) {
    std::vector<std::string> lines;
    std::string line;
    size_t i = 0;
    while (i < text.size()) {
        size_t end = std::min(text.find(' ', i), text.size());
        std::string word = text.substr(i, end - i);
        i = end + 1;
        while (word.size() > width) {
            if (!line.empty()) lines.push_back(line), line.clear();
            lines.push_back(word.substr(0, width));
            word.erase(0, width);
        }
        if (!line.empty() && line.size() + 1 + word.size() > width) lines.push_back(line), line.clear();
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty() || lines.empty()) lines.push_back(line);
    return lines;
}

// Keys in the first column; keys too long for it get a line of their own.
Block RowLines(const KeyRow& row, size_t cols) {
    size_t keyW = std::min<size_t>(24, cols / 3);
    Block block;
    std::string head = row.keys;
    if (head.size() >= keyW) block.push_back({head, false}), head.clear();
    head.resize(keyW, ' ');
    for (const std::string& part : Wrap(row.words, cols - keyW)) {
        block.push_back({head + part, false});
        head.assign(keyW, ' ');
    }
    return block;
}

// Each block stays on one page: a title travels with its first row.
std::vector<Block> Blocks(const std::vector<KeySection>& sections, size_t cols) {
    std::vector<Block> blocks;
    for (const KeySection& s : sections) {
        Block first = {{"", false}, {s.title, true}};
        if (!s.rows.empty()) {
            Block lines = RowLines(s.rows[0], cols);
            first.insert(first.end(), lines.begin(), lines.end());
        }
        blocks.push_back(first);
        for (size_t i = 1; i < s.rows.size(); i++) blocks.push_back(RowLines(s.rows[i], cols));
    }
    return blocks;
}

}  // namespace

std::vector<std::vector<HelpLine>> HelpPages(const std::vector<KeySection>& sections, int cols, int rows) {
    std::vector<std::vector<HelpLine>> pages(1);
    size_t limit = static_cast<size_t>(std::max(rows, 1));
    for (Block block : Blocks(sections, static_cast<size_t>(std::max(cols, 2)))) {
        if (!pages.back().empty() && pages.back().size() + block.size() > limit) pages.emplace_back();
        // No blank line at the top of a page.
        if (pages.back().empty() && !block.empty() && block[0].text.empty() && !block[0].title)
            block.erase(block.begin());
        for (const HelpLine& line : block) {
            if (pages.back().size() == limit) pages.emplace_back();
            pages.back().push_back(line);
        }
    }
    return pages;
}

namespace {

// +1 for the keys that page forward, -1 back, 0 for every other key.
int PageStep(int scancode) {
    switch (scancode) {
        case KEY_PGDN: case KEY_DOWN: case KEY_RIGHT: return 1;
        case KEY_PGUP: case KEY_UP: case KEY_LEFT: return -1;
        default: return 0;
    }
}

// The page's frame: its lines between a heading and the paging hint.
struct PageLayout {
    int x, lineH, rows;
    size_t count;
};

void DrawLine(Txt& t, BITMAP* dest, const std::string& text, int colour, int x, int y) {
    t.setColour(colour);
    t.setText(text);
    t.drawAt(1, dest, x, y);
}

// The picture dimmed under the text keeps the letters readable on any colour.
void DrawPage(BITMAP* dest, Txt& t, const std::vector<HelpLine>& lines, size_t page, const PageLayout& at) {
    set_trans_blender(0, 0, 0, 160);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    rectfill(dest, 0, 0, dest->w - 1, dest->h - 1, makecol(0, 0, 0));
    drawing_mode(DRAW_MODE_SOLID, nullptr, 0, 0);
    int yellow = makecol(255, 255, 0), orange = makecol(255, 180, 0);
    DrawLine(t, dest, "Vell keys - page " + std::to_string(page + 1) + " of " + std::to_string(at.count), yellow,
             at.x, 0);
    for (size_t i = 0; i < lines.size(); i++)
        DrawLine(t, dest, lines[i].text, lines[i].title ? yellow : orange, at.x,
                 static_cast<int>(i + 1) * at.lineH);
    int hintY = (at.rows + 1) * at.lineH;
    DrawPanel(dest, hintY - 2, at.lineH + 4);
    DrawLine(t, dest, "Page Down / Page Up or the arrows: another page; any other key: back to the picture",
             yellow, at.x, hintY);
}

}  // namespace

void World::ShowHelp() {
    ScreenTraffic drawingOnly;
    BITMAP* scr = display::screen;
    std::unique_ptr<Bmp> back = Bmp::TryCreate(scr->w, scr->h, "help back");
    std::unique_ptr<Bmp> shown = Bmp::TryCreate(scr->w, scr->h, "help page");
    if (!back || !shown) {
        Message("No memory for the help screen");
        return;
    }
    blit(scr, back->Get(), 0, 0, 0, 0, scr->w, scr->h);
    // One line of the font per 1024x768, more on larger screens.
    int sx = std::max(1, scr->w / 1024), sy = std::max(1, scr->h / 768);
    Txt t(0, 0, makecol(255, 180, 0), " ");
    t.setScale(sx, sy);
    PageLayout at{4 * sx, t.getHeight(), std::max(1, scr->h / t.getHeight() - 2), 0};
    auto pages = HelpPages(KeyTable(), (scr->w - 2 * at.x) / (8 * sx), at.rows);
    at.count = pages.size();

    // F1 is still down: its repeats must not count as the key that leaves.
    WaitKeyRelease(KEY_F1);
    size_t page = 0;
    for (;;) {
        blit(back->Get(), shown->Get(), 0, 0, 0, 0, scr->w, scr->h);
        DrawPage(shown->Get(), t, pages[page], page, at);
        blit(shown->Get(), scr, 0, 0, 0, 0, scr->w, scr->h);
        int scancode = ReadKey() >> 8;
        int step = PageStep(scancode);
        if (step == 0) {
            // The key that leaves does nothing else, also not in this pass.
            WaitKeyRelease(scancode);
            break;
        }
        long next = static_cast<long>(page) + step;
        page = static_cast<size_t>(std::clamp<long>(next, 0, static_cast<long>(at.count) - 1));
    }
    blit(back->Get(), scr, 0, 0, 0, 0, scr->w, scr->h);
}
