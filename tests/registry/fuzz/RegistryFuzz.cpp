// Feeds clsRegistry and the store under it sequences of calls read from the fuzzer's bytes:
// roots real and made up, paths and names of any bytes, values of every type and kind, and
// calls joined into one transaction.

#include "registry/RegistryError.h"
#include "registry/RegistryStore.h"
#include "registry/SqliteError.h"
#include "registry/clsRegistry.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

// One call of the class, as a part of transaction when there is one.
void step(FuzzedDataProvider& in, RegistryStore* transaction = nullptr) {
    clsRegistry registry = transaction ? clsRegistry(*transaction) : clsRegistry();
    registry.ClassKey(in.ConsumeIntegralInRange<std::uint32_t>(0x7FFFFFFF, 0x80000006));
    registry.SectionKey(in.ConsumeRandomLengthString(40));
    registry.ValueKey(in.ConsumeRandomLengthString(20));
    registry.ValueType(in.ConsumeIntegralInRange(0, 8));
    const std::string text = in.ConsumeRandomLengthString(100);
    const ByteArray bytes(text.begin(), text.end());
    const Variant values[] = {Variant{},
                              in.ConsumeIntegral<std::int16_t>(),
                              in.ConsumeIntegral<std::int32_t>(),
                              0.5,
                              text,
                              bytes};
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
            const auto key = store.createKey(registry.ClassKey(), registry.SectionKey());
            store.setValue(key, registry.ValueKey(), in.ConsumeIntegral<std::uint32_t>(), bytes);
            store.commit();
        },
        [&] { // several calls as one transaction, as the high-score record is written
            RegistryStore whole(in.ConsumeBool() ? RegistryStore::Kind::Write
                                                 : RegistryStore::Kind::Read);
            for (int part = in.ConsumeIntegralInRange(0, 3); part > 0; --part)
                step(in, &whole);
            if (in.ConsumeBool())
                whole.commit();
        },
    };
    try {
        in.PickValueInArray(calls)();
    } catch (const RegistryError&) {
    } catch (const SqliteError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // In memory, as every write syncs the file to the disk. A plain array, so that it is still
    // there when the clean-up at exit runs.
    static char directory[] = "/dev/shm/varnoth-fuzz-XXXXXX";
    static const bool made =
        mkdtemp(directory) && !std::atexit([] { std::filesystem::remove_all(directory); });
    const std::string store = directory + std::string("/store.db");
    if (!made || setenv("VARNOTH_REGISTRY", store.c_str(), 1) != 0)
        std::abort();
    std::filesystem::remove(store);
    FuzzedDataProvider in(data, size);
    for (int steps = 0; in.remaining_bytes() > 0 && steps < 64; ++steps)
        step(in);
    return 0;
}
