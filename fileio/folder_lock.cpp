#include "folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

// The process id written in the lock file, or 0 while there is none.
int ReadHolder(int fd) {
    char text[32] = {};
    if (pread(fd, text, sizeof text - 1, 0) <= 0) return 0;
    return std::atoi(text);
}

void WriteHolder(int fd) {
    std::string text = std::to_string(getpid()) + "\n";
    if (ftruncate(fd, 0) != 0 || pwrite(fd, text.data(), text.size(), 0) < 0) {
        // A lock file that is not ours to write still locks; only the id
        // shown to a second editor is missing.
    }
}

}  // namespace

FolderLock::~FolderLock() {
    if (fd >= 0) close(fd);
}

FolderLock::State FolderLock::Take(const std::string& lockFile) {
    fd = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        why = std::strerror(errno);
        // A lock file someone else made, readable only, still locks.
        fd = open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return State::kUnavailable;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        WriteHolder(fd);
        return State::kHeld;
    }
    State state = errno == EWOULDBLOCK ? State::kBusy : State::kUnavailable;
    why = std::strerror(errno);
    // The holder writes its id right after taking the lock: give it a moment.
    for (int tries = 0; state == State::kBusy && tries < 100 && !(holder = ReadHolder(fd)); tries++) {
        timespec pause = {0, 10 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
    close(fd);
    fd = -1;
    return state;
}
