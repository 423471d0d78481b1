// Checks the accessors in libvarshim.so against Allegro's own variables:
// getters see writes made directly to the globals, setters store into the
// right global and nowhere else, and the library exports exactly the
// expected set of functions.
#include "varshim/varshim.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace {

// A function of the given signature to store into hook variables; it is
// never called.
template <class R, class... A>
R StandIn(A...) {
    if constexpr (!std::is_void_v<R>) return R{};
}

template <class R, class... A>
auto StandInOtherThan(R (*current)(A...)) -> R (*)(A...) {
    R (*s)(A...) = &StandIn<R, A...>;
    return current == s ? nullptr : s;
}

// A value of T that differs from `current`. Object pointers made here are
// never dereferenced; they only need to compare unequal.
template <class T>
T OtherThan(T current) {
    if constexpr (std::is_arithmetic_v<T>) {
        return current == T(7) ? T(-3) : T(7);
    } else if constexpr (std::is_function_v<std::remove_pointer_t<T>>) {
        return StandInOtherThan(current);
    } else {
        return reinterpret_cast<T>(reinterpret_cast<std::uintptr_t>(current) + 64);
    }
}

// One of Allegro's scalar globals together with its accessors.
struct Variable {
    std::string name;
    const volatile unsigned char* bytes;  // Allegro's own storage
    size_t size;
    bool writable;
    // Writes the global directly and reports whether the getter saw it.
    std::function<bool()> getterSeesGlobal;
    // Calls the setter and reports whether the global took the value.
    std::function<bool()> setterStoresGlobal;

    std::vector<unsigned char> Snapshot() const { return {bytes, bytes + size}; }
};

template <class T, class V>
Variable MakeVariable(const char* name, V& var, T (*get)(), void (*set)(T)) {
    Variable v{name, reinterpret_cast<const volatile unsigned char*>(&var), sizeof var,
               set != nullptr, nullptr, nullptr};
    v.getterSeesGlobal = [&var, get] {
        T saved = var;
        T probe = OtherThan(saved);
        var = probe;
        bool seen = get() == probe;
        var = saved;
        return seen;
    };
    if (set) {
        v.setterStoresGlobal = [&var, set] {
            T saved = var;
            T probe = OtherThan(saved);
            set(probe);
            bool stored = var == probe;
            var = saved;
            return stored;
        };
    }
    return v;
}

#define VARSHIM_TEST_SETTER_r(name) nullptr
#define VARSHIM_TEST_SETTER_rw(name) &set_##name
#define VARSHIM_TEST_ROW(name, type, access) \
    MakeVariable<type>(#name, ::name, &get_##name, VARSHIM_TEST_SETTER_##access(name)),

const std::vector<Variable>& Variables() {
    static const std::vector<Variable> table = {VARSHIM_SCALARS(VARSHIM_TEST_ROW)};
    return table;
}

TEST(VarshimScalars, GettersReturnAllegrosVariables) {
    for (const Variable& v : Variables()) EXPECT_TRUE(v.getterSeesGlobal()) << v.name;
}

TEST(VarshimScalars, SettersStoreIntoTheirVariableOnly) {
    const auto& table = Variables();
    int setters = 0;
    for (size_t i = 0; i < table.size(); i++) {
        if (!table[i].writable) continue;
        setters++;
        std::vector<std::vector<unsigned char>> before;
        for (const Variable& other : table) before.push_back(other.Snapshot());

        EXPECT_TRUE(table[i].setterStoresGlobal()) << "set_" << table[i].name;

        for (size_t j = 0; j < table.size(); j++) {
            EXPECT_EQ(before[j], table[j].Snapshot())
                << "set_" << table[i].name << " changed " << table[j].name;
        }
    }
    EXPECT_GT(setters, 0);
}

TEST(VarshimArrays, GettersPointAtAllegrosArrays) {
#define VARSHIM_TEST_ARRAY(name, elem) \
    EXPECT_EQ(static_cast<const void*>(get_##name()), static_cast<const void*>(&::name[0])) << #name;
    VARSHIM_ARRAYS(VARSHIM_TEST_ARRAY)
#undef VARSHIM_TEST_ARRAY
    // Text read through the pointer is Allegro's text.
    EXPECT_STREQ(get_allegro_id(), allegro_id);
    EXPECT_EQ(get_desktop_palette()[3].g, desktop_palette[3].g);
}

TEST(VarshimKey, EachEntryIsReadWithItsSign) {
    for (int k = 0; k < KEY_MAX; k++) key[k] = 0;
    for (int k = 0; k < KEY_MAX; k++) {
        key[k] = -1;
        EXPECT_EQ(get_key(k), -1) << "key " << k;
        if (k + 1 < KEY_MAX) {
            EXPECT_EQ(get_key(k + 1), 0) << "key after " << k;
        }
        if (k > 0) {
            EXPECT_EQ(get_key(k - 1), 0) << "key before " << k;
        }
        key[k] = 0;
        EXPECT_EQ(get_key(k), 0) << "released key " << k;
    }
    key[KEY_ENTER] = 1;
    EXPECT_EQ(get_key(KEY_ENTER), 1);
    key[KEY_ENTER] = 0;
}

// Fills every element of a matrix with a different value.
template <class M, class E>
void FillDistinct(M& m, E step) {
    E value = step;
    for (auto& row : m.v)
        for (auto& e : row) e = value += step;
    for (auto& e : m.t) e = value += step;
}

template <class M>
void ExpectSameElements(const M& a, const M& b, const char* what) {
    for (int i = 0; i < 3; i++) {
        for (int j = 0; j < 3; j++) EXPECT_EQ(a.v[i][j], b.v[i][j]) << what << " v" << i << j;
        EXPECT_EQ(a.t[i], b.t[i]) << what << " t" << i;
    }
}

TEST(VarshimIdentity, GettersCopyEveryElementOfTheGlobals) {
    MATRIX savedM = identity_matrix;
    MATRIX_f savedF = identity_matrix_f;
    QUAT savedQ = identity_quat;

    FillDistinct(identity_matrix, fixed(3));
    FillDistinct(identity_matrix_f, 0.5f);
    identity_quat = {2.0f, 3.0f, 4.0f, 5.0f};
    MATRIX m = get_identity_matrix();
    MATRIX_f f = get_identity_matrix_f();
    QUAT q = get_identity_quat();
    ExpectSameElements(m, identity_matrix, "MATRIX");
    ExpectSameElements(f, identity_matrix_f, "MATRIX_f");
    EXPECT_EQ(q.w, 2.0f);
    EXPECT_EQ(q.x, 3.0f);
    EXPECT_EQ(q.y, 4.0f);
    EXPECT_EQ(q.z, 5.0f);

    identity_matrix = savedM;
    identity_matrix_f = savedF;
    identity_quat = savedQ;
}

// Symbol names nm lists for `file`, keeping those whose type letter is in
// `types`.
std::set<std::string> Symbols(const std::string& options, const char* file,
                              const std::string& types) {
    std::set<std::string> names;
    std::string cmd = "nm -D " + options + " '" + file + "' 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return names;
    char line[512];
    while (std::fgets(line, sizeof line, p)) {
        // "address type name" for defined symbols, "type name" for undefined.
        std::istringstream in(line);
        std::vector<std::string> fields;
        for (std::string f; in >> f;) fields.push_back(f);
        if (fields.size() < 2) continue;
        const std::string& type = fields[fields.size() - 2];
        if (type.size() == 1 && types.find(type[0]) != std::string::npos)
            names.insert(fields.back());
    }
    pclose(p);
    return names;
}

TEST(VarshimExports, LibraryExportsExactlyTheAccessors) {
    const char* readWrite[] = {
        "allegro_404_char", "retrace_proc", "freeze_mouse_flag", "mouse_callback",
        "key_led_flag", "three_finger_flag", "keyboard_callback", "keyboard_ucallback",
        "keyboard_lowlevel_callback", "screen", "font", "color_map", "rgb_map", "scene_gap",
        "midi_loop_start", "midi_loop_end", "midi_msg_callback", "midi_meta_callback",
        "midi_sysex_callback", "midi_recorder", "digi_recorder", "gui_fg_color",
        "gui_mg_color", "gui_bg_color", "gui_font_baseline", "gui_mouse_x", "gui_mouse_y",
        "gui_mouse_z", "gui_mouse_b", "gui_menu_draw_menu", "gui_menu_draw_menu_item",
        "gui_shadow_box_proc", "gui_ctext_proc", "gui_button_proc", "gui_edit_proc",
        "gui_list_proc", "gui_text_list_proc"};
    const char* readOnly[] = {
        "allegro_id", "allegro_error", "empty_string", "os_type", "os_version",
        "os_revision", "os_multitasking", "cpu_vendor", "cpu_family", "cpu_model",
        "cpu_capabilities", "retrace_count", "mouse_x", "mouse_y", "mouse_z", "mouse_b",
        "mouse_pos", "mouse_sprite", "mouse_x_focus", "mouse_y_focus", "key", "key_shifts",
        "num_joysticks", "joy", "gfx_driver", "default_palette", "black_palette",
        "desktop_palette", "palette_color", "identity_matrix", "identity_matrix_f",
        "identity_quat", "fli_bitmap", "fli_palette", "fli_bmp_dirty_from",
        "fli_bmp_dirty_to", "fli_pal_dirty_from", "fli_pal_dirty_to", "fli_frame",
        "fli_timer", "midi_pos", "gui_mouse_focus", "active_dialog", "active_menu"};
    std::set<std::string> expected;
    for (const char* n : readWrite) {
        expected.insert(std::string("get_") + n);
        expected.insert(std::string("set_") + n);
    }
    for (const char* n : readOnly) expected.insert(std::string("get_") + n);
    ASSERT_EQ(expected.size(), 118u);

    // Every kind of function symbol, so a stray weak or indirect one counts.
    std::set<std::string> exported = Symbols("--defined-only", VARSHIM_PATH, "TWi");
    ASSERT_FALSE(exported.empty()) << "nm found nothing in " << VARSHIM_PATH;
    for (const std::string& n : expected) EXPECT_TRUE(exported.count(n)) << "missing " << n;
    for (const std::string& n : exported) EXPECT_TRUE(expected.count(n)) << "unexpected " << n;
}

TEST(VarshimExports, ProgramImportsScreenFontAndKeyAccessors) {
    std::set<std::string> imported = Symbols("--undefined-only", VELL_PATH, "U");
    ASSERT_FALSE(imported.empty()) << "no imports read from " << VELL_PATH
                                   << " (is the program built?)";
    for (const char* n : {"get_screen", "get_font", "get_key"})
        EXPECT_TRUE(imported.count(n)) << VELL_PATH << " does not import " << n;
}

}  // namespace
