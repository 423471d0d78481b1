// The key reference printed as text: Markdown tables for `vell --keys` (and
// the README, which is made from it) and roff for the man page.
#include <string>

#include "key_table.h"

namespace {

// A "|" would end a Markdown table cell.
std::string MarkdownCell(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '|') out += '\\';
        out += c;
    }
    return out;
}

}  // namespace

std::string KeysMarkdown() {
    std::string out;
    for (const KeySection& s : KeyTable()) {
        if (!out.empty()) out += "\n";
        out += "### " + s.title + "\n\n| keys | command |\n|---|---|\n";
        for (const KeyRow& r : s.rows)
            out += "| **" + MarkdownCell(r.keys) + "** | " + MarkdownCell(r.words) + " |\n";
    }
    return out;
}

std::string RoffEscape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    // A line starting with a dot or a quote would be read as a request.
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out = "\\&" + out;
    return out;
}

std::string KeysManPage() {
    std::string out;
    for (const KeySection& s : KeyTable()) {
        out += ".SS " + RoffEscape(s.title) + "\n";
        for (const KeyRow& r : s.rows) out += ".TP\n\\fB" + RoffEscape(r.keys) + "\\fR\n" + RoffEscape(r.words) + "\n";
    }
    return out;
}
