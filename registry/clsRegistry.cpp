#include "registry/clsRegistry.h"

#include "registry/RegistryError.h"
#include "registry/RegistryStore.h"
#include "registry/RegistryTypes.h"
#include "registry/SqliteError.h"

#include <cstdlib>
#include <exception>
#include <optional>
#include <utility>

using namespace reg;

namespace {

// The longest subkey name EnumerateSections takes, with room for its NUL.
constexpr std::size_t kSectionNameBuffer = 255;

// A string value with no bytes has no room even for its NUL; it reads as no text. Otherwise its
// last byte is taken for the NUL, whatever it is.
std::string text(const ByteArray& data) {
    return data.empty() ? std::string() : std::string(data.begin(), data.end() - 1);
}

// A DWORD is kept little-end first, whatever the machine. A value shorter than 4 bytes reads
// as far as it goes, and one too long for 4 bytes is not read at all: it stays 0.
std::int32_t toLong(const ByteArray& data) {
    std::uint32_t u = 0;
    for (std::size_t i = 0; data.size() <= 4 && i < data.size(); ++i)
        u |= std::uint32_t{data[i]} << (8 * i);
    return static_cast<std::int32_t>(u);
}

// A text holds a variable to expand when a percent sign has another one at least two places
// after it, with a name between them. "50%" and "100%%" are plain text.
bool namesVariable(const std::string& s) {
    const std::size_t first = s.find('%');
    return first != std::string::npos && s.find('%', first + 2) != std::string::npos;
}

} // namespace

bool clsRegistry::KeyExists() const {
    try {
        RegistryStore store(RegistryStore::Kind::Read, m_transaction);
        return store.findKey(root(), section()).has_value();
    } catch (const std::exception&) {
        return false;
    }
}

bool clsRegistry::CreateKey() {
    try {
        RegistryStore store(RegistryStore::Kind::Write, m_transaction);
        store.createKey(root(), section());
        store.commit();
        return true;
    } catch (const std::exception&) {
        throw RegistryError(RegistryError::kFailed,
                            "Failed to create registry Key: '" + m_sSectionKey);
    }
}

bool clsRegistry::DeleteKey() {
    try {
        RegistryStore store(RegistryStore::Kind::Write, m_transaction);
        store.deleteKey(root(), section());
        store.commit();
        return true;
    } catch (const std::exception&) {
        throw RegistryError(RegistryError::kFailed, "Failed to delete registry Key: '" +
                                                        std::to_string(m_hClassKey) +
                                                        "',Section: '" + m_sSectionKey);
    }
}

bool clsRegistry::DeleteValue() {
    std::optional<RegistryStore> store;
    std::optional<RegistryStore::KeyId> key;
    try {
        store.emplace(RegistryStore::Kind::Write, m_transaction);
        key = store->findKey(root(), section());
        if (key && store->deleteValue(*key, name())) {
            store->commit();
            return true;
        }
    } catch (const std::exception&) {
    }
    // A key that could not be found fails otherwise than a value that could not be deleted.
    if (!key) {
        throw RegistryError(RegistryError::kFailed,
                            "Failed to open key '" + std::to_string(m_hClassKey) + "',Section: '" +
                                m_sSectionKey + "' for delete access");
    }
    throw RegistryError(RegistryError::kFailed, "Failed to delete registry Key: '" +
                                                    std::to_string(m_hClassKey) + "',Section: '" +
                                                    m_sSectionKey + "',Key: '" + m_sValueKey);
}

Variant clsRegistry::Value() {
    std::optional<RegistryStore::Value> value;
    try {
        RegistryStore store(RegistryStore::Kind::Read, m_transaction);
        if (const auto key = store.findKey(root(), section()))
            value = store.getValue(*key, name());
    } catch (const std::exception&) {
    }
    if (!value)
        return m_vDefault;
    m_eValueType = static_cast<std::int32_t>(value->type);
    switch (value->type) {
    case REG_SZ:
    case REG_MULTI_SZ:
        return text(value->data);
    case REG_EXPAND_SZ:
        return ExpandEnvStr(text(value->data));
    case REG_DWORD:
        return toLong(value->data);
    case REG_DWORD_BIG_ENDIAN:
        return SwapEndian(toLong(value->data));
    default:
        value->data.push_back(0);
        return std::move(value->data);
    }
}

void clsRegistry::Value(const Variant& vValue) {
    // What goes into the store by ValueType. Whole numbers only for a DWORD, and a big-endian one
    // goes in as it is, as the class swaps on reading only; any other value is passed over
    // without a word. The key is made all the same, even when the value then can't be written.
    std::optional<std::pair<std::uint32_t, ByteArray>> stored;
    const auto* bytes = std::get_if<ByteArray>(&vValue);
    const auto* integer = std::get_if<std::int16_t>(&vValue);
    const auto* longInteger = std::get_if<std::int32_t>(&vValue);
    if (m_eValueType == REG_SZ || m_eValueType == REG_EXPAND_SZ) {
        const std::string s = variantToString(vValue);
        stored.emplace(namesVariable(s) ? REG_EXPAND_SZ : REG_SZ,
                       ByteArray(s.c_str(), s.c_str() + s.size() + 1));
    } else if (m_eValueType == REG_BINARY && bytes != nullptr) {
        stored.emplace(REG_BINARY, ByteArray(bytes->begin(), bytes->end() - !bytes->empty()));
    } else if ((m_eValueType == REG_DWORD || m_eValueType == REG_DWORD_BIG_ENDIAN) &&
               (integer != nullptr || longInteger != nullptr)) {
        const auto u = static_cast<std::uint32_t>(integer ? *integer : *longInteger);
        stored.emplace(REG_DWORD,
                       ByteArray{static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
                                 static_cast<std::uint8_t>(u >> 16),
                                 static_cast<std::uint8_t>(u >> 24)});
    }
    std::optional<RegistryStore> store;
    RegistryStore::KeyId key = 0;
    try {
        store.emplace(RegistryStore::Kind::Write, m_transaction);
        key = store->createKey(root(), section());
        if (!stored)
            store->commit();
    } catch (const std::exception&) {
        throw RegistryError(RegistryError::kFailed, setValueFailure(vValue));
    }
    if (m_eValueType == REG_BINARY && bytes == nullptr)
        throw RegistryError(RegistryError::kFailed, "");
    if (m_eValueType < static_cast<std::int32_t>(REG_SZ) ||
        m_eValueType > static_cast<std::int32_t>(REG_DWORD_BIG_ENDIAN)) {
        throw RegistryError(RegistryError::kWriteFailed, setValueFailure(m_vValue));
    }
    if (stored) {
        try {
            store->setValue(key, name(), stored->first, stored->second);
            store->commit();
        } catch (const std::exception&) {
            throw RegistryError(RegistryError::kWriteFailed, setValueFailure(m_vValue));
        }
    }
    m_vValue = vValue;
}

bool clsRegistry::EnumerateValues(std::vector<std::string>& sKeyNames, std::int32_t& iKeyCount) {
    sKeyNames.clear();
    try {
        RegistryStore store(RegistryStore::Kind::Read, m_transaction);
        if (const auto key = store.findKey(root(), section()))
            sKeyNames = store.valueNames(*key);
    } catch (const std::exception&) {
    }
    iKeyCount = static_cast<std::int32_t>(sKeyNames.size());
    return true;
}

bool clsRegistry::EnumerateSections(std::vector<std::string>& sSect, std::int32_t& iSectCount) {
    iSectCount = 0;
    sSect.clear();
    try {
        std::vector<std::string> names;
        try {
            RegistryStore store(RegistryStore::Kind::Read, m_transaction);
            if (const auto key = store.findKey(root(), section()))
                names = store.subkeyNames(*key);
        } catch (const SqliteError&) {
        }
        // Each name is read into a buffer of fixed size; the listing ends at one that won't fit.
        for (const std::string& name : names) {
            if (name.size() >= kSectionNameBuffer)
                break;
            sSect.push_back(name);
            ++iSectCount;
        }
        return true;
    } catch (const std::exception& error) {
        throw RegistryError(RegistryError::kEnumerateSectionsFailed, error.what());
    }
}

void clsRegistry::SetClassesValue(const std::string& sValue) {
    ClassKey(static_cast<std::int32_t>(HKEY_CLASSES_ROOT));
    Value(sValue);
    const std::string section = m_sSectionKey;
    ClassKey(static_cast<std::int32_t>(HKEY_LOCAL_MACHINE));
    SectionKey("SOFTWARE\\Classes\\" + section);
    Value(sValue);
    SectionKey(section);
}
void clsRegistry::CreateEXEAssociation(
    std::string sExePath, const std::string& sClassName, const std::string& sClassDescription,
    const std::string& sAssociation, const std::string& sOpenMenuText, bool bSupportPrint,
    const std::string& sPrintMenuText, bool bSupportNew, const std::string& sNewMenuText,
    bool bSupportInstall, const std::string& sInstallMenuText, std::int32_t lDefaultIcon) {
    const std::size_t first = sExePath.find_first_not_of(' ');
    sExePath = first == std::string::npos
                   ? std::string()
                   : sExePath.substr(first, sExePath.find_last_not_of(' ') - first + 1);
    // Built anew rather than inserted into: GCC 12 at -O3 warns falsely on the insert.
    if (!sExePath.starts_with('"'))
        sExePath = '"' + sExePath;
    if (!sExePath.ends_with('"'))
        sExePath.push_back('"');
    ValueType(REG_SZ);
    ValueKey("");
    const auto write = [this](const std::string& section, const std::string& value) {
        SectionKey(section);
        SetClassesValue(value);
    };
    const auto textOr = [](const std::string& text, const std::string& fallback) {
        return text.empty() ? fallback : text;
    };
    write("." + sAssociation, sClassName);
    write(sClassName, sClassDescription);
    write(sClassName + "\\shell\\open", textOr(sOpenMenuText, "&Open"));
    write(sClassName + "\\shell\\open\\command", sExePath + " \"%1\"");
    if (bSupportPrint) {
        write(sClassName + "\\shell\\print", textOr(sPrintMenuText, "&Print"));
        write(sClassName + "\\shell\\print\\command", sExePath + " /p \"%1\"");
    }
    if (bSupportInstall) {
        write(sClassName + "\\shell\\add", textOr(sInstallMenuText, "&Install " + sAssociation));
        write(sClassName + "\\shell\\add\\command", sExePath + " /a \"%1\"");
    }
    if (bSupportNew) {
        write(sClassName + "\\shell\\new", textOr(sNewMenuText, "&New"));
        write(sClassName + "\\shell\\new\\command", sExePath + " /n \"%1\"");
    }
    if (lDefaultIcon > -1)
        write(sClassName + "\\DefaultIcon", sExePath + "," + std::to_string(lDefaultIcon));
}

void clsRegistry::CreateAdditionalEXEAssociations(const std::string& sClassName,
                                                  const std::vector<Variant>& vItems) {
    // A vector always has bounds, so the list can only be wrong by its length.
    if (vItems.size() % 3 != 0) {
        throw RegistryError(RegistryError::kBadAssociationList,
                            "Invalid parameter list passed to CreateAdditionalEXEAssociations - "
                            "expected Name/Text/Command");
    }
    SectionKey(sClassName);
    if (!KeyExists()) {
        throw RegistryError(
            RegistryError::kClassNotDefined,
            "Error - attempt to create additional associations before class defined.");
    }
    // A write that fails is passed over and the next one tried, as the class always did; the
    // settings stay where the failed write left them.
    const auto tryWrite = [this](const std::string& value) {
        try {
            SetClassesValue(value);
        } catch (const std::exception&) {
        }
    };
    for (std::size_t item = 0; item < vItems.size(); item += 3) {
        ValueType(REG_SZ);
        const std::string verb = sClassName + "\\shell\\" + variantToString(vItems[item]);
        SectionKey(verb);
        ValueKey("");
        tryWrite(variantToString(vItems[item + 1]));
        SectionKey(verb + "\\command");
        tryWrite(variantToString(vItems[item + 2]));
    }
}

std::int32_t clsRegistry::SwapEndian(std::int32_t l) {
    return static_cast<std::int32_t>(__builtin_bswap32(static_cast<std::uint32_t>(l)));
}

// Every %NAME% whose NAME is set in the environment becomes its value. An unknown name is
// copied with both of its percent signs and the search goes on after them, so "%NOT_SET%" and
// "100%%" come back exactly as written; a lone percent sign stays as it is. The text passes
// through as a C string, so it ends at a NUL.
std::string clsRegistry::ExpandEnvStr(const std::string& s) {
    const std::string source = s.c_str();
    std::string result;
    std::size_t at = 0;
    for (std::size_t open = source.find('%'); open != std::string::npos;
         open = source.find('%', at)) {
        const std::size_t close = source.find('%', open + 1);
        if (close == std::string::npos)
            break;
        const std::string name = source.substr(open + 1, close - open - 1);
        const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
        result += source.substr(at, open - at);
        result += value != nullptr ? value : source.substr(open, close - open + 1);
        at = close + 1;
    }
    return result + source.substr(at);
}

std::string clsRegistry::setValueFailure(const Variant& vValue) const {
    return "Failed to set registry value Key: '" + std::to_string(m_hClassKey) + "',Section: '" +
           m_sSectionKey + "',Key: '" + m_sValueKey + "' to value: '" + variantToString(vValue) +
           "'";
}
