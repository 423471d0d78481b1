/* varshim: plain C accessors for Allegro 4's global variables.
 *
 * Every variable is reached through get_NAME() and, where it may be
 * changed from outside, set_NAME(value).  The functions have C linkage and
 * undecorated names so that code which cannot see Allegro's data symbols
 * (other languages, dlsym, a program loaded beside another copy of the
 * library) can still read and write them.
 *
 * The accessors are generated from the lists below; each list entry is the
 * variable's name, the type the accessor traffics in, and whether it is
 * read-only (r) or read-write (rw).  Allegro declares some of these
 * variables volatile; a value returned or passed by copy carries no
 * qualifier, so those entries list the plain type.
 */
#ifndef VARSHIM_VARSHIM_H
#define VARSHIM_VARSHIM_H

#include <allegro.h>

#define VARSHIM_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

/* Types of Allegro's hook variables, so that they fit a macro argument. */
typedef void (*varshim_hook_void)(void);                /* retrace_proc, digi_recorder */
typedef void (*varshim_hook_int)(int);                  /* mouse_callback, keyboard_lowlevel_callback */
typedef int (*varshim_hook_key)(int);                   /* keyboard_callback */
typedef int (*varshim_hook_ukey)(int, int *);           /* keyboard_ucallback */
typedef void (*varshim_hook_midi_msg)(int, int, int);
typedef void (*varshim_hook_midi_meta)(int, const unsigned char *, int);
typedef void (*varshim_hook_midi_sysex)(const unsigned char *, int);
typedef void (*varshim_hook_midi_byte)(unsigned char);  /* midi_recorder */
typedef int (*varshim_gui_mouse_fn)(void);              /* gui_mouse_x/y/z/b */
typedef void (*varshim_draw_menu_fn)(int, int, int, int);
typedef void (*varshim_draw_menu_item_fn)(MENU *, int, int, int, int, int, int);

/* Scalars and pointers: X(name, type, r | rw). */
#define VARSHIM_SCALARS(X)                                        \
   X(allegro_404_char, int, rw)                                   \
   X(os_type, int, r)                                             \
   X(os_version, int, r)                                          \
   X(os_revision, int, r)                                         \
   X(os_multitasking, int, r)                                     \
   X(cpu_family, int, r)                                          \
   X(cpu_model, int, r)                                           \
   X(cpu_capabilities, int, r)                                    \
   X(retrace_count, int, r)                                       \
   X(retrace_proc, varshim_hook_void, rw)                         \
   X(mouse_x, int, r)                                             \
   X(mouse_y, int, r)                                             \
   X(mouse_z, int, r)                                             \
   X(mouse_b, int, r)                                             \
   X(mouse_pos, int, r)                                           \
   X(mouse_sprite, BITMAP *, r)                                   \
   X(mouse_x_focus, int, r)                                       \
   X(mouse_y_focus, int, r)                                       \
   X(freeze_mouse_flag, int, rw)                                  \
   X(mouse_callback, varshim_hook_int, rw)                        \
   X(key_shifts, int, r)                                          \
   X(key_led_flag, int, rw)                                       \
   X(three_finger_flag, int, rw)                                  \
   X(keyboard_callback, varshim_hook_key, rw)                     \
   X(keyboard_ucallback, varshim_hook_ukey, rw)                   \
   X(keyboard_lowlevel_callback, varshim_hook_int, rw)            \
   X(num_joysticks, int, r)                                       \
   X(screen, BITMAP *, rw)                                        \
   X(font, FONT *, rw)                                            \
   X(gfx_driver, GFX_DRIVER *, r)                                 \
   X(palette_color, int *, r)                                     \
   X(color_map, COLOR_MAP *, rw)                                  \
   X(rgb_map, RGB_MAP *, rw)                                      \
   X(scene_gap, float, rw)                                        \
   X(fli_bitmap, BITMAP *, r)                                     \
   X(fli_bmp_dirty_from, int, r)                                  \
   X(fli_bmp_dirty_to, int, r)                                    \
   X(fli_pal_dirty_from, int, r)                                  \
   X(fli_pal_dirty_to, int, r)                                    \
   X(fli_frame, int, r)                                           \
   X(fli_timer, int, r)                                           \
   X(midi_pos, long, r)                                           \
   X(midi_loop_start, long, rw)                                   \
   X(midi_loop_end, long, rw)                                     \
   X(midi_msg_callback, varshim_hook_midi_msg, rw)                \
   X(midi_meta_callback, varshim_hook_midi_meta, rw)              \
   X(midi_sysex_callback, varshim_hook_midi_sysex, rw)            \
   X(midi_recorder, varshim_hook_midi_byte, rw)                   \
   X(digi_recorder, varshim_hook_void, rw)                        \
   X(gui_fg_color, int, rw)                                       \
   X(gui_mg_color, int, rw)                                       \
   X(gui_bg_color, int, rw)                                       \
   X(gui_font_baseline, int, rw)                                  \
   X(gui_mouse_focus, int, r)                                     \
   X(gui_mouse_x, varshim_gui_mouse_fn, rw)                       \
   X(gui_mouse_y, varshim_gui_mouse_fn, rw)                       \
   X(gui_mouse_z, varshim_gui_mouse_fn, rw)                       \
   X(gui_mouse_b, varshim_gui_mouse_fn, rw)                       \
   X(gui_menu_draw_menu, varshim_draw_menu_fn, rw)                \
   X(gui_menu_draw_menu_item, varshim_draw_menu_item_fn, rw)      \
   X(gui_shadow_box_proc, DIALOG_PROC, rw)                        \
   X(gui_ctext_proc, DIALOG_PROC, rw)                             \
   X(gui_button_proc, DIALOG_PROC, rw)                            \
   X(gui_edit_proc, DIALOG_PROC, rw)                              \
   X(gui_list_proc, DIALOG_PROC, rw)                              \
   X(gui_text_list_proc, DIALOG_PROC, rw)                         \
   X(active_dialog, DIALOG *, r)                                  \
   X(active_menu, MENU *, r)

/* Arrays, read-only, reached through their first element: X(name, element). */
#define VARSHIM_ARRAYS(X)                                         \
   X(allegro_id, char)                                            \
   X(allegro_error, char)                                         \
   X(empty_string, char)                                          \
   X(cpu_vendor, char)                                            \
   X(joy, JOYSTICK_INFO)                                          \
   X(default_palette, RGB)                                        \
   X(black_palette, RGB)                                          \
   X(desktop_palette, RGB)                                        \
   X(fli_palette, RGB)

/* Structures, read-only, returned by value: X(name, type). */
#define VARSHIM_STRUCTS(X)                                        \
   X(identity_matrix, MATRIX)                                     \
   X(identity_matrix_f, MATRIX_f)                                 \
   X(identity_quat, QUAT)

/* Each name is pasted onto get_/set_ at the first expansion step, before
 * it could be rescanned, so a macro that happens to share a variable's name
 * cannot leak into the function names. */
#define VARSHIM_DECLARE_r(getter, setter, type) VARSHIM_API type getter(void);
#define VARSHIM_DECLARE_rw(getter, setter, type) \
   VARSHIM_DECLARE_r(getter, setter, type) VARSHIM_API void setter(type value);
#define VARSHIM_DECLARE_SCALAR(name, type, access) \
   VARSHIM_DECLARE_##access(get_##name, set_##name, type)
#define VARSHIM_DECLARE_ARRAY(name, elem) VARSHIM_API elem *get_##name(void);
#define VARSHIM_DECLARE_STRUCT(name, type) VARSHIM_API type get_##name(void);

VARSHIM_SCALARS(VARSHIM_DECLARE_SCALAR)
VARSHIM_ARRAYS(VARSHIM_DECLARE_ARRAY)
VARSHIM_STRUCTS(VARSHIM_DECLARE_STRUCT)

/* Entry k of key[], sign-extended: non-zero (normally -1) while key k is
 * held.  k is not range-checked. */
VARSHIM_API int get_key(int k);

#ifdef __cplusplus
}
#endif

#endif /* VARSHIM_VARSHIM_H */
