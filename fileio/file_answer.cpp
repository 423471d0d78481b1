#include "file_answer.h"

#include <sys/stat.h>

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0;
}

// The folder part of a name: up to its last '/', "" for a bare name (the
// working folder, which exists).
std::string FolderOf(const std::string& name) {
    size_t slash = name.find_last_of('/');
    if (slash == std::string::npos) return "";
    return slash == 0 ? "/" : name.substr(0, slash);
}

}  // namespace

std::string QuotedName(const std::string& name) { return "'" + name + "'"; }

std::string NothingDone(FileAction action, const std::string& name, const std::string& reason) {
    const char* verb = action == FileAction::Load ? "Nothing loaded: " : "Nothing saved: ";
    return verb + QuotedName(name) + ": " + reason;
}

std::string WhyNoFolder(const std::string& name) {
    std::string folder = FolderOf(name);
    if (folder.empty() || Exists(folder)) return "";
    return "folder " + QuotedName(folder) + " does not exist";
}

std::string WhyMissing(const std::string& name) {
    if (Exists(name)) return "";
    std::string folder = WhyNoFolder(name);
    return folder.empty() ? "does not exist" : folder;
}
