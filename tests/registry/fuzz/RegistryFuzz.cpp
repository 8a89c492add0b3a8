// Feeds the registry layer and clsRegistry sequences of calls read from the fuzzer's bytes:
// keys, values and names of any bytes, handles real and made up, buffers of any size, and now
// and then a damaged byte in the store file. Besides crashes and sanitizer reports it checks
// that a value just written reads back the same and a key just created opens, while the file
// is undamaged.

#include "registry/ExpandEnvironmentStrings.h"
#include "registry/RegistryApi.h"
#include "registry/RegistryError.h"
#include "registry/clsRegistry.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace reg;

namespace {

std::string storePath;

// Reads the fuzzer's bytes as a stream of small numbers and strings; past the end all is 0.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool More() const { return at_ < size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint32_t Word() {
        std::uint32_t word = 0;
        for (int i = 0; i < 4; ++i) {
            word = word << 8 | Byte();
        }
        return word;
    }
    std::string Text(std::size_t longest) {
        const std::size_t length = std::min<std::size_t>(Byte() % (longest + 1), size_ - at_);
        std::string text(reinterpret_cast<const char*>(data_ + at_), length);
        at_ += length;
        return text;
    }

private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t at_ = 0;
};

// Names from a small set most of the time, so that calls meet the same keys; any bytes else.
std::string Name(Input& in) {
    static const char* const kNames[] = {
        "", "a", "A", "Game", "game\\Level", "SOFTWARE\\Classes", "x\\", "\\x", "a\\\\b"};
    const std::uint8_t pick = in.Byte();
    return pick < 200 ? kNames[pick % std::size(kNames)] : in.Text(300);
}

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "registry fuzz: %s\n", what);
        std::abort();
    }
}

struct Session {
    std::vector<HKEY> handles;
    bool damaged = false;

    HKEY AnyKey(Input& in) {
        const std::uint8_t pick = in.Byte();
        if (pick < 64 && !handles.empty()) {
            return handles[pick % handles.size()];
        }
        if (pick < 250) {
            return 0x80000000u + pick % 7;
        }
        return in.Word();
    }

    void Keep(HKEY handle) {
        if (handles.size() < 16) {
            handles.push_back(handle);
        } else {
            RegCloseKey(handle);
        }
    }

    void Step(Input& in) {
        const HKEY key = AnyKey(in);
        const std::string name = Name(in);
        switch (in.Byte() % 10) {
        case 0: {
            HKEY made = 0;
            DWORD disposition = 0;
            if (RegCreateKeyEx(key, name.c_str(), in.Word(), &made, &disposition) ==
                ERROR_SUCCESS) {
                HKEY again = 0;
                Check(damaged || RegOpenKeyEx(key, name.c_str(), 0, &again) == ERROR_SUCCESS,
                      "a key just created does not open");
                RegCloseKey(again);
                Keep(made);
            }
            break;
        }
        case 1: {
            HKEY opened = 0;
            if (RegOpenKeyEx(key, name.c_str(), in.Word(), &opened) == ERROR_SUCCESS) {
                Keep(opened);
            }
            break;
        }
        case 2:
            RegCloseKey(key);
            break;
        case 3: {
            const DWORD type = in.Byte() < 200 ? in.Byte() % 8 : in.Word();
            const std::string data = in.Text(600);
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
            const auto size = static_cast<DWORD>(data.size());
            if (RegSetValueEx(key, name.c_str(), type, bytes, size) == ERROR_SUCCESS && !damaged) {
                std::vector<std::uint8_t> back(size + 1);
                DWORD backType = 0;
                DWORD backSize = size + 1;
                const LSTATUS read =
                    RegQueryValueEx(key, name.c_str(), &backType, back.data(), &backSize);
                // The handle may have been opened for writing only.
                Check(read == ERROR_SUCCESS || read == ERROR_ACCESS_DENIED,
                      "a value just written does not read");
                Check(read != ERROR_SUCCESS || (backType == type && backSize == size &&
                                                std::memcmp(back.data(), bytes, size) == 0),
                      "a value reads back other than written");
            }
            break;
        }
        case 4: {
            std::vector<std::uint8_t> buffer(in.Byte());
            DWORD type = 0;
            DWORD size = static_cast<DWORD>(buffer.size());
            RegQueryValueEx(key, name.c_str(), &type, in.Byte() % 2 ? buffer.data() : nullptr,
                            &size);
            break;
        }
        case 5:
            if (in.Byte() % 2) {
                RegDeleteKey(key, name.c_str());
            } else {
                RegDeleteValue(key, name.c_str());
            }
            break;
        case 6: {
            char text[300] = {};
            std::vector<std::uint8_t> data(in.Byte());
            DWORD length = in.Byte() + 1;
            DWORD type = 0;
            DWORD size = static_cast<DWORD>(data.size());
            const DWORD index = in.Byte() % 8;
            RegEnumKey(key, index, text, length);
            RegEnumValue(key, index, text, &length, &type, data.data(), &size);
            DWORD counts[5] = {};
            RegQueryInfoKey(key, &counts[0], &counts[1], &counts[2], &counts[3], &counts[4]);
            break;
        }
        case 7: {
            const std::string source = in.Text(200);
            const DWORD needed = ExpandEnvironmentStrings(source.c_str(), nullptr, 0);
            std::vector<char> buffer(needed);
            Check(ExpandEnvironmentStrings(source.c_str(), buffer.data(), needed) == needed &&
                      std::strlen(buffer.data()) + 1 == needed,
                  "expansion does not fill what it asked for");
            break;
        }
        case 8: {
            clsRegistry registry;
            registry.ClassKey(static_cast<std::int32_t>(key));
            registry.SectionKey(name);
            registry.ValueKey(Name(in));
            registry.ValueType(in.Byte() % 9);
            const std::string text = in.Text(100);
            const Variant values[] = {Variant{},
                                      std::int16_t(in.Byte()),
                                      static_cast<std::int32_t>(in.Word()),
                                      0.5,
                                      text,
                                      ByteArray(text.begin(), text.end())};
            try {
                registry.Value(values[in.Byte() % std::size(values)]);
                registry.Value();
                std::vector<std::string> names;
                std::int32_t count = 0;
                registry.EnumerateValues(names, count);
                registry.EnumerateSections(names, count);
                registry.DeleteValue();
            } catch (const RegistryError&) {
            }
            break;
        }
        default: {
            std::fstream file(storePath, std::ios::in | std::ios::out | std::ios::binary);
            if (file) {
                file.seekp(in.Word() % 65536);
                file.put(static_cast<char>(in.Byte()));
                damaged = true;
            }
            break;
        }
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char directory[] = "/tmp/varnoth-fuzz-XXXXXX";
    if (mkdtemp(directory) == nullptr) {
        std::abort();
    }
    storePath = std::string(directory) + "/store.db";
    setenv("VARNOTH_REGISTRY", storePath.c_str(), 1);
    setenv("VARNOTH_FUZZ_NAME", "expanded", 1);
    std::atexit(
        [] { std::filesystem::remove_all(std::filesystem::path(storePath).parent_path()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::filesystem::remove(storePath);
    std::filesystem::remove(storePath + "-journal");
    Input in(data, size);
    Session session;
    for (int steps = 0; in.More() && steps < 64; ++steps) {
        session.Step(in);
    }
    for (const HKEY handle : session.handles) {
        RegCloseKey(handle);
    }
    return 0;
}
