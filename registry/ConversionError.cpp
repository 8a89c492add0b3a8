#include "registry/ConversionError.h"

ConversionError::ConversionError(std::int32_t number)
    : std::runtime_error(number == kOverflow ? "Overflow" : "Type mismatch"), number_(number) {}
