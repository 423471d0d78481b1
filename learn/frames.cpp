// Placeholder: frame file naming.
#include "frames.h"

Files::Files(World* w, const std::string& r, int p) : root(r), filesPos(p), world(w) {}
std::string Files::Name() { return root; }
void Files::Step(int d) {}
void Files::Announce(Text* overlay) {}
