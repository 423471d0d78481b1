#pragma once
// Keeps a second editor out of a folder: an exclusive flock on a lock file
// that holds the holder's process id. The kernel drops the lock when the
// holder ends, however it ends, so a lock file left behind never blocks.
#include <string>

class FolderLock {
public:
    enum class State { kHeld, kBusy, kUnavailable };

    FolderLock() = default;
    ~FolderLock();  // releases the lock; the file stays for the next editor
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Takes the lock on `lockFile` (made when missing) and writes this
    // process's id into it. kBusy: another process holds it (Holder());
    // kUnavailable: the file cannot be made or locked (Why()).
    State Take(const std::string& lockFile);
    int Holder() const { return holder; }
    const std::string& Why() const { return why; }

private:
    int fd = -1;
    int holder = 0;
    std::string why;
};
