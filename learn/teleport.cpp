// Placeholder: teleports come with the teleport editing mode.
#include "teleport.h"

Teleport::Teleport(int tx, int ty, int tjx, int tjy) : x(tx), y(ty), jtx(tjx), jty(tjy) {}
void Teleport::Move(int which, int dx, int dy) {}
void Teleport::Apply(int& px, int& py) {}
void Teleport::Draw(Bmp* dest) {}

TeleportMan::TeleportMan(World* w, const std::vector<Teleport*>& t, bool o)
    : teleports(t), on(o), world(w) {}
TeleportMan::~TeleportMan() {
    for (Teleport* t : teleports) delete t;
}
void TeleportMan::Apply(int& px, int& py) {}
void TeleportMan::Draw(Bmp* dest) {}
