#pragma once
#include <allegro.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

// The one drawing surface: an Allegro bitmap with its size, palette, label and
// sprite position. The bitmap is never null once constructed.
class Bmp {
public:
    // A picture from a file (falls back to an 8x8 placeholder).
    explicit Bmp(const std::string& fileName);
    // A blank surface cleared to colour 0. A size that cannot be allocated
    // gives a 1x1 surface and a console line; callers that take sizes from
    // outside use TryCreate instead.
    Bmp(int w, int h, const std::string& name);
    virtual ~Bmp();

    Bmp(const Bmp&) = delete;
    Bmp& operator=(const Bmp&) = delete;

    // A blank surface, or null when the size is refused or memory is short.
    static std::unique_ptr<Bmp> TryCreate(int w, int h, const std::string& name);

    virtual BITMAP* Get();
    virtual BITMAP* GetBitmap();
    virtual BITMAP* Bitmap();
    virtual void SetX(int x);
    virtual void SetY(int y);
    virtual int Width();
    virtual int Height();
    // Operations that replace the bitmap allocate the new one first and
    // answer false (nothing changed) when that fails.
    virtual bool Append(BITMAP* other);
    virtual void Prepare();
    virtual void Release();
    virtual int Id();
    // Writes the picture whole to `fileName` (through WriteWholeFile), in
    // the format its extension names; 0 on success as Allegro's writers.
    virtual int Save(const std::string& fileName);
    // Writes the picture into the open stream in the format of `ext`
    // (".bmp", ".pcx", ".tga" or ".png", any case); -1 for another
    // extension or a failed write.
    virtual int Save(std::FILE* f, const std::string& ext);
    // True when Save knows the format of `fileName`'s extension.
    static bool SavesAs(const std::string& fileName);
    virtual BITMAP* LoadPic(const std::string& fileName);
    virtual void UsePalette();
    virtual bool StretchTo(int w, int h);
    virtual bool Resize(int w, int h, int colour);
    virtual void DrawOn(int mode, Bmp* dest, int x, int y);
    virtual void DrawTo(int mode, BITMAP* dest, int x, int y);
    virtual void SpriteOn(Bmp* dest, int x, int y);
    virtual void SpriteTo(BITMAP* dest, int x, int y);
    virtual void SpriteAtTo(BITMAP* dest);
    virtual void SpriteAtOn(Bmp* dest);

    // True when the last LoadPic produced a real picture rather than the
    // placeholder.
    bool Loaded() const { return loaded; }
    // Why the last LoadPic produced no picture; empty after a success.
    const std::string& Failure() const { return failure; }
    // What the last load that worked had to make up; usually empty.
    const std::string& Remark() const { return remark; }
    const std::string& Name() const { return name; }
    // How many pixels the last loaded file marked transparent; the bitmap
    // holds the mask colour there.
    int64_t Transparent() const { return transparent; }
    // From now on the top byte of every pixel is its alpha (255 opaque, 0
    // transparent), as the composition for saves writes it: PNG and TGA
    // saves carry it, the other formats ignore it.
    void CarryAlpha() { carriesAlpha = true; }
    // Every pixel of the mask colour becomes `colour`.
    void ReplaceMaskColour(int colour);

    // Makes a new bitmap of w x h after checking the size; null on refusal.
    static BITMAP* CreateChecked(int w, int h);

protected:
    Bmp(int id, const std::string& name, bool);  // for the file constructor
    void Adopt(BITMAP* b);                       // takes ownership, sets w, h

    int id;
    PALETTE pal;
    BITMAP* bitmap = nullptr;
    std::string name;
    int x = 0, y = 0;
    int w = 0, h = 0;
    bool loaded = false;
    std::string failure;
    std::string remark;
    int64_t transparent = 0;
    bool carriesAlpha = false;

    static int NextId();
};
