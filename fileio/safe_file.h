#pragma once
// A file replaced whole or not at all. Everything goes to a temporary file
// beside the target (".NAME.tmp-XXXXXX"), which is flushed to the disk,
// renamed over the target, and then the folder is flushed too: a crash or a
// power cut at any moment leaves the old file or the new one, never a part.
#include <cstdio>
#include <string>
#include <vector>

class SafeFile {
public:
    // `suffix` ends the temporary name too, for writers that pick the
    // format by the name's extension.
    explicit SafeFile(const std::string& target, const std::string& suffix = "")
        : target(target), suffix(suffix) {}
    // A temporary file that was not committed is removed.
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // Creates the temporary file with the target's permissions (or those a
    // new file would get) and opens it for writing.
    bool Open(std::string& why);
    std::FILE* Stream() { return stream; }
    const std::string& TempName() const { return tempName; }
    // Closes the stream after Open, for a writer that reopens the file by
    // its name.
    bool CloseStream(std::string& why);
    // Flushes the temporary file to the disk, renames it over the target and
    // flushes the folder.
    bool Commit(std::string& why);

private:
    std::string target;
    std::string suffix;
    std::string tempName;
    std::FILE* stream = nullptr;
    bool committed = false;
};

// Removes the temporary files of the given targets that an interrupted save
// left in `dir`, and nothing else; answers the names removed.
std::vector<std::string> RemoveStaleTemps(const std::string& dir,
                                          const std::vector<std::string>& targets);
