// The editor's document: SaveDocument and LoadDocument between the editor's
// layers and pointers and a .zub file, and the start-up and quit steps that
// make sure a session's work is never lost.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "../all/endings.h"
#include "../bmp/bmp.h"
#include "../bmp/surface_size.h"
#include "../fileio/elsewhere_note.h"
#include "../fileio/safe_file.h"
#include "document_io.h"
#include "history.h"
#include "layer.h"
#include "pointer.h"
#include "world.h"

namespace {

// PixelRows over a Bmp. At depth 32 the rows of a memory bitmap are
// contiguous 32-bit values in the file's byte order, so they are handed
// out directly; other depths go through getpixel/putpixel.
class BmpRows : public PixelRows {
public:
    // Rows of a surface that is only read (a layer or brush being saved).
    explicit BmpRows(BITMAP* b) : bitmap(b) {}
    // Rows of a new surface being read into, handed over with Release.
    explicit BmpRows(std::unique_ptr<Bmp> b) : bitmap(b->GetBitmap()), owned(std::move(b)) {}

    int Width() const override { return bitmap->w; }
    int Height() const override { return bitmap->h; }
    int32_t* DirectRow(int y) override {
        if (bitmap_color_depth(bitmap) != 32 || !is_memory_bitmap(bitmap)) return nullptr;
        return reinterpret_cast<int32_t*>(bitmap->line[y]);
    }
    void GetRow(int y, int32_t* out) override {
        for (int x = 0; x < bitmap->w; x++) out[x] = getpixel(bitmap, x, y);
    }
    void PutRow(int y, const int32_t* in) override {
        for (int x = 0; x < bitmap->w; x++) putpixel(bitmap, x, y, in[x]);
    }
    Bmp* Release() { return owned.release(); }

private:
    BITMAP* bitmap;
    std::unique_ptr<Bmp> owned;
};

uint32_t LargestPixel() {
    switch (get_color_depth()) {
        case 8: return 0xFFu;
        case 15: return 0x7FFFu;
        case 16: return 0xFFFFu;
        case 24: return 0xFFFFFFu;
        default: return 0xFFFFFFFFu;
    }
}

ReadLimits EditorLimits() {
    ReadLimits limits;
    limits.sizeAllowed = SurfaceSizeAllowed;
    limits.maxPixel = LargestPixel();
    limits.make = [](int w, int h) -> std::unique_ptr<PixelRows> {
        std::unique_ptr<Bmp> b = Bmp::TryCreate(w, h, "_layer");
        if (!b) return nullptr;
        return std::make_unique<BmpRows>(std::move(b));
    };
    return limits;
}

bool Exists(const std::string& name) {
    struct stat st;
    return stat(name.c_str(), &st) == 0;
}

// The first of base, base.1, base.2, ... that names nothing yet.
std::string FreeName(const std::string& base, bool numberedOnly) {
    if (!numberedOnly && !Exists(base)) return base;
    for (int n = 1;; n++) {
        std::string name = base + "." + std::to_string(n);
        if (!Exists(name)) return name;
    }
}

// The document as the file stores it, over the editor's own surfaces.
Document DocumentOf(World& w) {
    Document doc;
    doc.version = 2;
    doc.width = w.layer->width;
    doc.height = w.layer->height;
    for (Layer* l : w.layers) {
        DocLayer dl;
        dl.mode = l->mode;
        dl.pixels = std::make_unique<BmpRows>(l->Source());
        doc.layers.push_back(std::move(dl));
    }
    for (Pointer* p : w.pointers) {
        DocPointer dp;
        dp.w = p->w;
        dp.h = p->h;
        if (p->brush) dp.brush = std::make_unique<BmpRows>(p->brush->GetBitmap());
        doc.pointers.push_back(std::move(dp));
    }
    return doc;
}

// Every write of the document file: the X handler waits for it rather than
// write beside it, and once "Vell.zub" holds the work again, a note that it
// went elsewhere no longer holds.
bool WriteDocumentMarked(World& w, const std::string& name, std::string& why) {
    DocumentSaving saving;
    Document doc = DocumentOf(w);
    if (!WriteWholeFile(name, [&](std::FILE* f) { return WriteDocument(f, doc, why); }, &why)) return false;
    if (name == kStartDocument) ForgetWorkElsewhere();
    return true;
}

// Where an ending put the work instead of "Vell.zub" is noted beside it for
// the next start.
void NoteFallback(const std::string& name) {
    std::string why;
    if (!NoteWorkElsewhere(name, why))
        std::printf("The note '%s' saying where the work went could not be written: %s\n", kElsewhereNote,
                    why.c_str());
}

}  // namespace

// The onion skin's mode is kept only in "vell.cfg", yet a change of it is
// worth an autosave as a change of the document is.
DocumentVersion World::CurrentDocumentVersion() { return history->DocumentVersion() + onion.Version(); }

// The whole document goes through a temporary file that replaces `name`
// only when every write succeeded, so a failed or interrupted save never
// damages the previous file.
bool World::SaveDocument(const std::string& name, std::string* why) {
    Document doc = DocumentOf(*this);
    if (!why) {
        for (DocPointer& dp : doc.pointers) {
            if (!dp.brush) continue;
            int w, h;
            PointerRecordSize(dp, &w, &h);
            std::printf("_w,_h:%d,%d\n", w, h);
        }
    }
    std::string reason;
    if (WriteDocumentMarked(*this, name, reason)) return true;
    if (why) {
        *why = reason;
    } else {
        std::printf("'%s' was not saved: %s\n", name.c_str(), reason.c_str());
        documentFailure = reason;
    }
    return false;
}

bool World::LoadDocument(const std::string& name) {
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (!f) {
        documentFailure = std::strerror(errno);
        std::printf("'%s' can't be opened\n\n", name.c_str());
        return false;
    }
    Document doc;
    std::string why;
    bool ok = ReadDocument(f, EditorLimits(), doc, why);
    std::fclose(f);
    if (!ok) {
        std::printf("'%s' was not loaded: %s\n", name.c_str(), why.c_str());
        documentFailure = why;
        return false;
    }
    // Everything is read; only now is the old document replaced. The
    // history keeps the old layers, and takes the pointers appended here.
    history->LayersChanging(slayer, true);
    layers.clear();
    for (DocLayer& dl : doc.layers)
        layers.push_back(new Layer(this, static_cast<BmpRows&>(*dl.pixels).Release(), dl.mode));
    for (DocPointer& dp : doc.pointers) {
        Pointer* p = new Pointer();
        p->world = this;
        if (dp.brush) {
            std::printf("got here\n");
            p->SetBrush(static_cast<BmpRows&>(*dp.brush).Release());
        }
        pointers.push_back(p);
    }
    EnsureTenPointers();
    SelectLayer(slayer);
    // The composition surface follows the picture, so the view shows it.
    if (stm && (stm->Width() != layer->width || stm->Height() != layer->height))
        stm->Resize(layer->width, layer->height, 0);
    return true;
}

// A new picture counts as what the file holds, so that only a change is
// ever autosaved.
void World::OpenStartDocument() {
    if (LoadDocument(kStartDocument)) return;
    if (Exists(kStartDocument)) {
        // Quitting would overwrite the refused file: move it aside first.
        std::string aside = FreeName(kStartDocument, true);
        if (std::rename(kStartDocument, aside.c_str()) == 0) {
            std::printf("'%s' was moved to '%s'\n", kStartDocument, aside.c_str());
        } else {
            mayWriteDocument = false;
            std::printf("'%s' could not be moved aside (%s); it will not be written at quit\n",
                        kStartDocument, std::strerror(errno));
        }
    }
    StartNewPicture();
}

std::string World::SaveDocumentAtQuit() {
    if (mayWriteDocument) {
        if (SaveDocument(kStartDocument)) return kStartDocument;
    } else {
        std::printf("'%s' was not written: the unreadable file could not be moved aside\n",
                    kStartDocument);
    }
    // The session's work goes somewhere, and the console says where.
    const char* tmp = std::getenv("TMPDIR");
    std::string inTemp =
        std::string(tmp && *tmp ? tmp : "/tmp") + "/Vell-" + std::to_string(getpid()) + ".zub";
    for (const std::string& name :
         {FreeName(std::string(kStartDocument) + ".unsaved", false), FreeName(inTemp, false)}) {
        if (SaveDocument(name)) {
            std::printf("The document was written to '%s' instead\n", name.c_str());
            NoteFallback(name);
            return name;
        }
    }
    std::printf("The document could not be written anywhere\n");
    return "";
}

std::string World::SaveEverything() {
    SaveSettings();
    return SaveDocumentAtQuit();
}
