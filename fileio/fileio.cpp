// Placeholder: the configuration and file store.
#include "fileio.h"

void FileIO::SetConfigFile(const std::string& file) {}
void FileIO::SetSection(const std::string& s) { section = s; }
void FileIO::SetKey(const std::string& k) { key = k; }
std::string FileIO::SectionName() { return section; }
std::string FileIO::KeyName() { return key; }
void FileIO::SetSectionKey(const std::string& s, const std::string& k) {}
void FileIO::Flush() {}
void FileIO::SetIntValue(int v) {}
void FileIO::SetIntAt(const std::string& k, int v) {}
void FileIO::SetStringValue(const std::string& v) {}
int FileIO::GetIntValue(int def) { return def; }
int FileIO::GetIntAt(const std::string& k, int def) { return def; }
int FileIO::GetIntIn(const std::string& s, const std::string& k, int def) { return def; }
int FileIO::GetInt(const std::string& k, int def) { return def; }
std::string FileIO::GetStringIn(const std::string& s, const std::string& k, const std::string& def) { return def; }
std::string FileIO::GetString(const std::string& k, const std::string& def) { return def; }
void FileIO::SetStringValue2(const std::string& v) {}
void FileIO::SetStringIn(const std::string& s, const std::string& k, const std::string& v) {}
void FileIO::SetString(const std::string& k, const std::string& v) {}
void FileIO::SetInt(const std::string& k, int v) {}
void FileIO::SetIntValue2(int v) {}
std::vector<std::string> FileIO::Find(const std::string& pattern) { return {}; }
void FileIO::SetFileName(const std::string& n) { fileName = n; }
std::string FileIO::FileName() { return fileName; }
bool FileIO::LoadFile() { return Load(fileName); }
bool FileIO::Load(const std::string& n) { return false; }
bool FileIO::Save(const std::string& n, const std::vector<unsigned char>& d) { return false; }
bool FileIO::Append(const std::string& n, const std::vector<unsigned char>& d) { return false; }
