#include "usage.h"

#include <cstdio>

#include "../learn/key_table.h"

#ifndef VELL_VERSION
#define VELL_VERSION "unknown"
#endif

namespace {

const struct {
    const char* name;
    const char* words;
} kSwitches[] = {
    {"-wxh: W H", "screen size (default 1024 768; a size that cannot be used falls back to it)"},
    {"-mode: M", "0 the driver chooses (default), 1 (or -10) full screen, 2 (or -20) a window"},
    {"-depth: D", "colour depth (default 32)"},
    {"--help", "print this usage and exit"},
    {"--version", "print the version and exit"},
    {"--keys", "print the key reference as Markdown tables and exit"},
};

const char* kSynopsis = "vell [picture] [-wxh: W H] [-mode: M] [-depth: D]";

// Broken into lines for the terminal; roff fills them again.
const char* kAbout =
    "A keyboard-only raster paint and animation-sketching program. The document\n"
    "is Vell.zub in the working directory: it is loaded at start and saved when\n"
    "you quit with Shift+Esc; the settings live in vell.cfg beside it. A first\n"
    "argument naming an existing file becomes the picture file name offered by\n"
    "the file commands.";

}  // namespace

std::string UsageText() {
    std::string out = std::string("Usage: ") + kSynopsis + "\n       vell --help | --version | --keys\n\n";
    out += std::string(kAbout) + "\n\n";
    for (const auto& s : kSwitches) {
        std::string name = s.name;
        name.resize(12, ' ');
        out += "  " + name + s.words + "\n";
    }
    out += "\nIn the editor F1 shows every key; Shift+Esc quits and saves.\n";
    return out;
}

std::string VersionNumber() { return VELL_VERSION; }

std::string VersionText() { return "vell " + VersionNumber() + "\n"; }

std::string ManPage() {
    std::string out = ".TH VELL 1 \"\" \"" + RoffEscape(VersionText().substr(0, VersionText().size() - 1)) +
                      "\" \"User Commands\"\n";
    out += ".SH NAME\nvell \\- keyboard\\-only raster paint and animation sketching\n";
    out += ".SH SYNOPSIS\n" + RoffEscape(kSynopsis) + "\n.br\nvell \\-\\-help | \\-\\-version | \\-\\-keys\n";
    out += ".SH DESCRIPTION\n" + RoffEscape(kAbout) + "\n";
    out += ".SH OPTIONS\n";
    for (const auto& s : kSwitches) out += ".TP\n\\fB" + RoffEscape(s.name) + "\\fR\n" + RoffEscape(s.words) + "\n";
    out += ".SH KEYS\nEach key press runs one key pass: the commands of every key that is down, then one frame. "
           "Only the left\\-hand Ctrl, Shift and Alt select a group; Ctrl+Alt selects none.\n";
    out += KeysManPage();
    out += ".SH FILES\n.TP\n.I Vell.zub\nthe document, in the working directory\n.TP\n.I vell.cfg\n"
           "the settings, beside it\n";
    return out;
}

int AnswerInfoSwitch(const std::vector<std::string>& args) {
    for (size_t i = 1; i < args.size(); i++) {
        std::string text;
        if (args[i] == "--help")
            text = UsageText();
        else if (args[i] == "--version")
            text = VersionText();
        else if (args[i] == "--keys")
            text = KeysMarkdown();
        else if (args[i] == "--man")
            text = ManPage();
        else
            continue;
        std::fputs(text.c_str(), stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    return -1;
}
