#pragma once
#include <allegro.h>

#include <functional>
#include <string>

// A picture file decoded once and kept while the file stays as it was. Each
// Get looks at the file's entry (a few microseconds) and decodes again only
// when the name differs or the file was replaced or rewritten since the last
// read (another inode, size or modification time): drawing the same frame
// file every frame then costs a look, not a decode.
class CachedPicture {
public:
    CachedPicture() = default;
    ~CachedPicture();
    CachedPicture(const CachedPicture&) = delete;
    CachedPicture& operator=(const CachedPicture&) = delete;

    // The picture of file `name` at the current colour depth, with `prepare`
    // applied once after each read; null while the file is missing or cannot
    // be decoded (a file that cannot be decoded is not tried again until it
    // changes).
    BITMAP* Get(const std::string& name, const std::function<void(BITMAP*)>& prepare);
    // Drops the picture: the next Get reads the file again.
    void Forget();
    // How many times a file was decoded.
    int Reads() const { return reads; }

    // What identifies one state of a file; all -1 when it is missing.
    struct Stamp {
        long long inode = -1, size = -1, mtimeNs = -1;
        bool operator==(const Stamp& o) const {
            return inode == o.inode && size == o.size && mtimeNs == o.mtimeNs;
        }
    };

private:
    std::string name;
    Stamp stamp;
    bool looked = false;
    BITMAP* picture = nullptr;
    int reads = 0;
};
