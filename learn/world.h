#pragma once
#include <allegro.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../all/field_ranges.h"
#include "../bmp/area.h"
#include "../bmp/mirror.h"
#include "../bmp/palette.h"
#include "autosave.h"
#include "export_settings.h"
#include "grid.h"
#include "onion_skin.h"

class Bmp;
class History;

// The document every session starts from and goes back to.
inline constexpr char kStartDocument[] = "Vell.zub";

class Pointer;
class Layer;
class Lens;
class KeyMan;
class FileIO;
class Text;
class TextDraw;
class Files;
class TeleportMan;
class Txt;
class StatusLine;
class PaintGate;
struct PromptAnswers;
enum class Stamping;

// The brush turns of H, V, T and Shift+T.
enum class BrushTurn { FlipLeftRight, FlipTopBottom, Clockwise, Anticlockwise };

// The editor: owns the picture's layers, the ten pointers, the lens, the
// teleports, the frame naming, the message lines, the key recorder, the
// settings store and the off-screen surfaces, and runs the main loop.
// Every operation is virtual so tests can script key state between frames.
// The operations are defined across files named after their concern.
class World {
public:
    explicit World(const std::string& docName);
    virtual ~World();

    // settings.cpp
    virtual void LoadSettings();
    virtual void SaveSettings();
    // key_map.cpp
    virtual void DoKeys();
    // world.cpp
    virtual void Render();
    // dialogs.cpp
    virtual void teleportDialog();
    // teleports.cpp
    virtual void EditTeleports();
    // stamps.cpp: the brush onto the current layer, and enlarged.
    virtual void StampBrush(Stamping how);
    virtual void EnlargeStamp();
    // painting.cpp: every drawing command paints through these, which add
    // the mirror images; the axes in use (the canvas middle unless set).
    virtual void PaintRects(const std::vector<Area>& rects, int colour);
    virtual void PaintImage(BITMAP* image, int64_t x, int64_t y, int w, int h, Stamping how);
    virtual MirrorAxes Mirror() const;
    // shape_commands.cpp
    virtual void Commit();
    virtual void ErasePixel();
    virtual void ClearBrushArea();
    virtual void FillBox();
    virtual void DrawEllipse(bool filled);
    // flood_fill_commands.cpp
    virtual void FloodFill();
    virtual void RecolourLayer();
    // brush_commands.cpp: p's brush becomes `brush` and its box w x h, as a
    // step of the history.
    virtual void ReplaceBrush(Pointer& p, std::unique_ptr<Bmp> brush, int w, int h);
    virtual void TurnBrush(BrushTurn turn);
    // mirror_drawing.cpp
    virtual void CycleMirror();
    virtual void MirrorAtPointer();
    // The mirror axes as thin lines over the magnified view.
    virtual void DrawMirrorAxes(BITMAP* dest);
    // dialogs.cpp
    virtual void pauseDialog();
    virtual void filesDialog();
    virtual void textDialog();
    virtual void resizeDialog();
    // layers.cpp
    virtual bool resizeCanvas(int w, int h);
    // dialogs.cpp
    virtual void jumpDialog();
    // undo.cpp: one step back or forward in the history, with a message line.
    virtual void Undo();
    virtual void Redo();
    // colour_fill.cpp
    virtual void ColourFill();
    // dialogs.cpp
    virtual void colourDialog();
    // recording.cpp
    virtual void PlayTimes();
    // world.cpp
    virtual int ClearColour();
    // layers.cpp
    virtual void SelectLayer(int n);
    virtual void LayerCommands();
    // "layer 2 of 4, see-through, hidden"
    virtual std::string LayerState();
    // pointer_commands.cpp
    virtual void PickPointer();
    virtual void Cancel();
    virtual void LineTo();
    // recording.cpp
    virtual void ToggleRecording();
    virtual void TogglePlayback();
    // lens.cpp
    virtual void PanLens();
    // Keys 1 to 6 and 0: a fixed magnification, or (0) the whole canvas.
    virtual void ZoomPreset(int mag);
    // document.cpp
    // Writes the document whole to `name`. Without `why` a failure is
    // printed and kept in documentFailure; with it the save says nothing on
    // the console and `why` gets the reason (autosave, endings).
    virtual bool SaveDocument(const std::string& name, std::string* why = nullptr);
    virtual bool LoadDocument(const std::string& name);
    // Loads "Vell.zub" at start; a file that is refused is moved aside and
    // the editor starts a new picture.
    virtual void OpenStartDocument();
    // Saves "Vell.zub" at quit, or a fallback file named on the console;
    // returns the name of the file written, "" when none was.
    virtual std::string SaveDocumentAtQuit();
    // Changes whenever anything the document file stores changes: every
    // change of the layers and brushes passes through the history, which
    // also watches the pointers' box sizes, so no pixel needs to be read.
    virtual DocumentVersion CurrentDocumentVersion();
    // The one save of every ending (quit, a stop request, the X connection
    // lost): "vell.cfg", then the document with its fallback. Returns the
    // name of the document file written, "" when none was.
    virtual std::string SaveEverything();
    // autosave.cpp: writes "Vell.zub" and "vell.cfg" when an autosave is due
    // and the document differs from what "Vell.zub" holds; quietMs is how
    // long the editor has been waiting with no key down (0 between passes).
    virtual void AutosaveIfDue(long quietMs);
    // file_commands.cpp
    virtual void SaveImageFile();
    virtual void LoadImageFile();
    virtual void LoadFrame(const std::string& name);
    virtual void SelectLoadImageFile();
    virtual void SaveSelectionFile();
    virtual void SaveFrame(const std::string& name);
    virtual void SaveSelection(const std::string& name);
    virtual bool ConfirmOverwrite(const std::string& name);
    // Shows the question at the top left of the screen and waits for Y (true)
    // or N (false).
    virtual bool AskYesNo(const std::string& question);
    // Asks before a picture whose pixels would take much memory is loaded;
    // true when the picture may be loaded.
    virtual bool MayLoadPicture(const std::string& name);
    // export_commands.cpp
    virtual void ExportAnimation();
    virtual void ExportSheet();
    // help_screen.cpp: every key of the key reference over the picture, a
    // page at a time, until a key other than a paging key is pressed.
    virtual void ShowHelp();
    // world.cpp
    virtual void WaitKeyRelease(int k);
    virtual void Run();
    // status_line.cpp: F2 hides and shows the status line; Render draws it
    // over the bottom rows of the lens view from what StatusText says.
    virtual void ToggleStatusLine();
    virtual std::string StatusText();
    virtual void DrawStatusLine(BITMAP* dest);
    // palette_commands.cpp: ] and [ step the pen (or, `second`, the second
    // colour) through the palette; X swaps them; Shift+Space commits in the
    // second colour; Ctrl+] and Ctrl+[ shade; K held is the palette mode.
    virtual void StepColour(int by, bool second);
    virtual void SwapColours();
    virtual void CommitSecond();
    virtual void Shade(int by);
    virtual void PaletteCommands();
    // The palette as a step of the history (Ctrl+Z gives the old one back).
    virtual void ReplacePalette(const Palette& next);
    // Alt+L and Alt+S of a palette file name.
    virtual void LoadPaletteFile(const std::string& name);
    virtual void SavePaletteFile(const std::string& name);
    // palette_strip.cpp: F3 hides and shows the strip along the right edge;
    // the lens's view narrows by its width while it shows.
    virtual void TogglePaletteStrip();
    virtual int PaletteStripWidth();
    virtual void DrawPaletteStrip(BITMAP* dest);
    // onion_skin.cpp: Ctrl+O cycles the onion skin, which Render draws at
    // the pointer's box.
    virtual void CycleOnionSkin();
    // preview.cpp: Ctrl+P plays the frame files of the export range in a
    // panel until a key is pressed.
    virtual void PreviewFrames();

    // Helpers shared by several concerns.
    // world.cpp: one opaque black layer the size of the screen and ten
    // empty pointers (the start without a readable document).
    virtual void StartNewPicture();
    // world.cpp: waits for the next key press and returns it as readkey
    // does; every place that waits for a key goes through it.
    virtual int ReadKey();
    // world.cpp: true while Allegro key k is held (through varshim).
    virtual bool KeyHeld(int k);
    // world.cpp: the quit chord, Shift with ESC.
    virtual bool QuitRequested();
    // quit.cpp: true once per press of the quit chord (held keys count once).
    bool QuitChordPressed();
    // quit.cpp: saves "vell.cfg" and "Vell.zub" for Shift+ESC; when the
    // document cannot be saved, says why and answers false, so the editor
    // stays open; a second Shift+ESC soon after quits anyway.
    virtual bool QuitNow();
    // quit.cpp: at start, names the place the last session's work went when
    // it could not be saved as "Vell.zub", and offers it to Alt+L.
    void TellWhereWorkWent();
    // world.cpp: the pace of a held-key mode after a frame: with something
    // moving, rests movingMs; with nothing moving (0), waits for a key to go
    // down or up. False once a stop is requested: the mode ends.
    virtual bool NextModeFrame(int movingMs);
    // world.cpp: makes sure there are at least ten pointers.
    virtual void EnsureTenPointers();
    // overlay.cpp: shows one message line (and prints it on the console).
    virtual void Message(const std::string& line);
    // prompt.cpp: the multi-field form every command that asks goes through
    // (tests override it to answer); `ranges` are the numbers it holds.
    virtual PromptAnswers Prompt(const std::string& title, const std::vector<std::string>& prompts,
                                 const std::vector<std::string>& values, const FieldRanges& ranges = {});

    std::vector<Pointer*> pointers;
    Pointer* pointer = nullptr;
    int spointer = 0;
    std::vector<Layer*> layers;
    Layer* layer = nullptr;
    int slayer = 0;
    Txt* txt = nullptr;
    Bmp* stm = nullptr;
    Bmp* stm2 = nullptr;
    History* history = nullptr;
    // paint_gate.h: the one way to change a layer's pixels.
    PaintGate* gate = nullptr;
    // Mirror drawing; an axis not set runs through the canvas middle.
    MirrorMode mirrorMode = MirrorMode::Off;
    std::optional<int64_t> mirrorSumX, mirrorSumY;
    Lens* lens = nullptr;
    KeyMan* keyMan = nullptr;
    std::string cfile;
    // The quit chord's state: let go since its last press; when a save at
    // quit was last refused (NowMs, -1 never); the quit save succeeded.
    bool quitKeysLetGo = true;
    long quitRefusedAtMs = -1;
    bool quitSaved = false;
    FileIO* fileIO = nullptr;
    Text* text = nullptr;
    TextDraw* textDraw = nullptr;
    int stepX = 1;
    int stepY = 1;
    Files* files = nullptr;
    int pause = 0;
    TeleportMan* teleportMan = nullptr;
    bool showTeleports = false;
    // status_line.cpp
    bool statusShown = true;
    StatusLine* statusLine = nullptr;
    ExportSettings exportSettings;
    // grid.cpp: cycled by Ctrl+G, drawn by Render over the lens view.
    Grid grid;
    // The frames before and after the current one over the view (Ctrl+O).
    OnionSkin onion;
    // True while Ctrl+P's preview plays; the status line says so.
    bool previewing = false;
    // The session's palette (kept in "vell.cfg"), its strip, and the swatch
    // selected in palette mode.
    Palette palette = Palette::Default();
    bool paletteShown = true;
    size_t paletteSelection = 0;
    bool paletteModeOn = false;

    // Why the last SaveDocument or LoadDocument that failed did so.
    std::string documentFailure;

    // False when the document could not be read at start and could not be
    // moved aside either: quitting must then not overwrite "Vell.zub".
    bool mayWriteDocument = true;

    // When an autosave is due, and the version of the document that
    // "Vell.zub" holds as far as this editor knows (read or written by it).
    AutosaveClock autosaveClock;
    DocumentVersion savedVersion;
    // True while autosaves fail, so the console hears of it once.
    bool autosaveFailing = false;

protected:
    // For tests that build the editor step by step; does nothing.
    struct NoInit {};
    explicit World(NoInit) {}
    void Construct(const std::string& docName);
    // The part of stm that the lens window covers is composed each frame.
    void ComposeVisibleRegion();
};
