#include "../fileio/elsewhere_note.h"
#include "folder_claim.h"

#include <cstdio>

#include "../fileio/folder_lock.h"
#include "../fileio/safe_file.h"

namespace {

const char kLockFile[] = ".Vell.zub.lock";
// The files the editor replaces whole in its folder: the document and the
// settings.
const char* const kSavedFiles[] = {"Vell.zub", "vell.cfg", kElsewhereNote};

}  // namespace

bool ClaimFolder() {
    // Held until the process ends; the kernel releases it then.
    static FolderLock lock;
    switch (lock.Take(kLockFile)) {
        case FolderLock::State::kBusy:
            std::printf("Vell.zub is in use by another Vell (process %d)\n", lock.Holder());
            return false;
        case FolderLock::State::kUnavailable:
            std::printf("This folder cannot be locked ('%s': %s); another Vell started here would not be noticed\n",
                        kLockFile, lock.Why().c_str());
            return true;
        case FolderLock::State::kHeld:
            break;
    }
    // Only the lock's holder may remove these: another editor's save could
    // be writing one right now.
    for (const std::string& name : RemoveStaleTemps(".", {std::begin(kSavedFiles), std::end(kSavedFiles)}))
        std::printf("Removed '%s', left by an interrupted save\n", name.c_str());
    return true;
}
