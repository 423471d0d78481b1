#pragma once
#include <string>

// What a command that loads or saves a file says when it did nothing, in one
// template for every such command: "Nothing loaded: 'NAME': REASON" and
// "Nothing saved: 'NAME': REASON", the reason the system's or the decoder's.
enum class FileAction { Load, Save };

std::string NothingDone(FileAction action, const std::string& name, const std::string& reason);

// The name in the quotes every file message uses.
std::string QuotedName(const std::string& name);

// Why a file cannot be opened for reading: "folder 'F' does not exist" when
// the folder it names is missing, "does not exist" when only the file is;
// empty when it exists.
std::string WhyMissing(const std::string& name);

// Why a file cannot be created: "folder 'F' does not exist" when the folder
// it would go into is missing; empty otherwise.
std::string WhyNoFolder(const std::string& name);
