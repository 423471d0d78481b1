#pragma once
// When an ending could not write "Vell.zub" and put the document somewhere
// else, a small note beside it says where, so the next start in the folder
// can tell the user (who may never have seen the console).
#include <string>

// The note's name, beside "Vell.zub".
extern const char kElsewhereNote[];

// Records `path` as where the last session's work went; false with the
// reason when the note could not be written.
bool NoteWorkElsewhere(const std::string& path, std::string& why);
// Removes the note once "Vell.zub" holds the work again.
void ForgetWorkElsewhere();
// The place the note names, "" when there is no note (or it is unreadable).
std::string WorkElsewhere();
