// Placeholder: the setting dialogs.
#include "world.h"

void World::teleportDialog() {}
void World::pauseDialog() {}
void World::filesDialog() {}
void World::textDialog() {}
void World::resizeDialog() {}
void World::jumpDialog() {}
void World::colourDialog() {}
