// Placeholder: the teleport editing mode.
#include "world.h"

void World::EditTeleports() {}
