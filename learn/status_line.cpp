#include "world.h"

void World::ToggleStatusLine() { statusShown = !statusShown; }
