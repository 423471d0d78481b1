// Placeholder: picture and document file commands.
#include "world.h"

void World::SaveImageFile() {}
void World::LoadImageFile() {}
void World::LoadFrame(const std::string& name) {}
void World::SelectLoadImageFile() {}
void World::SaveSelectionFile() {}
void World::SaveFrame(const std::string& name) {}
void World::SaveSelection(const std::string& name) {}
bool World::ConfirmOverwrite(const std::string& name) { return false; }
