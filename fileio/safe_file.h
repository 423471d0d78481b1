#pragma once
// A file replaced whole or not at all. Everything goes to a temporary file
// beside the target (".NAME.tmp-XXXXXX"), which is flushed to the disk,
// renamed over the target, and then the folder is flushed too: a crash or a
// power cut at any moment leaves the old file or the new one, never a part.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

class SafeFile {
public:
    explicit SafeFile(const std::string& target) : target(target) {}
    // A temporary file that was not committed is removed.
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // Creates the temporary file with the target's permissions (or those a
    // new file would get) and opens it for writing.
    bool Open(std::string& why);
    std::FILE* Stream() { return stream; }
    const std::string& TempName() const { return tempName; }
    // Closes the stream after Open, for the configuration, which Allegro
    // can only write by the file's name.
    bool CloseStream(std::string& why);
    // Flushes the temporary file to the disk, renames it over the target and
    // flushes the folder. A stream whose error flag is set is refused: a
    // write into it failed, so the file is not whole.
    bool Commit(std::string& why);

private:
    std::string target;
    std::string tempName;
    std::FILE* stream = nullptr;
    bool committed = false;
};

// The one way a file is written: `write` fills the open stream of a
// SafeFile for `target` (never reopening it by a name), and the file is put
// in place only when the writer and every flush succeeded. `why`, when
// given, is cleared and then gets the system's reason for a failure; when
// the writer failed without a system error, it keeps what the writer put
// there (callers may hand the writer the same string).
bool WriteWholeFile(const std::string& target, const std::function<bool(std::FILE*)>& write,
                    std::string* why = nullptr);

// Removes the temporary files of the given targets that an interrupted save
// left in `dir`, and nothing else; answers the names removed.
std::vector<std::string> RemoveStaleTemps(const std::string& dir,
                                          const std::vector<std::string>& targets);
