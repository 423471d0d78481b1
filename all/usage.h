#pragma once
#include <string>
#include <vector>

// The command line's own answers, given before any display is opened.

// The usage: the switches and what they mean.
std::string UsageText();

// "vell " and the version.
std::string VersionText();

// The version alone ("1.0.0"), for files that record what wrote them.
std::string VersionNumber();

// The man page: the usage and the key reference, in roff.
std::string ManPage();

// Prints the answer for the first of --help, --version, --keys or --man among
// the arguments and gives the exit status; -1 when there is none, so the
// editor starts.
int AnswerInfoSwitch(const std::vector<std::string>& args);
