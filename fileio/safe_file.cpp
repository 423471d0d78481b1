#include "safe_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

namespace {

const char kTempMark[] = ".tmp-";
const size_t kRandomChars = 6;  // mkstemp's XXXXXX

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool Fail(std::string& why) {
    why = std::strerror(errno);
    return false;
}

// Gives the new file the old one's permissions (and owner, where allowed),
// or what a plain fopen would give under the current umask.
bool TakeOverAttributes(int fd, const std::string& name) {
    struct stat st;
    if (stat(name.c_str(), &st) == 0) {
        // Only root may give a file away; everyone else keeps their own.
        if (fchown(fd, st.st_uid, st.st_gid) != 0) {
        }
        return fchmod(fd, st.st_mode & 07777) == 0;
    }
    mode_t mask = umask(0);
    umask(mask);
    return fchmod(fd, 0666 & ~mask) == 0;
}

// fsync through a descriptor of its own: the data may have been written
// through another one (Allegro reopens the configuration by name).
bool SyncPath(const std::string& path, int flags) {
    int fd = open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = fsync(fd) == 0;
    int err = errno;
    close(fd);
    errno = err;
    return ok;
}

bool IsRegular(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Is `name` a temporary file made for `target` (both bare names)?
bool IsTempNameOf(const std::string& name, const std::string& target) {
    std::string prefix = "." + target + kTempMark;
    if (name.size() != prefix.size() + kRandomChars || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (size_t i = prefix.size(); i < name.size(); i++)
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

}  // namespace

SafeFile::~SafeFile() {
    if (stream) std::fclose(stream);
    if (!committed && !tempName.empty()) unlink(tempName.c_str());
}

bool SafeFile::Open(std::string& why) {
    size_t cut = target.rfind('/') + 1;  // 0 without a slash
    std::string pattern =
        target.substr(0, cut) + "." + target.substr(cut) + kTempMark + std::string(kRandomChars, 'X');
    int fd = mkostemp(&pattern[0], O_CLOEXEC);
    if (fd < 0) return Fail(why);
    tempName = pattern;
    if (!TakeOverAttributes(fd, target) || !(stream = fdopen(fd, "wb"))) {
        Fail(why);
        close(fd);
        return false;
    }
    return true;
}

bool SafeFile::CloseStream(std::string& why) {
    std::FILE* f = stream;
    stream = nullptr;
    return std::fclose(f) == 0 || Fail(why);
}

bool SafeFile::Commit(std::string& why) {
    if (stream) {
        if (std::ferror(stream)) {
            why = "a write to it failed";
            return false;
        }
        bool ok = std::fflush(stream) == 0 && fsync(fileno(stream)) == 0;
        if (!ok) return Fail(why);
        if (!CloseStream(why)) return false;
    } else if (!SyncPath(tempName, O_RDONLY)) {
        return Fail(why);
    }
    if (std::rename(tempName.c_str(), target.c_str()) != 0) return Fail(why);
    committed = true;
    // Without this the rename may still be lost with the folder's entry.
    // Some file systems cannot flush a folder (EINVAL); the file is in place.
    if (!SyncPath(FolderOf(target), O_RDONLY | O_DIRECTORY) && errno != EINVAL) return Fail(why);
    return true;
}

bool WriteWholeFile(const std::string& target, const std::function<bool(std::FILE*)>& write, std::string* why) {
    std::string own;
    std::string& reason = why ? *why : own;
    reason.clear();
    SafeFile file(target);
    if (!file.Open(reason)) return false;
    errno = 0;
    if (!write(file.Stream())) {
        // A failed fwrite leaves its errno (ENOSPC, EIO) behind.
        int err = errno;
        if (std::ferror(file.Stream()) && err != 0) reason = std::strerror(err);
        return false;
    }
    return file.Commit(reason);
}

std::vector<std::string> RemoveStaleTemps(const std::string& dir,
                                          const std::vector<std::string>& targets) {
    std::vector<std::string> removed;
    DIR* d = opendir(dir.c_str());
    if (!d) return removed;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        std::string path = dir + "/" + name;
        for (const std::string& target : targets)
            if (IsTempNameOf(name, target) && IsRegular(path) && unlink(path.c_str()) == 0)
                removed.push_back(name);
    }
    closedir(d);
    return removed;
}
