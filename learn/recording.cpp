// Placeholder: recording and replay commands.
#include "world.h"

void World::ToggleRecording() {}
void World::TogglePlayback() {}
void World::PlayTimes() {}
