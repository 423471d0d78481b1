#include "frame_cache.h"

#include <sys/stat.h>

#include "load_pic.h"

namespace {

CachedPicture::Stamp StampOf(const std::string& name) {
    struct stat st;
    CachedPicture::Stamp s;
    if (stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return s;
    s.inode = static_cast<long long>(st.st_ino);
    s.size = static_cast<long long>(st.st_size);
    s.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    return s;
}

}  // namespace

CachedPicture::~CachedPicture() { Forget(); }

void CachedPicture::Forget() {
    if (picture) destroy_bitmap(picture);
    picture = nullptr;
    looked = false;
}

BITMAP* CachedPicture::Get(const std::string& fileName, const std::function<void(BITMAP*)>& prepare) {
    Stamp now = StampOf(fileName);
    if (looked && fileName == name && now == stamp) return picture;
    Forget();
    name = fileName;
    stamp = now;
    looked = true;
    if (now.size < 0) return nullptr;
    RGB pal[PAL_SIZE];
    std::string why, remark;
    picture = LoadPicture(fileName, pal, why, remark);
    reads++;
    if (picture && prepare) prepare(picture);
    return picture;
}
