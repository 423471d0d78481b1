// Definitions of the accessors declared in varshim.h, generated from the
// same lists.  Each list entry is also checked at compile time against the
// type Allegro declares, so a mistyped entry fails the build instead of
// silently converting.
#include "varshim.h"

#include <type_traits>

namespace {

template <class Listed, class Declared>
constexpr bool same_scalar_type =
    std::is_same<Listed, std::remove_cv_t<Declared>>::value;

template <class Element, class Declared>
constexpr bool same_element_type =
    std::is_same<Element, std::remove_extent_t<Declared>>::value;

}  // namespace

#define VARSHIM_DEFINE_r(getter, setter, name, type) \
   type getter(void) { return ::name; }
#define VARSHIM_DEFINE_rw(getter, setter, name, type) \
   VARSHIM_DEFINE_r(getter, setter, name, type)       \
   void setter(type value) { ::name = value; }
#define VARSHIM_DEFINE_SCALAR(name, type, access)                         \
   static_assert(same_scalar_type<type, decltype(::name)>,                \
                 #name " is listed with a type Allegro does not give it"); \
   VARSHIM_DEFINE_##access(get_##name, set_##name, name, type)

#define VARSHIM_DEFINE_ARRAY(name, elem)                                   \
   static_assert(same_element_type<elem, decltype(::name)>,               \
                 #name " is listed with the wrong element type");         \
   elem *get_##name(void) { return &::name[0]; }

#define VARSHIM_DEFINE_STRUCT(name, type)                                  \
   static_assert(std::is_same<type, decltype(::name)>::value,             \
                 #name " is listed with the wrong structure type");       \
   type get_##name(void) { return ::name; }

extern "C" {

VARSHIM_SCALARS(VARSHIM_DEFINE_SCALAR)
VARSHIM_ARRAYS(VARSHIM_DEFINE_ARRAY)
VARSHIM_STRUCTS(VARSHIM_DEFINE_STRUCT)

// Go through signed char so a held key reads as -1 even where plain char
// is unsigned.
int get_key(int k) { return static_cast<signed char>(::key[k]); }

}  // extern "C"
