#include "safe_write.h"

#include "../fileio/safe_file.h"
#include "load_pic.h"

bool WriteThroughTemp(const std::string& name, const std::function<bool(const std::string& temp)>& write) {
    SafeFile file(name, PictureExtension(name));
    std::string why;
    return file.Open(why) && file.CloseStream(why) && write(file.TempName()) && file.Commit(why);
}
