#include "safe_write.h"

#include <cstdio>

#include "load_pic.h"

std::string TempNameFor(const std::string& name) {
    size_t slash = name.rfind('/');
    size_t base = slash == std::string::npos ? 0 : slash + 1;
    return name.substr(0, base) + "." + name.substr(base) + ".tmp" + PictureExtension(name);
}

bool WriteThroughTemp(const std::string& name, const std::function<bool(const std::string& temp)>& write) {
    std::string temp = TempNameFor(name);
    if (write(temp) && std::rename(temp.c_str(), name.c_str()) == 0) return true;
    std::remove(temp.c_str());
    return false;
}
