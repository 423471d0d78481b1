#include "history.h"

#include <allegro.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "../bmp/bmp.h"
#include "layer.h"
#include "pointer.h"

// One change inside a step. Undo and Redo are each called only in the state
// the other one left (or, for Undo, the state right after the change).
class History::Change {
public:
    virtual ~Change() = default;
    virtual void Undo(std::vector<Layer*>& layers, std::vector<Pointer*>& pointers, const PaintKey& key) = 0;
    virtual void Redo(std::vector<Layer*>& layers, std::vector<Pointer*>& pointers, const PaintKey& key) = 0;
    virtual size_t Bytes() const = 0;
    // Asked once, when the step ends: a report may cover pixels that did
    // not change after all (a stamp of mask colour, an erased black pixel).
    virtual bool Changed(const std::vector<Layer*>&) const { return true; }
};

struct History::Step {
    std::vector<std::unique_ptr<Change>> changes;
    // Pixel reports merge only with the changes after the last change of the
    // layer list: a layer index means something else before it.
    size_t segment = 0;
    int focus = -1;
    size_t bytes = 0;
};

namespace {

struct Rect {
    int x, y, w, h;
    bool Inside(const Rect& o) const { return x >= o.x && y >= o.y && x + w <= o.x + o.w && y + h <= o.y + o.h; }
    bool Meets(const Rect& o) const { return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h; }
    Rect Union(const Rect& o) const {
        int l = std::min(x, o.x), t = std::min(y, o.y);
        return {l, t, std::max(x + w, o.x + o.w) - l, std::max(y + h, o.y + o.h) - t};
    }
};

// What the allocator adds to each block (header and rounding), about.
constexpr size_t kBlockCost = 24;

// What an Allegro memory bitmap of w x h takes: the bitmap, its row table
// and its pixels, three blocks.
size_t SurfaceBytes(int w, int h, int depth) {
    return sizeof(BITMAP) + size_t(h) * sizeof(unsigned char*) + size_t(w) * h * ((depth + 7) / 8) + 3 * kBlockCost;
}

size_t LayerBytes(Layer* l) { return sizeof(Layer) + sizeof(Bmp) + SurfaceBytes(l->width, l->height, l->Depth()); }

template <class T>
bool Contains(const std::vector<T*>& list, const T* item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// The old pixels of one rectangle of one layer, row after row. Undo and
// redo both exchange them with the layer's, so one copy serves both
// directions. Layers are memory bitmaps, whose rows are reached directly.
class Patch : public History::Change {
public:
    Patch(int layer, Rect r, BITMAP* from) : layer(layer), r(r), bpp((bitmap_color_depth(from) + 7) / 8) {
        try {
            pixels.resize(RowBytes() * r.h);
        } catch (const std::bad_alloc&) {
            return;
        }
        for (int j = 0; j < r.h; j++) std::memcpy(Row(j), At(from, j), RowBytes());
    }
    static size_t BytesFor(Rect r, int depth) {
        return sizeof(Patch) + 2 * kBlockCost + size_t(r.w) * r.h * ((depth + 7) / 8);
    }

    bool Made() const { return !pixels.empty(); }
    // The old pixels of a patch this one grew over.
    void Take(const Patch& p) {
        for (int j = 0; j < p.r.h; j++)
            std::memcpy(Row(p.r.y - r.y + j) + (p.r.x - r.x) * bpp, p.pixels.data() + j * p.RowBytes(), p.RowBytes());
    }
    int LayerIndex() const { return layer; }
    const Rect& Area() const { return r; }

    void Undo(std::vector<Layer*>& layers, std::vector<Pointer*>&, const PaintKey& key) override {
        Swap(layers[layer]->Surface(key));
    }
    void Redo(std::vector<Layer*>& layers, std::vector<Pointer*>&, const PaintKey& key) override {
        Swap(layers[layer]->Surface(key));
    }
    size_t Bytes() const override { return BytesFor(r, int(bpp * 8)); }

    bool Changed(const std::vector<Layer*>& layers) const override {
        BITMAP* b = layers[layer]->Source();
        for (int j = 0; j < r.h; j++)
            if (std::memcmp(At(b, j), pixels.data() + j * RowBytes(), RowBytes()) != 0) return true;
        return false;
    }

private:
    size_t RowBytes() const { return size_t(r.w) * bpp; }
    unsigned char* Row(int j) { return pixels.data() + j * RowBytes(); }
    unsigned char* At(BITMAP* b, int j) const { return b->line[r.y + j] + r.x * bpp; }
    void Swap(BITMAP* b) {
        for (int j = 0; j < r.h; j++) std::swap_ranges(At(b, j), At(b, j) + RowBytes(), Row(j));
    }

    int layer;
    Rect r;
    size_t bpp;
    std::vector<unsigned char> pixels;
};

// The pointers keep their layers when the list changes from `from` to `to`:
// each index follows its layer object; a pointer whose layer is not in `to`
// keeps its index, brought into the list.
}  // namespace

void FollowLayers(std::vector<Pointer*>& pointers, const std::vector<Layer*>& from, const std::vector<Layer*>& to) {
    for (Pointer* p : pointers) {
        if (p->layer < 0 || p->layer >= static_cast<int>(from.size())) continue;
        auto at = std::find(to.begin(), to.end(), from[p->layer]);
        if (at != to.end())
            p->layer = static_cast<int>(at - to.begin());
        else
            p->layer = std::min(p->layer, static_cast<int>(to.size()) - 1);
    }
}

namespace {

// A change of the list of layers, and of pointers a document load appended.
// The layer objects that left the list are kept whole; whichever side is
// not in the editor belongs to this change.
class ListChange : public History::Change {
public:
    ListChange(const std::vector<Layer*>& before, size_t pointerFrom, bool pointerTail)
        : before(before), pointerFrom(pointerFrom), pointerTail(pointerTail) {}
    ~ListChange() override {
        const std::vector<Layer*>& gone = done ? before : after;
        const std::vector<Layer*>& kept = done ? after : before;
        for (Layer* l : gone)
            if (!Contains(kept, l)) delete l;
        for (Pointer* p : heldPointers) delete p;
    }
    void Finish(const std::vector<Layer*>& now, const std::vector<Pointer*>& pointers) {
        after = now;
        if (!pointerTail) pointerFrom = pointers.size();
        appended = pointers.size() > pointerFrom;
    }
    bool Changed(const std::vector<Layer*>&) const override { return before != after || appended; }

    void Undo(std::vector<Layer*>& layers, std::vector<Pointer*>& pointers, const PaintKey&) override {
        FollowLayers(pointers, after, before);
        layers = before;
        done = false;
        if (pointers.size() < pointerFrom) return;
        heldPointers.assign(pointers.begin() + pointerFrom, pointers.end());
        pointers.resize(pointerFrom);
    }
    void Redo(std::vector<Layer*>& layers, std::vector<Pointer*>& pointers, const PaintKey&) override {
        layers = after;
        done = true;
        pointers.insert(pointers.end(), heldPointers.begin(), heldPointers.end());
        heldPointers.clear();
        FollowLayers(pointers, before, after);
    }
    // The larger side, so the figure does not change between undo and redo.
    size_t Bytes() const override {
        return sizeof(ListChange) + std::max(Only(before, after), Only(after, before)) +
               (before.size() + after.size()) * sizeof(Layer*);
    }

private:
    static size_t Only(const std::vector<Layer*>& a, const std::vector<Layer*>& b) {
        size_t n = 0;
        for (Layer* l : a)
            if (!Contains(b, l)) n += LayerBytes(l);
        return n;
    }

    std::vector<Layer*> before, after;
    size_t pointerFrom;
    bool pointerTail;
    bool appended = false;
    std::vector<Pointer*> heldPointers;
    bool done = true;
};

// A pointer's brush replaced, and the box size that went with it. Undo and
// redo both exchange the held brush and size with the pointer's.
class BrushChange : public History::Change {
public:
    BrushChange(int index, std::unique_ptr<Bmp> old, int w, int h) : index(index), held(std::move(old)), w(w), h(h) {}
    void Undo(std::vector<Layer*>&, std::vector<Pointer*>& pointers, const PaintKey&) override { Swap(pointers); }
    void Redo(std::vector<Layer*>&, std::vector<Pointer*>& pointers, const PaintKey&) override { Swap(pointers); }
    size_t Bytes() const override {
        BITMAP* b = held ? held->GetBitmap() : nullptr;
        return sizeof(BrushChange) + kBlockCost + (b ? sizeof(Bmp) + SurfaceBytes(b->w, b->h, bitmap_color_depth(b)) : 0);
    }

private:
    void Swap(std::vector<Pointer*>& pointers) {
        if (index >= static_cast<int>(pointers.size())) return;
        Pointer& p = *pointers[index];
        Bmp* current = p.brush;
        p.brush = held.release();
        held.reset(current);
        std::swap(p.w, w);
        std::swap(p.h, h);
    }

    int index;
    std::unique_ptr<Bmp> held;
    int w, h;
};

// A palette swapped with the one it replaced: one copy serves undo and redo.
class PaletteChange : public History::Change {
public:
    PaletteChange(Palette& live, Palette old) : live(live), other(std::move(old)) {}
    void Undo(std::vector<Layer*>&, std::vector<Pointer*>&, const PaintKey&) override { std::swap(live, other); }
    void Redo(std::vector<Layer*>&, std::vector<Pointer*>&, const PaintKey&) override { std::swap(live, other); }
    size_t Bytes() const override { return sizeof(PaletteChange) + kBlockCost + other.Size() * sizeof(uint32_t); }
    bool Changed(const std::vector<Layer*>&) const override { return live != other; }

private:
    Palette& live;
    Palette other;
};

// The part of (x, y, w, h) inside b, in r; false when nothing is left.
bool Clip(BITMAP* b, int64_t x, int64_t y, int64_t w, int64_t h, Rect& r) {
    int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
    int64_t right = std::min<int64_t>(x + w, b->w), bottom = std::min<int64_t>(y + h, b->h);
    if (right <= left || bottom <= top) return false;
    r = {int(left), int(top), int(right - left), int(bottom - top)};
    return true;
}

// Rectangles of one layer in a step stay apart: one that meets earlier ones
// grows over them (the pixels around them are still untouched), and they
// are listed in merged. False when r lies inside one already kept.
bool Absorb(History::Step& step, int layer, Rect& r, std::vector<Patch*>& merged) {
    for (bool grew = true; grew;) {
        grew = false;
        for (size_t i = step.segment; i < step.changes.size(); i++) {
            auto* p = static_cast<Patch*>(step.changes[i].get());
            if (p->LayerIndex() != layer || Contains(merged, p) || !p->Area().Meets(r)) continue;
            if (merged.empty() && r.Inside(p->Area())) return false;
            r = r.Union(p->Area());
            merged.push_back(p);
            grew = true;
        }
    }
    return true;
}

const char kTooLarge[] = "Undo history cleared: change too large";

}  // namespace

History::History(std::vector<Layer*>& layers, std::vector<Pointer*>& pointers, size_t budget)
    : layers(layers), pointers(pointers), budget(budget), open(std::make_unique<Step>()) {}

History::~History() = default;

void History::SetBudget(size_t bytes) {
    budget = bytes;
    Evict();
}

int History::UndoCount() const { return static_cast<int>(done - (grouping ? floor : 0)); }

int History::RedoCount() const { return static_cast<int>(steps.size() - done); }

size_t History::OpenBytes() const {
    size_t n = sizeof(Step) + 2 * kBlockCost;
    for (const auto& c : open->changes) n += c->Bytes() + sizeof(c);
    return n;
}

void History::WillChange(const Layer* layer, int64_t x, int64_t y, int64_t w, int64_t h) {
    Settle();
    auto it = std::find(layers.begin(), layers.end(), layer);
    Rect r;
    if (openLost || it == layers.end()) return;
    BITMAP* b = layer->Source();
    if (!Clip(b, x, y, w, h, r)) return;
    int index = static_cast<int>(it - layers.begin());
    std::vector<Patch*> merged;
    if (!Absorb(*open, index, r, merged)) return;
    size_t freed = 0;
    for (Patch* p : merged) freed += p->Bytes();
    if (OpenBytes() - freed + Patch::BytesFor(r, bitmap_color_depth(b)) > budget) return Lose();
    auto patch = std::make_unique<Patch>(index, r, b);
    if (!patch->Made()) return Lose();
    for (Patch* p : merged) patch->Take(*p);
    auto& list = open->changes;
    auto isMerged = [&](const std::unique_ptr<Change>& c) {
        return std::find(merged.begin(), merged.end(), c.get()) != merged.end();
    };
    list.erase(std::remove_if(list.begin() + open->segment, list.end(), isMerged), list.end());
    list.push_back(std::move(patch));
    if (open->focus < 0) open->focus = index;
}

void History::BrushReplaced(int index, std::unique_ptr<Bmp> old, int oldW, int oldH) {
    Settle();
    if (openLost) return;
    auto change = std::make_unique<BrushChange>(index, std::move(old), oldW, oldH);
    if (OpenBytes() + change->Bytes() > budget) return Lose();
    open->changes.push_back(std::move(change));
    // A pixel report after this one must not grow over it: the order of
    // undoing matters once the brush and the pixels are both in the step.
    open->segment = open->changes.size();
}

void History::PaletteReplaced(Palette& live, Palette old, int focus) {
    Settle();
    if (openLost) return;
    auto change = std::make_unique<PaletteChange>(live, std::move(old));
    if (OpenBytes() + change->Bytes() > budget) return Lose();
    open->changes.push_back(std::move(change));
    if (open->focus < 0) open->focus = focus;
}

unsigned long History::DocumentVersion() {
    std::vector<PointerShape> now;
    now.reserve(pointers.size());
    for (const Pointer* p : pointers) now.push_back({p->w, p->h, p->brush, p->second});
    std::vector<bool> hidden;
    for (const Layer* l : layers) hidden.push_back(l->hidden);
    bool paletteMoved = watchedPalette && *watchedPalette != seenPalette;
    if (now != seenPointers || hidden != seenHidden || paletteMoved) {
        seenPointers = std::move(now);
        seenHidden = std::move(hidden);
        if (watchedPalette) seenPalette = *watchedPalette;
        shapeChanges++;
    }
    return changes + shapeChanges;
}

void History::LayersChanging(int focus, bool pointerTail) {
    Close();
    pendingList = std::make_unique<ListChange>(layers, pointers.size(), pointerTail);
    pendingFocus = focus;
}

// A change of the list of layers is complete once the command that
// announced it goes on (or the step ends).
void History::Settle() {
    if (!pendingList) return;
    std::unique_ptr<Change> list = std::move(pendingList);
    static_cast<ListChange&>(*list).Finish(layers, pointers);
    if (openLost || !list->Changed(layers)) return;
    if (open->focus < 0) open->focus = pendingFocus;
    open->changes.push_back(std::move(list));
    open->segment = open->changes.size();
}

void History::Close() {
    Settle();
    std::unique_ptr<Step> step = std::move(open);
    open = std::make_unique<Step>();
    auto& list = step->changes;
    auto unchanged = [this](const std::unique_ptr<Change>& c) { return !c->Changed(layers); };
    list.erase(std::remove_if(list.begin(), list.end(), unchanged), list.end());
    bool lost = openLost;
    openLost = false;
    if (!lost && list.empty()) return;
    // The step, its list of changes and its place in the deque.
    step->bytes = sizeof(Step) + 2 * kBlockCost + sizeof(step);
    for (const auto& c : list) step->bytes += c->Bytes() + sizeof(c);
    if (lost || step->bytes > budget) {
        step.reset();
        return DropEverything();
    }
    Keep(std::move(step));
}

bool History::Abandon() {
    Settle();
    if (openLost) {
        Close();
        return false;
    }
    std::unique_ptr<Step> step = std::move(open);
    open = std::make_unique<Step>();
    if (step->changes.empty()) return true;
    for (auto c = step->changes.rbegin(); c != step->changes.rend(); ++c) (*c)->Undo(layers, pointers, key);
    changes++;
    return true;
}

void History::Keep(std::unique_ptr<Step> step) {
    // A new change after an undo: what could have been redone is gone.
    while (steps.size() > done) {
        total -= steps.back()->bytes;
        steps.pop_back();
    }
    total += step->bytes;
    changes++;
    steps.push_back(std::move(step));
    done++;
    if (grouping) groupKept = true;
    Evict();
}

void History::Lose() {
    open->changes.clear();
    open->segment = 0;
    openLost = true;
}

void History::DropEverything() {
    Clear();
    changes++;
    if (grouping) groupLost = true;
    if (say) say(kTooLarge);
}

// The oldest steps go first. A group's own steps are needed whole to undo
// the group: when they alone are too large, nothing can be kept.
void History::Evict() {
    while (total > budget && !steps.empty()) {
        if (grouping && floor == 0) return DropEverything();
        total -= steps.front()->bytes;
        steps.pop_front();
        done--;
        if (floor > 0) floor--;
    }
}

void History::Clear() {
    pendingList.reset();
    open = std::make_unique<Step>();
    openLost = false;
    steps.clear();
    done = 0;
    floor = 0;
    total = 0;
}

int History::Undo() {
    Close();
    if (done == (grouping ? floor : 0)) return -1;
    Step& s = *steps[--done];
    changes++;
    for (auto c = s.changes.rbegin(); c != s.changes.rend(); ++c) (*c)->Undo(layers, pointers, key);
    return s.focus;
}

int History::Redo() {
    Close();
    if (done == steps.size()) return -1;
    Step& s = *steps[done++];
    changes++;
    for (auto& c : s.changes) c->Redo(layers, pointers, key);
    return s.focus;
}

void History::BeginGroup(int focus) {
    Close();
    grouping = true;
    floor = done;
    groupFocus = focus;
    groupKept = false;
    groupLost = false;
}

void History::EndGroup() {
    Close();
    grouping = false;
    if (groupLost) return Clear();
    if (!groupKept) return;
    // The group's undone steps go, the others become one step.
    while (steps.size() > done) {
        total -= steps.back()->bytes;
        steps.pop_back();
    }
    if (done == floor) return;
    auto merged = std::make_unique<Step>();
    merged->focus = groupFocus;
    for (size_t i = floor; i < done; i++) {
        for (auto& c : steps[i]->changes) merged->changes.push_back(std::move(c));
        merged->bytes += steps[i]->bytes;
    }
    steps.erase(steps.begin() + floor, steps.begin() + done);
    steps.push_back(std::move(merged));
    done = floor + 1;
}
