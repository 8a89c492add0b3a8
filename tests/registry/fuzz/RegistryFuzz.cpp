// Feeds clsRegistry and the store under it sequences of calls read from the fuzzer's bytes:
// roots real and made up, paths and names of any bytes, values of every type and kind, calls
// joined into one transaction, a damaged byte in the file.

#include "registry/RegistryError.h"
#include "registry/RegistryStore.h"
#include "registry/SqliteError.h"
#include "registry/clsRegistry.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

// In memory: every write syncs the file to the disk.
std::string storePath = "/dev/shm/varnoth-fuzz-XXXXXX";

// Names from a small set half of the time, so that calls meet the same keys; any bytes else.
std::string Name(FuzzedDataProvider& in) {
    static const char* const kNames[] = {"",    "A",     "game\\Level", "SOFTWARE\\Classes",
                                         "x\\", "%PATH%"};
    return in.ConsumeBool() ? in.PickValueInArray(kNames) : in.ConsumeRandomLengthString(300);
}

void Step(FuzzedDataProvider& in) {
    const auto root = in.ConsumeIntegralInRange(0x7FFFFFFFu, 0x80000006u);
    const std::string text = in.ConsumeRandomLengthString(100);
    clsRegistry registry;
    registry.ClassKey(static_cast<std::int32_t>(root));
    registry.SectionKey(Name(in));
    registry.ValueKey(Name(in));
    registry.ValueType(in.ConsumeIntegralInRange(0, 8));
    const Variant values[] = {
        Variant{}, in.ConsumeIntegral<std::int16_t>(), in.ConsumeIntegral<std::int32_t>(), 0.5,
        text,      ByteArray(text.begin(), text.end())};
    std::vector<std::string> names;
    std::int32_t count = 0;
    const std::function<void()> calls[] = {
        [&] { registry.Value(in.PickValueInArray(values)); },
        [&] { registry.Value(); },
        [&] { registry.EnumerateValues(names, count); },
        [&] { registry.EnumerateSections(names, count); },
        [&] { registry.CreateKey(); },
        [&] { registry.DeleteValue(); },
        [&] { registry.DeleteKey(); },
        [&] { // a value of any type, as only another program could write it
            RegistryStore store(RegistryStore::Kind::Write);
            store.SetValue(store.CreateKey(root, registry.SectionKey()), registry.ValueKey(),
                           in.ConsumeIntegral<std::uint32_t>(),
                           ByteArray(text.begin(), text.end()));
            store.Commit();
        },
        [&] { // several calls as one transaction, as the high-score record is written
            RegistryStore whole(in.ConsumeBool() ? RegistryStore::Kind::Write
                                                 : RegistryStore::Kind::Read);
            for (int part = in.ConsumeIntegralInRange(0, 3); part > 0; --part) {
                Step(in);
            }
            if (in.ConsumeBool()) {
                whole.Commit();
            }
        },
        [&] {
            std::fstream file(storePath, std::ios::in | std::ios::out | std::ios::binary);
            file.seekp(in.ConsumeIntegralInRange(0, 65535)).put(in.ConsumeIntegral<char>());
        },
    };
    try {
        in.PickValueInArray(calls)();
    } catch (const RegistryError&) {
    } catch (const SqliteError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (mkdtemp(storePath.data()) == nullptr) {
        std::abort();
    }
    storePath += "/store.db";
    setenv("VARNOTH_REGISTRY", storePath.c_str(), 1);
    std::atexit(
        [] { std::filesystem::remove_all(std::filesystem::path(storePath).parent_path()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::filesystem::remove(storePath);
    std::filesystem::remove(storePath + "-journal");
    FuzzedDataProvider in(data, size);
    for (int steps = 0; in.remaining_bytes() > 0 && steps < 64; ++steps) {
        Step(in);
    }
    return 0;
}
