// Placeholder: the colour fill mode.
#include "world.h"

void World::ColourFill() {}
