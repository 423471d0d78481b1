#pragma once
#include <memory>
#include <string>
#include <vector>

class SafeFile;

// A thin wrapper around Allegro's configuration functions with a remembered
// section and key, plus whole-file reads and writes.
class FileIO {
public:
    FileIO();
    virtual ~FileIO();

    virtual void SetConfigFile(const std::string& file);
    // Starts replacing the configuration file whole: what it holds now is
    // copied into a temporary file beside it, which becomes the current
    // configuration, so the values set next (and every key already there)
    // land in it. Flush then puts it in the file's place.
    virtual void StartConfigWrite(const std::string& file);
    virtual void SetSection(const std::string& s);
    virtual void SetKey(const std::string& k);
    virtual std::string SectionName();
    virtual std::string KeyName();
    virtual void SetSectionKey(const std::string& s, const std::string& k);
    // Writes the configuration: after StartConfigWrite through the
    // temporary file (false, with a console line, when that fails), else in
    // place as Allegro does.
    virtual bool Flush();
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
    // Takes the key out of the current section.
    virtual void Remove(const std::string& key);
    virtual void SetIntValue2(int v);
    virtual std::vector<std::string> Find(const std::string& pattern);
    virtual void SetFileName(const std::string& n);
    virtual std::string FileName();
    virtual bool LoadFile();
    virtual bool Load(const std::string& n);
    // Replaces file n whole with d (see WriteWholeFile); Append adds d to
    // its end.
    virtual bool Save(const std::string& n, const std::vector<unsigned char>& d);
    virtual bool Append(const std::string& n, const std::vector<unsigned char>& d);

    const std::vector<unsigned char>& Data() const { return data; }

protected:
    std::string fileName;
    std::vector<unsigned char> data;
    std::string section;
    std::string key;
    std::unique_ptr<SafeFile> configWrite;  // between StartConfigWrite and Flush
    std::string configTarget;  // anchored; empty when no write is started
    std::string configShown;   // the name as given, for messages
    std::string configWhy;  // why the temporary file could not be made
};
