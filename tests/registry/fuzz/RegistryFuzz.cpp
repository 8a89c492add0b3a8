// Feeds clsRegistry and the store under it sequences of calls read from the fuzzer's bytes:
// roots real and made up, paths and names of any bytes, values of every type and kind, calls
// joined into one transaction, a damaged byte in the file. Besides crashes and sanitizer reports
// it checks that a value just stored reads back and a key just created is found.

#include "registry/RegistryError.h"
#include "registry/RegistryStore.h"
#include "registry/SqliteError.h"
#include "registry/clsRegistry.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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
        "", "a", "A", "Game", "game\\Level", "SOFTWARE\\Classes", "x\\", "\\x", "a\\\\b", "%PATH%"};
    const std::uint8_t pick = in.Byte();
    return pick < 200 ? kNames[pick % std::size(kNames)] : in.Text(300);
}

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "registry fuzz: %s\n", what);
        std::abort();
    }
}

void Step(Input& in, bool& damaged) {
    const std::uint32_t root = in.Byte() < 250 ? 0x80000000u + in.Byte() % 7 : in.Word();
    const std::string path = Name(in);
    const std::string name = Name(in);
    const std::string text = in.Text(100);
    clsRegistry registry;
    registry.ClassKey(static_cast<std::int32_t>(root));
    registry.SectionKey(path);
    registry.ValueKey(name);
    registry.ValueType(in.Byte() % 9);
    const Variant values[] = {Variant{},
                              std::int16_t(in.Byte()),
                              static_cast<std::int32_t>(in.Word()),
                              0.5,
                              text,
                              ByteArray(text.begin(), text.end())};
    std::vector<std::string> names;
    std::int32_t count = 0;
    try {
        switch (in.Byte() % 10) {
        case 0:
            registry.Value(values[in.Byte() % std::size(values)]);
            break;
        case 1:
            registry.Value();
            break;
        case 2:
            Check(!registry.CreateKey() || damaged || registry.KeyExists(),
                  "a key just created is not found");
            break;
        case 3:
            registry.EnumerateValues(names, count);
            registry.EnumerateSections(names, count);
            break;
        case 4:
            registry.DeleteValue();
            break;
        case 5:
            registry.DeleteKey();
            break;
        case 6: {
            RegistryStore store(RegistryStore::Kind::Write);
            const RegistryStore::Value value{in.Word(), ByteArray(text.begin(), text.end())};
            store.SetValue(store.CreateKey(root, path), name, value.type, value.data);
            Check(damaged || store.GetValue(*store.FindKey(root, path), name) == value,
                  "a value reads back other than stored");
            store.Commit();
            break;
        }
        case 7: {
            // Several calls as one transaction, as the high-score record is written.
            RegistryStore whole(in.Byte() % 2 ? RegistryStore::Kind::Write
                                              : RegistryStore::Kind::Read);
            for (int part = in.Byte() % 4; part > 0; --part) {
                Step(in, damaged);
            }
            if (in.Byte() % 2) {
                whole.Commit();
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
        }
        }
    } catch (const RegistryError&) {
    } catch (const SqliteError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // In memory where there is such a file system: every write syncs the file to the disk.
    std::string directory = std::filesystem::is_directory("/dev/shm")
                                ? "/dev/shm/varnoth-fuzz-XXXXXX"
                                : "/tmp/varnoth-fuzz-XXXXXX";
    if (mkdtemp(directory.data()) == nullptr) {
        std::abort();
    }
    storePath = directory + "/store.db";
    setenv("VARNOTH_REGISTRY", storePath.c_str(), 1);
    std::atexit(
        [] { std::filesystem::remove_all(std::filesystem::path(storePath).parent_path()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::filesystem::remove(storePath);
    std::filesystem::remove(storePath + "-journal");
    Input in(data, size);
    bool damaged = false;
    for (int steps = 0; in.More() && steps < 64; ++steps) {
        Step(in, damaged);
    }
    return 0;
}
