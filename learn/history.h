#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../bmp/palette.h"
#include "layer.h"

class Bmp;
class Pointer;

// The pointers keep their layers when the list of layers changes from
// `from` to `to`: each pointer's index follows its layer; one whose layer
// left the list keeps its index, brought into the list.
void FollowLayers(std::vector<Pointer*>& pointers, const std::vector<Layer*>& from, const std::vector<Layer*>& to);

// The undo history: a list of steps, each holding what its changes replaced.
// Drawing commands report the rectangle of a layer they are about to change;
// the old pixels of that rectangle are copied once per step, before the
// first write, so a step costs what it changed, not the size of the canvas.
// Changes to the list of layers keep the replaced layer objects themselves.
// It works on the editor's lists of layers and pointers and knows nothing of
// the screen.
class History {
public:
    class Change;
    struct Step;

    static constexpr size_t kDefaultBudget = size_t{64} << 20;

    History(std::vector<Layer*>& layers, std::vector<Pointer*>& pointers, size_t budget);
    virtual ~History();

    // The most memory the kept steps may take; the oldest steps go first.
    virtual void SetBudget(size_t bytes);
    size_t Budget() const { return budget; }
    // The memory the kept steps take now.
    size_t Bytes() const { return total; }
    // Counts every change of the document the history has seen applied:
    // steps kept, undone or redone, and changes too large to keep.
    unsigned long Changes() const { return changes; }
    // The one version of everything the document file stores: it moves with
    // every change counted above, and with every change of a pointer's box
    // size or brush, however it came about, so an autosave misses nothing.
    virtual unsigned long DocumentVersion();
    virtual int UndoCount() const;
    virtual int RedoCount() const;

    // The rectangle (x, y, w, h) of `layer` is about to change (in 64 bits:
    // a box or jump step from the settings may reach far outside). Only the
    // paint gate tells it. A layer that is not in the list is not part of
    // the document and is ignored.
    virtual void WillChange(const Layer* layer, int64_t x, int64_t y, int64_t w, int64_t h);
    // The brush of pointers[index] was replaced; `old` is the brush it had
    // (null for none) and oldW x oldH its box then. Undo gives both back.
    virtual void BrushReplaced(int index, std::unique_ptr<Bmp> old, int oldW, int oldH);
    // The palette `live` now holds was `old` before; `focus` is the layer
    // made current when the step is undone or redone.
    virtual void PaletteReplaced(Palette& live, Palette old, int focus);
    // The palette and the pointers' second colours are kept in "vell.cfg",
    // which every autosave writes too: the document version moves with them.
    void WatchPalette(const Palette* p) { watchedPalette = p; }
    // The list of layers is about to change (a layer added or deleted, the
    // canvas resized, a document loaded). The step ends here and a new one
    // begins; it takes the replaced layers over when it is kept. `focus` is
    // the layer made current when the step is undone or redone. With
    // `pointerTail`, pointers appended from here on belong to the step too.
    virtual void LayersChanging(int focus, bool pointerTail = false);

    // Ends the current step; a step that changed nothing is not kept.
    virtual void Close();
    // Takes back what the current step changed so far and ends it without
    // keeping it (a command that failed halfway). False when the step had
    // grown too large to keep: its changes stay and the history is cleared.
    virtual bool Abandon();
    // Everything between BeginGroup and EndGroup becomes one step; undo inside
    // reaches only the group's own steps.
    virtual void BeginGroup(int focus);
    virtual void EndGroup();
    bool Grouping() const { return grouping; }

    // Take back or give again one step; the layer to make current, or -1
    // when there is no step to take.
    virtual int Undo();
    virtual int Redo();
    virtual void Clear();

    // Tells the user what happened when a step had to be dropped.
    std::function<void(const std::string&)> say;

private:
    void Settle();
    void Keep(std::unique_ptr<Step> step);
    void Lose();
    void DropEverything();
    void Evict();
    size_t OpenBytes() const;

    PaintKey key;
    std::vector<Layer*>& layers;
    std::vector<Pointer*>& pointers;
    // What the document version last saw of each pointer: box size, brush.
    struct PointerShape {
        int w, h;
        const Bmp* brush;
        int second;
        bool operator==(const PointerShape& o) const {
            return w == o.w && h == o.h && brush == o.brush && second == o.second;
        }
    };
    std::vector<PointerShape> seenPointers;
    // Hidden layers are kept in "vell.cfg", which every autosave writes too.
    std::vector<bool> seenHidden;
    const Palette* watchedPalette = nullptr;
    Palette seenPalette;
    size_t budget;
    size_t total = 0;
    unsigned long changes = 0;
    unsigned long shapeChanges = 0;
    std::deque<std::unique_ptr<Step>> steps;
    size_t done = 0;  // steps[0, done) are applied, the rest can be redone
    std::unique_ptr<Step> open;
    bool openLost = false;
    std::unique_ptr<Change> pendingList;
    int pendingFocus = -1;
    bool grouping = false;
    size_t floor = 0;
    int groupFocus = -1;
    bool groupKept = false;
    bool groupLost = false;
};
