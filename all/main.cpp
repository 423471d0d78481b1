#include <cstdio>
#include <string>
#include <vector>

#include "../fileio/file_answer.h"
#include "../learn/world.h"
#include "folder_claim.h"
#include "startup.h"
#include "usage.h"

int main(int argc, char** argv) {
    // Line-buffered, so no console line is lost when the program is killed.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    std::vector<std::string> args(argv, argv + argc);
    // --help, --version and --keys need no display and no document: they are
    // answered before anything is started.
    int infoStatus = AnswerInfoSwitch(args);
    if (infoStatus >= 0) return infoStatus;

    // One editor per folder, settled before any file in it is read or written.
    if (!ClaimFolder()) return 1;

    std::vector<std::string> withDepth = args;
    withDepth.push_back("-depth:");
    withDepth.push_back("32");

    int status = Init(withDepth);
    if (status != 0) {
        if (status == 1)
            std::printf("No display was found: start Vell inside an X session, e.g. xvfb-run build/vell\n");
        ShutDown();
        return 1;
    }

    World* world = new World(DocumentName(args));
    // A mistyped picture name is said at once, on the console and the first
    // frame, rather than found out at the first Alt+L.
    std::string missing = MissingPictureName(args);
    if (!missing.empty()) {
        world->Message(NothingDone(FileAction::Load, missing, WhyMissing(missing)));
        world->Render();
    }
    world->Run();
    delete world;
    ShutDown();
    return 0;
}
