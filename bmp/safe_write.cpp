#include "safe_write.h"

#include "../fileio/safe_file.h"
#include "load_pic.h"

bool WriteThroughTemp(const std::string& name, const std::function<bool(const std::string& temp)>& write,
                      std::string* why) {
    SafeFile file(name, PictureExtension(name));
    std::string reason;
    bool ok = file.Open(reason) && file.CloseStream(reason) && write(file.TempName()) && file.Commit(reason);
    if (why) *why = reason;
    return ok;
}
