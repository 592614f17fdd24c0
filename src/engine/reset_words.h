// Putting a module's words back to their start-up values: every module that
// owns globals has one Reset...State function beside them, built on this.
#pragma once
#include <cstring>
#include <type_traits>

#include "platform/system.h"

// Sets an object (or an array of them) to the value a global of its type
// starts with when it has no initialiser: all zeros for plain records, the
// member defaults for records that have them. A large table of plain
// records hands its pages back rather than writing zeros over them.
template <typename T>
void ResetWords(T& object) {
  using Element = std::remove_all_extents_t<T>;
  if constexpr (std::is_trivially_default_constructible_v<Element> && std::is_trivially_copyable_v<Element>) {
    platform::ZeroBytes(static_cast<void*>(&object), sizeof object);
  } else if constexpr (std::is_array_v<T>) {
    for (auto& element : object) ResetWords(element);
  } else {
    object = T{};
  }
}
