#include "registry/clsRegistry.h"

#include "registry/ExpandEnvironmentStrings.h"
#include "registry/KeyHandle.h"
#include "registry/RegistryApi.h"
#include "registry/RegistryError.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <span>

using namespace reg;

namespace {

// Every right a key has (KEY_ALL_ACCESS without DELETE, WRITE_DAC and WRITE_OWNER): what the
// class asks for when it creates a key or changes a value.
constexpr REGSAM kFullAccess = 0x2003F;
// The language's "type mismatch", which the write reports for a ValueType it can't write.
constexpr LSTATUS kTypeMismatch = 13;
// The longest subkey name EnumerateSections takes, with room for its NUL.
constexpr DWORD kSectionNameBuffer = 255;

HKEY Root(std::int32_t classKey) {
    return static_cast<HKEY>(classKey);
}

std::string ReadString(HKEY key, const std::string& valueName, DWORD size) {
    // A string value with no bytes has no room even for its NUL; it reads as no text.
    if (size == 0) {
        return std::string();
    }
    std::vector<std::uint8_t> buffer(size);
    DWORD length = size;
    RegQueryValueEx(key, valueName.c_str(), nullptr, buffer.data(), &length);
    return std::string(buffer.begin(), buffer.end() - 1);
}

// A DWORD is kept little-end first, whatever the machine. A value of another size than 4 bytes
// reads as far as it goes, and one too long for 4 bytes is not read at all: it stays 0.
std::int32_t ReadLong(HKEY key, const std::string& valueName) {
    std::array<std::uint8_t, 4> bytes{};
    DWORD length = bytes.size();
    RegQueryValueEx(key, valueName.c_str(), nullptr, bytes.data(), &length);
    return static_cast<std::int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                     static_cast<std::uint32_t>(bytes[3]) << 24);
}

std::array<std::uint8_t, 4> LittleEndian(std::int32_t l) {
    const auto u = static_cast<std::uint32_t>(l);
    return {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
            static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
}

// A text holds a variable to expand when a percent sign has another one at least two places
// after it, with a name between them. "50%" and "100%%" are plain text.
bool NamesVariable(const std::string& s) {
    const std::size_t first = s.find('%');
    return first != std::string::npos && s.find('%', first + 2) != std::string::npos;
}

const std::int32_t* AsLong(const Variant& value, std::int32_t& widened) {
    if (const auto* integer = std::get_if<std::int16_t>(&value)) {
        widened = *integer;
        return &widened;
    }
    return std::get_if<std::int32_t>(&value);
}

} // namespace

bool clsRegistry::KeyExists() const {
    KeyHandle key;
    return RegOpenKeyEx(Root(m_hClassKey), m_sSectionKey.c_str(), KEY_QUERY_VALUE, key.Out()) ==
           ERROR_SUCCESS;
}

bool clsRegistry::CreateKey() {
    KeyHandle key;
    DWORD disposition = 0;
    if (RegCreateKeyEx(Root(m_hClassKey), m_sSectionKey.c_str(), kFullAccess, key.Out(),
                       &disposition) != ERROR_SUCCESS) {
        throw RegistryError(RegistryError::kFailed,
                            "Failed to create registry Key: '" + m_sSectionKey);
    }
    return true;
}

bool clsRegistry::DeleteKey() {
    if (RegDeleteKey(Root(m_hClassKey), m_sSectionKey.c_str()) != ERROR_SUCCESS) {
        throw RegistryError(RegistryError::kFailed, "Failed to delete registry Key: '" +
                                                        std::to_string(m_hClassKey) +
                                                        "',Section: '" + m_sSectionKey);
    }
    return true;
}

bool clsRegistry::DeleteValue() {
    KeyHandle key;
    if (RegOpenKeyEx(Root(m_hClassKey), m_sSectionKey.c_str(), kFullAccess, key.Out()) !=
        ERROR_SUCCESS) {
        throw RegistryError(RegistryError::kFailed,
                            "Failed to open key '" + std::to_string(m_hClassKey) + "',Section: '" +
                                m_sSectionKey + "' for delete access");
    }
    if (RegDeleteValue(key.Get(), m_sValueKey.c_str()) != ERROR_SUCCESS) {
        throw RegistryError(RegistryError::kFailed,
                            "Failed to delete registry Key: '" + std::to_string(m_hClassKey) +
                                "',Section: '" + m_sSectionKey + "',Key: '" + m_sValueKey);
    }
    return true;
}

Variant clsRegistry::Value() {
    KeyHandle key;
    // A key that can't be opened leaves the handle 0, and the query below fails on it.
    RegOpenKeyEx(Root(m_hClassKey), m_sSectionKey.c_str(), KEY_QUERY_VALUE, key.Out());
    DWORD type = REG_NONE;
    DWORD size = 0;
    const LSTATUS status = RegQueryValueEx(key.Get(), m_sValueKey.c_str(), &type, nullptr, &size);
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) {
        return m_vDefault;
    }
    m_eValueType = static_cast<std::int32_t>(type);
    switch (type) {
    case REG_SZ:
    case REG_MULTI_SZ:
        return ReadString(key.Get(), m_sValueKey, size);
    case REG_EXPAND_SZ:
        return ExpandEnvStr(ReadString(key.Get(), m_sValueKey, size));
    case REG_DWORD:
        return ReadLong(key.Get(), m_sValueKey);
    case REG_DWORD_BIG_ENDIAN:
        return SwapEndian(ReadLong(key.Get(), m_sValueKey));
    default: {
        ByteArray bytes(std::size_t{size} + 1);
        DWORD length = size;
        RegQueryValueEx(key.Get(), m_sValueKey.c_str(), nullptr, bytes.data(), &length);
        return bytes;
    }
    }
}

void clsRegistry::Value(const Variant& vValue) {
    KeyHandle key;
    DWORD disposition = 0;
    if (RegCreateKeyEx(Root(m_hClassKey), m_sSectionKey.c_str(), kFullAccess, key.Out(),
                       &disposition) != ERROR_SUCCESS) {
        throw RegistryError(RegistryError::kFailed, SetValueFailure(vValue));
    }
    LSTATUS result = ERROR_SUCCESS;
    switch (m_eValueType) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
        const std::string s = VariantToString(vValue);
        const std::span text(reinterpret_cast<const std::uint8_t*>(s.c_str()), s.size() + 1);
        result =
            RegSetValueEx(key.Get(), m_sValueKey.c_str(), NamesVariable(s) ? REG_EXPAND_SZ : REG_SZ,
                          text.data(), static_cast<DWORD>(text.size()));
        break;
    }
    case REG_BINARY: {
        const auto* bytes = std::get_if<ByteArray>(&vValue);
        if (bytes == nullptr) {
            throw RegistryError(RegistryError::kFailed, "");
        }
        const auto count = static_cast<DWORD>(bytes->empty() ? 0 : bytes->size() - 1);
        result = RegSetValueEx(key.Get(), m_sValueKey.c_str(), REG_BINARY, bytes->data(), count);
        break;
    }
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN: {
        // Only whole numbers are written, and a big-endian one goes in as it is: the class
        // swaps on reading only. Any other value is passed over without a word.
        std::int32_t widened = 0;
        if (const std::int32_t* l = AsLong(vValue, widened)) {
            const std::array<std::uint8_t, 4> bytes = LittleEndian(*l);
            result = RegSetValueEx(key.Get(), m_sValueKey.c_str(), REG_DWORD, bytes.data(),
                                   bytes.size());
        }
        break;
    }
    default:
        result = kTypeMismatch;
        break;
    }
    if (result != ERROR_SUCCESS) {
        throw RegistryError(RegistryError::kWriteFailed, SetValueFailure(m_vValue));
    }
    m_vValue = vValue;
}

bool clsRegistry::EnumerateValues(std::vector<std::string>& sKeyNames, std::int32_t& iKeyCount) {
    iKeyCount = 0;
    sKeyNames.clear();
    KeyHandle key;
    if (RegOpenKeyEx(Root(m_hClassKey), m_sSectionKey.c_str(), KEY_QUERY_VALUE, key.Out()) !=
        ERROR_SUCCESS) {
        return true;
    }
    DWORD longest = 0;
    if (RegQueryInfoKey(key.Get(), nullptr, nullptr, nullptr, &longest, nullptr) != ERROR_SUCCESS) {
        return true;
    }
    longest = std::max<DWORD>(longest, 1);
    LSTATUS status = ERROR_SUCCESS;
    for (DWORD index = 0; status == ERROR_SUCCESS; ++index) {
        std::vector<char> buffer(std::size_t{longest} + 1);
        DWORD length = longest + 1;
        status = RegEnumValue(key.Get(), index, buffer.data(), &length, nullptr, nullptr, nullptr);
        if (status == ERROR_SUCCESS) {
            ++iKeyCount;
            sKeyNames.emplace_back(buffer.data(), length);
        }
    }
    return true;
}

bool clsRegistry::EnumerateSections(std::vector<std::string>& sSect, std::int32_t& iSectCount) {
    iSectCount = 0;
    sSect.clear();
    try {
        KeyHandle key;
        if (RegOpenKeyEx(Root(m_hClassKey), m_sSectionKey.c_str(), KEY_ENUMERATE_SUB_KEYS,
                         key.Out()) != ERROR_SUCCESS) {
            return true;
        }
        LSTATUS status = ERROR_SUCCESS;
        for (DWORD index = 0; status == ERROR_SUCCESS; ++index) {
            std::array<char, kSectionNameBuffer> buffer{};
            status = RegEnumKey(key.Get(), index, buffer.data(), kSectionNameBuffer);
            if (status == ERROR_SUCCESS) {
                ++iSectCount;
                sSect.emplace_back(buffer.data(), strnlen(buffer.data(), buffer.size()));
            }
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
    if (!sExePath.starts_with('"')) {
        sExePath = '"' + sExePath;
    }
    if (!sExePath.ends_with('"')) {
        sExePath.push_back('"');
    }
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
    if (lDefaultIcon > -1) {
        write(sClassName + "\\DefaultIcon", sExePath + "," + std::to_string(lDefaultIcon));
    }
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
        const std::string verb = sClassName + "\\shell\\" + VariantToString(vItems[item]);
        SectionKey(verb);
        ValueKey("");
        tryWrite(VariantToString(vItems[item + 1]));
        SectionKey(verb + "\\command");
        ValueKey("");
        tryWrite(VariantToString(vItems[item + 2]));
    }
}

std::int32_t clsRegistry::SwapEndian(std::int32_t l) {
    const auto u = static_cast<std::uint32_t>(l);
    return static_cast<std::int32_t>((u >> 24) | ((u >> 8) & 0xFF00) | ((u << 8) & 0xFF0000) |
                                     (u << 24));
}

std::string clsRegistry::ExpandEnvStr(const std::string& s) {
    const DWORD needed = ExpandEnvironmentStrings(s.c_str(), nullptr, 0);
    std::vector<char> buffer(needed);
    ExpandEnvironmentStrings(s.c_str(), buffer.data(), needed);
    return std::string(buffer.data(), needed - 1);
}

std::string clsRegistry::SetValueFailure(const Variant& vValue) const {
    return "Failed to set registry value Key: '" + std::to_string(m_hClassKey) + "',Section: '" +
           m_sSectionKey + "',Key: '" + m_sValueKey + "' to value: '" + VariantToString(vValue) +
           "'";
}
