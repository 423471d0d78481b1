#pragma once
#include <functional>
#include <string>

// A hidden name beside the target that keeps its extension, since the
// extension picks the format: "dir/pic.bmp" -> "dir/.pic.bmp.tmp.bmp".
std::string TempNameFor(const std::string& name);

// Lets `write` fill the temporary file and renames it over `name`, so a
// write that fails never destroys the old file nor leaves a partial one.
bool WriteThroughTemp(const std::string& name, const std::function<bool(const std::string& temp)>& write);
