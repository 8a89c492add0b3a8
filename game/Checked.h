#pragma once

#include "forms/Conversions.h"
#include "game/GameRecord.h"

#include <concepts>
#include <type_traits>

// Whole-number arithmetic as the game's language does it: Long with Long stays a Long,
// Integer with Integer an Integer, and a result its type cannot hold raises Overflow instead
// of wrapping round. Every sum, difference and product of the game's whole numbers goes
// through here:
//
//   m.lTargets = Checked::Add(m.lTargets, 1);
namespace Checked {

template <typename T>
concept WholeNumber = std::same_as<T, Long> || std::same_as<T, Integer>;

template <WholeNumber T> T Add(T a, std::type_identity_t<T> b) {
    T result{};
    if (__builtin_add_overflow(a, b, &result))
        throw Overflow();
    return result;
}

template <WholeNumber T> T Sub(T a, std::type_identity_t<T> b) {
    T result{};
    if (__builtin_sub_overflow(a, b, &result))
        throw Overflow();
    return result;
}

template <WholeNumber T> T Mul(T a, std::type_identity_t<T> b) {
    T result{};
    if (__builtin_mul_overflow(a, b, &result))
        throw Overflow();
    return result;
}

} // namespace Checked
