#pragma once
#include <string>
#include <vector>

// A thin wrapper around Allegro's configuration functions with a remembered
// section and key, plus whole-file reads and writes.
class FileIO {
public:
    FileIO() = default;
    virtual ~FileIO() = default;

    virtual void SetConfigFile(const std::string& file);
    virtual void SetSection(const std::string& s);
    virtual void SetKey(const std::string& k);
    virtual std::string SectionName();
    virtual std::string KeyName();
    virtual void SetSectionKey(const std::string& s, const std::string& k);
    virtual void Flush();
    virtual void SetIntValue(int v);
    virtual void SetIntAt(const std::string& key, int v);
    virtual void SetStringValue(const std::string& v);
    virtual int GetIntValue(int def);
    virtual int GetIntAt(const std::string& key, int def);
    virtual int GetIntIn(const std::string& section, const std::string& key, int def);
    virtual int GetInt(const std::string& key, int def);
    virtual std::string GetStringIn(const std::string& section, const std::string& key,
                                    const std::string& def);
    virtual std::string GetString(const std::string& key, const std::string& def);
    virtual void SetStringValue2(const std::string& v);
    virtual void SetStringIn(const std::string& section, const std::string& key, const std::string& v);
    virtual void SetString(const std::string& key, const std::string& v);
    virtual void SetInt(const std::string& key, int v);
    virtual void SetIntValue2(int v);
    virtual std::vector<std::string> Find(const std::string& pattern);
    virtual void SetFileName(const std::string& n);
    virtual std::string FileName();
    virtual bool LoadFile();
    virtual bool Load(const std::string& n);
    virtual bool Save(const std::string& n, const std::vector<unsigned char>& d);
    virtual bool Append(const std::string& n, const std::vector<unsigned char>& d);

    const std::vector<unsigned char>& Data() const { return data; }

protected:
    std::string fileName;
    std::vector<unsigned char> data;
    std::string section;
    std::string key;
};
