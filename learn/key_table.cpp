// Key names, and the rows of the keys that the key map does not dispatch: the
// held-key modes read their keys in their own loops, and the one-line editor
// and the form have loops of their own.
#include "key_table.h"

#include <allegro.h>

namespace {

const struct {
    int key;
    const char* name;
} kNames[] = {
    {KEY_QUOTE, "'"},      {KEY_ENTER, "Enter"}, {KEY_ESC, "Esc"},     {KEY_TAB, "Tab"},
    {KEY_LEFT, "Left"},    {KEY_RIGHT, "Right"}, {KEY_UP, "Up"},       {KEY_DOWN, "Down"},
    {KEY_EQUALS, "="},     {KEY_MINUS, "-"},     {KEY_SPACE, "Space"}, {KEY_COMMA, ","},
    {KEY_STOP, "."},       {KEY_SLASH, "/"},     {KEY_COLON, ";"},     {KEY_PGUP, "Page Up"},
    {KEY_PGDN, "Page Down"}, {KEY_HOME, "Home"}, {KEY_END, "End"},     {KEY_DEL, "Del"},
    {KEY_BACKSPACE, "Backspace"}, {KEY_OPENBRACE, "["}, {KEY_CLOSEBRACE, "]"},
};

const KeySection kModes[] = {
    {"Layer mode (L held)",
     {{"A", "add a transparent layer on top and select it"},
      {"D", "delete the current layer (never layer 0)"},
      {"keypad 0-9", "select that layer"},
      {"H", "hide or show the current layer (left out of the view, saves and frames; kept in vell.cfg)"},
      {"Up/Down", "move the current layer one place up or down (layer 0 stays at the bottom)"},
      {"M", "merge the current layer down into the one below (its see-through pixels skipped)"},
      {"C", "duplicate the current layer above itself"}}},
    {"Pointer pick (P held)", {{"keypad 0-9", "pick that pointer (its layer becomes current)"}}},
    {"Colour fill (C held)",
     {{"G", "replace the colour under the pointer by the pen colour inside the pointer's box (once per press)"}}},
    {"Palette mode (K held)",
     {{"Left/Right/Up/Down", "select a swatch of the strip: Up/Down within a column, Left/Right across columns"},
      {"Space", "the selected swatch becomes the pen colour; with Shift, the second colour"},
      {"A", "add the pen colour after the selected swatch (not when it is in the palette or it holds 256)"},
      {"D", "delete the selected swatch (never the last one)"},
      {"Enter", "edit the selected swatch's red, green and blue"},
      {"G", "the palette becomes the colours of the pointer's box on the current layer, in order of appearance"}}},
    {"Lens pan (Z held)",
     {{"Left/Right/Up/Down", "pan the lens (accelerating)"},
      {"Enter", "bring the view and the pointer to the picture's top left corner"}}},
    {"Teleport editing (after ')",
     {{"1-9, 0, A-L, ;", "select the source of teleport 0-19 (the twenty show as white XOR marks)"},
      {"Q-P, Z-/", "select the target of the teleport above (the row below each source key)"},
      {"Left/Right/Up/Down", "move the selected point one pixel per frame"},
      {"'", "leave teleport editing"}}},
    {"One-line editor (every typed field)",
     {{"a character", "insert it at the block cursor"},
      {"Home/End", "cursor to the start / end"},
      {"Left/Right", "cursor one character left / right; with Ctrl by words"},
      {"Backspace/Del", "delete before / at the cursor; with Shift everything before / after it"},
      {"Alt+Left/Right", "scroll a long text"},
      {"Alt+other keys", "cursor to the end"},
      {"Enter", "keep the text (an empty text is returned as one space)"},
      {"Esc", "restore the text"},
      {"F1/F2/F3/Ctrl+O/Ctrl+P/Page Up/Page Down", "ignored: they belong to the editor around the field"}}},
    {"Form (every dialog)",
     {{"Enter", "finish a row and go to the next (wrapping)"},
      {"Ctrl+Enter",
       "accept the form; a number outside its row's range keeps the form open on that row and names the range"},
      {"Esc", "cancel the form: nothing is applied, also in the file name prompts"}}},
};

}  // namespace

std::string KeyName(int key) {
    if (key >= KEY_A && key <= KEY_Z) return std::string(1, static_cast<char>('A' + key - KEY_A));
    if (key >= KEY_0 && key <= KEY_9) return std::string(1, static_cast<char>('0' + key - KEY_0));
    if (key >= KEY_F1 && key <= KEY_F12) return "F" + std::to_string(key - KEY_F1 + 1);
    for (const auto& n : kNames)
        if (n.key == key) return n.name;
    return "key " + std::to_string(key);
}

std::vector<KeySection> KeyTable() {
    std::vector<KeySection> table = KeyMapSections();
    table.insert(table.end(), std::begin(kModes), std::end(kModes));
    return table;
}
