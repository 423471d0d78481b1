#pragma once
#include <functional>
#include <string>

// Lets `write` fill a temporary file beside `name` (hidden, and ending in the
// same extension, since the extension picks the format), then puts it in
// place as every whole-file save does: flushed to the disk and renamed over
// `name`. A write that fails never destroys the old file nor leaves a
// partial one. `why`, when given, gets the system's reason for a failure of
// the file itself (empty when the writer failed).
bool WriteThroughTemp(const std::string& name, const std::function<bool(const std::string& temp)>& write,
                      std::string* why = nullptr);
