// The .zub document: its byte layout, round trips through the editor, the
// refusal of broken files, saves that fail, and the start-up and quit paths.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstring>
#include <memory>

#include "bmp/bmp.h"
#include "learn/document_io.h"
#include "learn/layer.h"
#include "learn/pointer.h"
#include "test_support.h"

namespace {

int32_t IntAt(const std::string& bytes, size_t offset) {
    int32_t v;
    std::memcpy(&v, bytes.data() + offset, 4);
    return v;
}

// Little-endian bytes of a .zub file, built value by value.
struct Bytes {
    std::string s;
    Bytes& Int(int32_t v) {
        for (int i = 0; i < 4; i++)
            s.push_back(static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xff));
        return *this;
    }
    Bytes& Ints(int n, int32_t v) {
        for (int i = 0; i < n; i++) Int(v);
        return *this;
    }
};

// A valid version-2 document: two 4x3 layers (opaque, transparent), pointer
// 0 with a 2x2 brush, the other nine without.
std::string ValidDocument() {
    Bytes b;
    b.Int(2).Int(2).Int(4).Int(3);
    b.Int(0);
    for (int i = 0; i < 12; i++) b.Int(makecol(i * 20, 5, 9));
    b.Int(1).Ints(12, makecol(255, 0, 255));
    b.Int(2)
        .Int(2)
        .Int(makecol(1, 2, 3))
        .Int(makecol(4, 5, 6))
        .Int(makecol(7, 8, 9))
        .Int(makecol(10, 11, 12));
    b.Ints(9, 0);
    return b.s;
}

class DocumentTest : public testing::Test {
protected:
    void SetUp() override {
        ReleaseAllKeys();
        world = std::make_unique<TestWorld>();
    }

    // Replaces the editor's picture with `count` layers of w x h.
    void UseLayers(TestWorld& w, int count, int width, int height) {
        for (Layer* l : w.layers) delete l;
        w.layers.clear();
        for (int i = 0; i < count; i++) w.layers.push_back(new Layer(&w, width, height, i % 2));
        w.slayer = 0;
        w.SelectLayer(0);
    }

    TempDir dir;
    std::unique_ptr<TestWorld> world;
};

TEST_F(DocumentTest, TwoSmallLayersAndTenBareBrushesMake160Bytes) {
    UseLayers(*world, 2, 4, 3);
    BITMAP* bottom = LayerBitmap(world->layers[0]);
    putpixel(bottom, 3, 2, makecol(10, 20, 30));
    ASSERT_TRUE(world->SaveDocument("a.zub"));
    std::string f = ReadFile("a.zub");
    ASSERT_EQ(160u, f.size());
    EXPECT_EQ(std::string("\x02\x00\x00\x00", 4), f.substr(0, 4));
    EXPECT_EQ(2, IntAt(f, 4));
    EXPECT_EQ(4, IntAt(f, 8));
    EXPECT_EQ(3, IntAt(f, 12));
    EXPECT_EQ(0, IntAt(f, 16));                             // mode of layer 0
    EXPECT_EQ(makecol(10, 20, 30), IntAt(f, 20 + 4 * 11));  // (3, 2): the last pixel
    EXPECT_EQ(0, IntAt(f, 20));
    EXPECT_EQ(1, IntAt(f, 68));  // mode of layer 1
    for (int i = 0; i < 12; i++) EXPECT_EQ(0x00FF00FF, IntAt(f, 72 + 4 * i));
    for (int i = 0; i < 10; i++) EXPECT_EQ(0, IntAt(f, 120 + 4 * i));
}

TEST_F(DocumentTest, SaveAndLoadGiveBackLayersAndBrushes) {
    UseLayers(*world, 3, 17, 9);
    for (int l = 0; l < 3; l++) {
        BITMAP* b = LayerBitmap(world->layers[l]);
        for (int y = 0; y < 9; y++)
            for (int x = 0; x < 17; x++)
                if ((x + y + l) % 3) putpixel(b, x, y, makecol(x * 15, y * 25, l * 80));
    }
    for (int n : {0, 4, 9}) {
        Pointer* p = world->pointers[n];
        p->w = n + 1, p->h = 2;
        p->bx = n;
        p->Grab(*world->layers[1]);
    }
    ASSERT_TRUE(world->SaveDocument("Vell.zub"));

    TestWorld again;
    ASSERT_EQ(3u, again.layers.size());
    for (int l = 0; l < 3; l++) {
        EXPECT_EQ(world->layers[l]->mode, again.layers[l]->mode);
        ASSERT_EQ(17, again.layers[l]->width);
        ASSERT_EQ(9, again.layers[l]->height);
        for (int y = 0; y < 9; y++)
            for (int x = 0; x < 17; x++)
                ASSERT_EQ(getpixel(LayerBitmap(world->layers[l]), x, y),
                          getpixel(LayerBitmap(again.layers[l]), x, y));
    }
    ASSERT_GE(again.pointers.size(), 10u);
    for (int n = 0; n < 10; n++) {
        Bmp* want = world->pointers[n]->brush;
        Bmp* got = again.pointers[n]->brush;
        ASSERT_EQ(want == nullptr, got == nullptr) << n;
        if (!want) continue;
        ASSERT_EQ(want->Width(), got->Width());
        ASSERT_EQ(want->Height(), got->Height());
        for (int y = 0; y < want->Height(); y++)
            for (int x = 0; x < want->Width(); x++)
                EXPECT_EQ(getpixel(want->GetBitmap(), x, y), getpixel(got->GetBitmap(), x, y));
    }
    EXPECT_EQ(17, again.stm->Width());
}

TEST_F(DocumentTest, ABoxWiderThanTheBrushIsStoredWithMinusOneOutside) {
    UseLayers(*world, 1, 8, 8);
    Pointer* p = world->pointers[0];
    p->w = 5, p->h = 5;
    p->Grab(*world->layer);
    p->w = 6;
    ASSERT_TRUE(world->SaveDocument("a.zub"));
    std::string f = ReadFile("a.zub");
    size_t rec = 16 + 4 + 4 * 64;
    EXPECT_EQ(6, IntAt(f, rec));
    EXPECT_EQ(5, IntAt(f, rec + 4));
    for (int y = 0; y < 5; y++) {
        for (int x = 0; x < 5; x++) EXPECT_NE(-1, IntAt(f, rec + 8 + 4 * (y * 6 + x)));
        EXPECT_EQ(-1, IntAt(f, rec + 8 + 4 * (y * 6 + 5)));
    }
    EXPECT_EQ(rec + 8 + 4 * 30 + 4 * 9, f.size());
}

TEST_F(DocumentTest, ABrushWithAnEmptyBoxSurvivesSaveAndLoad) {
    UseLayers(*world, 1, 8, 8);
    putpixel(LayerBitmap(world->layer), 1, 0, makecol(200, 100, 50));
    Pointer* p = world->pointers[2];
    p->w = 3, p->h = 2;
    p->Grab(*world->layer);
    p->w = 0, p->h = 0;
    ASSERT_TRUE(world->SaveDocument("Vell.zub"));
    std::string f = ReadFile("Vell.zub");
    EXPECT_EQ(16u + 4 + 256 + 8 + 4 * 6 + 4 * 9, f.size());

    TestWorld again;
    Bmp* brush = again.pointers[2]->brush;
    ASSERT_NE(nullptr, brush);
    EXPECT_EQ(3, brush->Width());
    EXPECT_EQ(2, brush->Height());
    EXPECT_EQ((Rgb{200, 100, 50}), PixelAt(brush->GetBitmap(), 1, 0));
    EXPECT_EQ(nullptr, again.pointers[1]->brush);
}

TEST_F(DocumentTest, AVersionOneDocumentHasNoPointerRecordsAndTenPointers) {
    Bytes b;
    b.Int(1).Int(1).Int(2).Int(2).Int(0).Int(makecol(9, 9, 9)).Ints(3, 0);
    WriteFile("Vell.zub", b.s);
    TestWorld again;
    ASSERT_EQ(1u, again.layers.size());
    EXPECT_EQ(2, again.layer->width);
    EXPECT_EQ((Rgb{9, 9, 9}), PixelAt(LayerBitmap(again.layer), 0, 0));
    EXPECT_EQ(10u, again.pointers.size());
}

TEST_F(DocumentTest, PointerRecordsBeyondTheTenthAndTrailingBytesAreIgnored) {
    WriteFile("a.zub", ValidDocument() + Bytes().Int(1).Int(1).Int(5).s + "xyz");
    size_t before = world->pointers.size();
    ASSERT_TRUE(world->LoadDocument("a.zub"));
    EXPECT_EQ(before + 10, world->pointers.size());
}

TEST_F(DocumentTest, ARecordWithANegativeSizeReadsAsNoBrush) {
    std::string doc = ValidDocument();
    // Pointer 0's record becomes w = 3, h = -2 with no values; nine zeros follow.
    Bytes b;
    b.s = doc.substr(0, 16 + 2 * 52);
    b.Int(3).Int(-2).Ints(9, 0);
    WriteFile("a.zub", b.s);
    ASSERT_TRUE(world->LoadDocument("a.zub"));
    size_t first = world->pointers.size() - 10;
    for (size_t i = first; i < world->pointers.size(); i++)
        EXPECT_EQ(nullptr, world->pointers[i]->brush);
}

TEST_F(DocumentTest, LoadingWhileRunningSelectsAClampedLayerAndResizesTheView) {
    UseLayers(*world, 3, 30, 20);
    world->SelectLayer(2);
    WriteFile("a.zub", ValidDocument());
    ASSERT_TRUE(world->LoadDocument("a.zub"));
    ASSERT_EQ(2u, world->layers.size());
    EXPECT_EQ(1, world->slayer);
    EXPECT_EQ(world->layers[1], world->layer);
    EXPECT_EQ(1, world->pointer->layer);
    EXPECT_EQ(4, world->stm->Width());
    EXPECT_EQ(3, world->stm->Height());
    EXPECT_EQ(20u, world->pointers.size());
    world->Render();  // the view copes with the smaller picture
}

// Each broken file must be refused and leave the editor as it was.
struct Broken {
    const char* what;
    std::string bytes;
};

std::vector<Broken> BrokenFiles() {
    std::string good = ValidDocument();
    const size_t layersEnd = 16 + 2 * 52;
    std::vector<Broken> cases = {
        {"empty", ""},
        {"truncated header", good.substr(0, 10)},
        {"version 0", Bytes().Int(0).s + good.substr(4)},
        {"version 3", Bytes().Int(3).s + good.substr(4)},
        {"zero layers", Bytes().Int(2).Int(0).Int(4).Int(3).s + good.substr(16)},
        {"negative layers", Bytes().Int(2).Int(-1).Int(4).Int(3).s + good.substr(16)},
        {"huge layer count", Bytes().Int(2).Int(0x7fffffff).Int(4).Int(3).s + good.substr(16)},
        {"zero width", Bytes().Int(2).Int(2).Int(0).Int(3).s + good.substr(16)},
        {"negative height", Bytes().Int(2).Int(2).Int(4).Int(-3).s + good.substr(16)},
        {"size overflowing 32 bits",
         Bytes().Int(2).Int(1).Int(65536).Int(65536).s + good.substr(16)},
        {"huge size", Bytes().Int(2).Int(1).Int(0x7fffffff).Int(0x7fffffff).s + good.substr(16)},
        {"size beyond the file", Bytes().Int(2).Int(2).Int(400).Int(300).s + good.substr(16)},
        {"bad mode", good.substr(0, 68) + Bytes().Int(2).s + good.substr(72)},
        {"negative mode", good.substr(0, 16) + Bytes().Int(-1).s + good.substr(20)},
        {"truncated in the first layer", good.substr(0, 40)},
        {"truncated in the second layer", good.substr(0, 100)},
        {"no pointer records", good.substr(0, layersEnd)},
        {"truncated brush size", good.substr(0, layersEnd + 4)},
        {"truncated brush", good.substr(0, layersEnd + 12)},
        {"only nine records", good.substr(0, good.size() - 4)},
        {"huge brush",
         good.substr(0, layersEnd) + Bytes().Int(0x7fffffff).Int(0x7fffffff).Ints(9, 0).s},
        {"brush beyond the file",
         good.substr(0, layersEnd) + Bytes().Int(1000).Int(1000).Ints(9, 0).s},
    };
    return cases;
}

TEST_F(DocumentTest, BrokenFilesAreRefusedAndChangeNothing) {
    UseLayers(*world, 2, 6, 5);
    world->SelectLayer(1);
    putpixel(LayerBitmap(world->layers[0]), 2, 2, makecol(1, 99, 1));
    std::vector<Layer*> layers = world->layers;
    std::vector<Pointer*> pointers = world->pointers;
    for (const Broken& c : BrokenFiles()) {
        WriteFile("broken.zub", c.bytes);
        EXPECT_FALSE(world->LoadDocument("broken.zub")) << c.what;
        EXPECT_EQ(layers, world->layers) << c.what;
        EXPECT_EQ(pointers, world->pointers) << c.what;
        EXPECT_EQ(1, world->slayer) << c.what;
        EXPECT_EQ(layers[1], world->layer) << c.what;
        EXPECT_EQ(6, world->layers[0]->width) << c.what;
        EXPECT_EQ((Rgb{1, 99, 1}), PixelAt(LayerBitmap(world->layers[0]), 2, 2)) << c.what;
    }
    // The table's base document itself is accepted.
    WriteFile("good.zub", ValidDocument());
    EXPECT_TRUE(world->LoadDocument("good.zub"));
}

// The reader alone, as the fuzz target drives it.
ReadLimits PlainLimits(uint32_t maxPixel) {
    ReadLimits limits;
    limits.sizeAllowed = [](int64_t w, int64_t h) { return w >= 1 && h >= 1 && w * h <= 1 << 20; };
    limits.maxPixel = maxPixel;
    limits.make = [](int w, int h) -> std::unique_ptr<PixelRows> {
        return std::make_unique<PlainPixels>(w, h);
    };
    return limits;
}

bool ReadBytes(const std::string& bytes, uint32_t maxPixel, Document& doc, std::string& why) {
    std::FILE* f = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
    bool ok = ReadDocument(f, PlainLimits(maxPixel), doc, why);
    std::fclose(f);
    return ok;
}

TEST(DocumentReader, AtALowerDepthRefusesValuesTheDepthCannotHold) {
    Bytes b;
    b.Int(2).Int(1).Int(2).Int(1).Int(0).Int(0xFFFF).Int(0x10000);
    b.Int(2).Int(1).Int(0x1234).Int(-1).Ints(9, 0);
    Document doc;
    std::string why;
    EXPECT_FALSE(ReadBytes(b.s, 0xFFFF, doc, why));
    EXPECT_TRUE(doc.layers.empty());
    EXPECT_TRUE(ReadBytes(b.s, 0xFFFFFFFFu, doc, why)) << why;

    // -1 in a brush record marks "outside the brush" and is accepted.
    Bytes fits;
    fits.s = b.s.substr(0, 20) + Bytes().Int(0xFFFF).Int(0).s + b.s.substr(28);
    Document low;
    EXPECT_TRUE(ReadBytes(fits.s, 0xFFFF, low, why)) << why;
    ASSERT_NE(nullptr, low.pointers[0].brush);
    EXPECT_EQ(-1, static_cast<PlainPixels&>(*low.pointers[0].brush).At(1, 0));
}

TEST(DocumentReader, WritesBackTheBytesItRead) {
    std::string good = ValidDocument();
    Document doc;
    std::string why;
    ASSERT_TRUE(ReadBytes(good, 0xFFFFFFFFu, doc, why)) << why;
    char* out = nullptr;
    size_t size = 0;
    std::FILE* f = open_memstream(&out, &size);
    ASSERT_TRUE(WriteDocument(f, doc, why));
    std::fclose(f);
    EXPECT_EQ(good, std::string(out, size));
    std::free(out);
}

TEST_F(DocumentTest, ASaveIntoAPathThroughAFileFailsAndSaysSo) {
    WriteFile("plain", "x");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(world->SaveDocument("plain/Vell.zub"));
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, out.find("'plain/Vell.zub' was not saved")) << out;
    EXPECT_EQ("x", ReadFile("plain"));
}

std::vector<std::string> Entries() {
    std::vector<std::string> names;
    DIR* d = opendir(".");
    while (dirent* e = readdir(d))
        if (e->d_name[0] != '.') names.push_back(e->d_name);
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(DocumentTest, ASaveThatRunsOutOfRoomLeavesTheOldFileIntact) {
    UseLayers(*world, 1, 4, 4);
    ASSERT_TRUE(world->SaveDocument("Vell.zub"));
    std::string old = ReadFile("Vell.zub");
    std::vector<std::string> before = Entries();
    UseLayers(*world, 2, 64, 64);

    pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        // Writes beyond the limit fail with EFBIG instead of killing the child.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{old.size() + 100, old.size() + 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(world->SaveDocument("Vell.zub") ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status)) << "the save did not report its failure";
    EXPECT_EQ(old, ReadFile("Vell.zub"));
    EXPECT_EQ(before, Entries()) << "a temporary file was left behind";
}

TEST_F(DocumentTest, ASaveKeepsTheOldFilesPermissions) {
    ASSERT_TRUE(world->SaveDocument("a.zub"));
    chmod("a.zub", 0640);
    ASSERT_TRUE(world->SaveDocument("a.zub"));
    struct stat st;
    ASSERT_EQ(0, stat("a.zub", &st));
    EXPECT_EQ(0640u, st.st_mode & 07777);
}

TEST(DocumentStart, ARefusedStartDocumentIsMovedAsideNotOverwritten) {
    TempDir dir;
    ReleaseAllKeys();
    WriteFile("Vell.zub.1", "taken");
    WriteFile("Vell.zub", "not a document");
    testing::internal::CaptureStdout();
    TestWorld world;
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ("not a document", ReadFile("Vell.zub.2"));
    EXPECT_EQ("taken", ReadFile("Vell.zub.1"));
    EXPECT_NE(std::string::npos, out.find("'Vell.zub' was moved to 'Vell.zub.2'")) << out;
    EXPECT_TRUE(world.mayWriteDocument);
    EXPECT_EQ(1u, world.layers.size());
    EXPECT_EQ(10u, world.pointers.size());
}

TEST(DocumentStart, AMissingStartDocumentSaysSoAndStartsANewPicture) {
    TempDir dir;
    ReleaseAllKeys();
    testing::internal::CaptureStdout();
    TestWorld world;
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(0u, out.find("'Vell.zub' can't be opened\n")) << out;
    EXPECT_EQ(1u, world.layers.size());
    EXPECT_EQ(10u, world.pointers.size());
}

// Makes a directory immutable for the life of the object: nothing in it can
// be created, renamed or removed, even by root (ext4 and similar).
class ImmutableDir {
public:
    explicit ImmutableDir(const std::string& path)
        : fd(open(path.c_str(), O_RDONLY | O_DIRECTORY)) {
        ok = fd >= 0 && SetFlag(true);
    }
    ~ImmutableDir() {
        if (ok) SetFlag(false);
        if (fd >= 0) close(fd);
    }
    bool ok = false;

private:
    bool SetFlag(bool on) {
        int flags = 0;
        if (ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0) return false;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        return ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    int fd;
};

TEST(DocumentStart, AStartDocumentThatCannotBeMovedIsNeverOverwritten) {
    TempDir dir;
    TempDir elsewhere;  // becomes TMPDIR; the working directory goes back to `dir`
    ASSERT_EQ(0, chdir(dir.path().c_str()));
    ReleaseAllKeys();
    WriteFile("Vell.zub", "not a document");
    ImmutableDir locked(dir.path());
    if (!locked.ok) GTEST_SKIP() << "this file system cannot make a directory immutable";
    setenv("TMPDIR", elsewhere.path().c_str(), 1);
    testing::internal::CaptureStdout();
    {
        TestWorld world;
        EXPECT_FALSE(world.mayWriteDocument);
        putpixel(LayerBitmap(world.layer), 1, 1, makecol(3, 4, 5));
        world.SaveDocumentAtQuit();
    }
    std::string out = testing::internal::GetCapturedStdout();
    unsetenv("TMPDIR");
    EXPECT_EQ("not a document", ReadFile("Vell.zub"));
    EXPECT_NE(std::string::npos, out.find("it will not be written at quit")) << out;
    std::string fallback = elsewhere.path() + "/Vell-" + std::to_string(getpid()) + ".zub";
    EXPECT_NE(std::string::npos, out.find("'" + fallback + "'")) << out;
    TestWorld reader;
    ASSERT_TRUE(reader.LoadDocument(fallback));
    EXPECT_EQ((Rgb{3, 4, 5}), PixelAt(LayerBitmap(reader.layer), 1, 1));
}

TEST_F(DocumentTest, AtQuitAnUnwritableStartDocumentGoesToAFallbackFile) {
    WriteFile("Vell.zub", "keep me");
    putpixel(LayerBitmap(world->layer), 0, 0, makecol(3, 4, 5));
    world->mayWriteDocument = false;
    testing::internal::CaptureStdout();
    world->SaveDocumentAtQuit();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ("keep me", ReadFile("Vell.zub"));
    EXPECT_NE(std::string::npos, out.find("'Vell.zub.unsaved'")) << out;
    TestWorld reader;  // the fallback is a complete document
    ASSERT_TRUE(reader.LoadDocument("Vell.zub.unsaved"));
    EXPECT_EQ((Rgb{3, 4, 5}), PixelAt(LayerBitmap(reader.layer), 0, 0));
}

}  // namespace
