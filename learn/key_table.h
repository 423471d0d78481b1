#pragma once
#include <string>
#include <vector>

// The key reference, the one list of every key: the help screen, `vell
// --keys` and the man page are printed from it.

// One row: the keys as a user writes them ("Ctrl+Z", "keypad 0-9") and what
// they do.
struct KeyRow {
    std::string keys;
    std::string words;
};

// A titled group of rows: a modifier group of the key map, a held-key mode,
// the one-line editor or the form.
struct KeySection {
    std::string title;
    std::vector<KeyRow> rows;
};

// key_map.cpp: the key map's groups, in the order of the key pass.
std::vector<KeySection> KeyMapSections();

// key_table.cpp: the name of an Allegro key as the reference writes it.
std::string KeyName(int key);

// key_table.cpp: the key map's groups, then the held-key modes, the one-line
// editor and the form.
std::vector<KeySection> KeyTable();

// key_reference.cpp: the reference as Markdown tables, one per section.
std::string KeysMarkdown();

// key_reference.cpp: the reference as man page sections (roff).
std::string KeysManPage();

// key_reference.cpp: text made safe for a roff line (backslashes, dashes and a
// leading dot or quote).
std::string RoffEscape(const std::string& text);
