#include "registry/RegistryError.h"

RegistryError::RegistryError(std::int32_t number, const std::string& description)
    : std::runtime_error(description), number_(number) {}
