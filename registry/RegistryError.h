#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// An error raised by clsRegistry, with the number, source and description the game's
// registry class gives it. The numbers above 0x80000000 are Longs, so they read negative.
class RegistryError : public std::runtime_error {
public:
    static constexpr std::int32_t kFailed = 26001;
    static constexpr std::int32_t kWriteFailed = static_cast<std::int32_t>(0x800469A9u);
    static constexpr std::int32_t kEnumerateSectionsFailed = static_cast<std::int32_t>(0x800469AAu);
    static constexpr std::int32_t kBadAssociationList = static_cast<std::int32_t>(0x800469ACu);
    static constexpr std::int32_t kClassNotDefined = static_cast<std::int32_t>(0x800469ADu);

    RegistryError(std::int32_t number, const std::string& description)
        : std::runtime_error(description), number_(number) {}

    std::int32_t number() const { return number_; }
    std::string source() const { return "clsRegistry.clsRegistry"; }
    std::string description() const { return what(); }

private:
    std::int32_t number_ = 0;
};
