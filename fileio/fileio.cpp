#include "fileio.h"

#include <allegro.h>
#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "safe_file.h"

namespace {

// Allegro keeps the configuration's file name as given and writes it when it
// switches files or shuts down, so a relative name would land in whatever
// directory is current by then; the name is anchored when it is set.
std::string Anchored(const std::string& file) {
    if (file.empty() || file[0] == '/') return file;
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) return file;
    return std::string(cwd) + "/" + file;
}

bool IsRegularFile(const std::string& name) {
    struct stat st;
    return stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The whole file, or nothing when there is none; false when it exists but
// cannot be read.
bool ReadIfThere(const std::string& name, std::string& out, std::string& why) {
    FILE* f = std::fopen(name.c_str(), "rb");
    if (!f) {
        if (errno == ENOENT) return true;
        why = std::strerror(errno);
        return false;
    }
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) out.append(chunk, got);
    bool ok = !std::ferror(f);
    if (!ok) why = std::strerror(errno);
    std::fclose(f);
    return ok;
}

// Allegro trims the blanks around a value when it reads the file.
std::string Trimmed(const char* value) {
    std::string s = value;
    size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Every (section, key, value) of the current configuration, in its order.
std::vector<std::array<std::string, 3>> ConfigEntries() {
    std::vector<std::array<std::string, 3>> all;
    const char** sections = nullptr;
    const char** names = nullptr;
    auto add = [&](const char* section) {
        int n = list_config_entries(section, &names);
        for (int i = 0; i < n; i++)
            all.push_back({section ? section : "", names[i], Trimmed(get_config_string(section, names[i], ""))});
    };
    add(nullptr);
    int n = list_config_sections(&sections);
    for (int i = 0; i < n; i++) add(sections[i]);
    free_config_entries(&sections);
    free_config_entries(&names);
    return all;
}

// Allegro's writer reports no failure (a full disk leaves a short file), so
// the written file is read back and must hold every value held in memory.
bool WrittenCompletely(const std::string& written, std::string& why) {
    std::vector<std::array<std::string, 3>> held = ConfigEntries();
    push_config_state();
    set_config_file(written.c_str());
    bool same = ConfigEntries() == held;
    pop_config_state();
    if (!same) why = "it was not written completely";
    return same;
}

}  // namespace

FileIO::FileIO() = default;
FileIO::~FileIO() = default;

void FileIO::SetConfigFile(const std::string& file) { set_config_file(Anchored(file).c_str()); }

void FileIO::StartConfigWrite(const std::string& file) {
    configShown = file;
    configTarget = Anchored(file);
    configWhy.clear();
    std::string contents;
    configWrite = std::make_unique<SafeFile>(configTarget);
    bool ok = ReadIfThere(configTarget, contents, configWhy) && configWrite->Open(configWhy);
    if (ok && !contents.empty() && std::fwrite(contents.data(), contents.size(), 1, configWrite->Stream()) != 1)
        ok = false, configWhy = std::strerror(errno);
    if (ok && configWrite->CloseStream(configWhy)) {
        set_config_file(configWrite->TempName().c_str());
        return;
    }
    // The values set next stay in memory: a file that cannot be replaced
    // whole is not rewritten in place either.
    configWrite.reset();
    set_config_data(contents.data(), static_cast<int>(contents.size()));
}

bool FileIO::Flush() {
    if (configTarget.empty()) {
        flush_config_file();
        return true;
    }
    std::unique_ptr<SafeFile> file = std::move(configWrite);
    std::string target, why = configWhy;
    target.swap(configTarget);
    bool ok = file != nullptr;
    if (ok) {
        flush_config_file();
        ok = WrittenCompletely(file->TempName(), why) && file->Commit(why);
    }
    // Back to the file itself, which now holds what was written; the
    // temporary configuration was flushed, so leaving it writes nothing.
    set_config_file(target.c_str());
    if (!ok) std::printf("'%s' was not saved: %s\n", configShown.c_str(), why.c_str());
    return ok;
}

void FileIO::SetSection(const std::string& s) { section = s; }
void FileIO::SetKey(const std::string& k) { key = k; }
std::string FileIO::SectionName() { return section; }
std::string FileIO::KeyName() { return key; }

void FileIO::SetSectionKey(const std::string& s, const std::string& k) {
    SetSection(s);
    SetKey(k);
}

void FileIO::SetIntValue(int v) { set_config_int(section.c_str(), key.c_str(), v); }
void FileIO::SetIntAt(const std::string& k, int v) { set_config_int(section.c_str(), k.c_str(), v); }
void FileIO::SetStringValue(const std::string& v) { set_config_string(section.c_str(), key.c_str(), v.c_str()); }
int FileIO::GetIntValue(int def) { return GetIntIn(section, key, def); }
int FileIO::GetIntAt(const std::string& k, int def) { return GetIntIn(section, k, def); }

int FileIO::GetIntIn(const std::string& s, const std::string& k, int def) {
    return get_config_int(s.c_str(), k.c_str(), def);
}

int FileIO::GetInt(const std::string& k, int def) { return get_config_int(section.c_str(), k.c_str(), def); }

std::string FileIO::GetStringIn(const std::string& s, const std::string& k, const std::string& def) {
    SetSection(s);
    return GetString(k, def);
}

std::string FileIO::GetString(const std::string& k, const std::string& def) {
    const char* v = get_config_string(section.c_str(), k.c_str(), def.c_str());
    return v ? std::string(v) : def;
}

void FileIO::SetStringValue2(const std::string& v) { SetStringValue(v); }

void FileIO::SetStringIn(const std::string& s, const std::string& k, const std::string& v) {
    SetSection(s);
    SetString(k, v);
}

void FileIO::SetString(const std::string& k, const std::string& v) {
    set_config_string(section.c_str(), k.c_str(), v.c_str());
}

void FileIO::Remove(const std::string& k) { set_config_string(section.c_str(), k.c_str(), nullptr); }

void FileIO::SetInt(const std::string& k, int v) { set_config_int(section.c_str(), k.c_str(), v); }
void FileIO::SetIntValue2(int v) { SetIntValue(v); }

std::vector<std::string> FileIO::Find(const std::string& pattern) {
    std::vector<std::string> found;
    DIR* dir = opendir(".");
    if (!dir) return found;
    while (dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        if (fnmatch(pattern.c_str(), name.c_str(), FNM_PERIOD) == 0 && IsRegularFile(name)) found.push_back(name);
    }
    closedir(dir);
    return found;
}

void FileIO::SetFileName(const std::string& n) { fileName = n; }
std::string FileIO::FileName() { return fileName; }
bool FileIO::LoadFile() { return Load(fileName); }

bool FileIO::Load(const std::string& n) {
    std::printf("Loading File: %.*s\n", static_cast<int>(n.size()), n.data());
    FILE* f = std::fopen(n.c_str(), "rb");
    if (!f) {
        std::printf("'%s' can't be opened\n", n.c_str());
        return false;
    }
    std::vector<unsigned char> read;
    unsigned char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) read.insert(read.end(), chunk, chunk + got);
    bool ok = !std::ferror(f);
    std::fclose(f);
    if (!ok) {
        std::printf("'%s' can't be read\n", n.c_str());
        return false;
    }
    data.swap(read);
    return true;
}

bool FileIO::Save(const std::string& n, const std::vector<unsigned char>& d) {
    std::printf("Saving File: %.*s\n", static_cast<int>(n.size()), n.data());
    std::string why;
    bool ok = WriteWholeFile(
        n, [&](std::FILE* f) { return d.empty() || std::fwrite(d.data(), 1, d.size(), f) == d.size(); }, &why);
    if (!ok) std::printf("'%s' was not saved: %s\n", n.c_str(), why.c_str());
    return ok;
}

bool FileIO::Append(const std::string& n, const std::vector<unsigned char>& d) {
    FILE* f = std::fopen(n.c_str(), "ab");
    if (!f) {
        std::printf("'%s' can't be opened\n", n.c_str());
        return false;
    }
    bool ok = d.empty() || std::fwrite(d.data(), 1, d.size(), f) == d.size();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) std::printf("'%s' can't be written\n", n.c_str());
    return ok;
}
