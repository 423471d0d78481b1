// Placeholder: the pointer commands come with drawing.
#include "world.h"

void World::EnlargeStamp() {}
void World::PickPointer() {}
void World::Cancel() {}
void World::Commit() {}
void World::LineTo() {}
