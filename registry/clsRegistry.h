#pragma once

#include "registry/Variant.h"

#include <cstdint>
#include <string>
#include <vector>

class RegistryStore;

// The game's registry class. Set ClassKey (a root handle such as HKEY_LOCAL_MACHINE, as a
// Long), SectionKey (the key path below it) and ValueKey (the value name; "" is the key's
// default value), and ValueType before a write; then read or write Value, test, create or
// delete the key, list its values or subkeys, or register a file type. Every member is one
// transaction on the store, so an instance holds nothing open between calls; an instance
// made with a transaction makes each member a part of that one instead. Failures raise
// RegistryError.
//
// Properties are pairs of overloads: ValueType() reads, ValueType(x) sets.
class clsRegistry {
public:
    clsRegistry() = default;
    // Every member works inside transaction, which must outlive the instance.
    explicit clsRegistry(RegistryStore& transaction) : m_transaction(&transaction) {}

    bool KeyExists() const;
    bool CreateKey();
    bool DeleteKey();
    bool DeleteValue();

    // A value that can't be read gives Default and leaves ValueType as it was. A string
    // value stored with no bytes at all, not even its NUL, reads as "".
    Variant Value();
    // A byte array written as REG_BINARY stores all its elements but the last: a read gives
    // the value's bytes plus one extra element, so writing back what was read stores the same
    // bytes again.
    void Value(const Variant& vValue);

    // The lists are filled from index 0; the count equals their size.
    bool EnumerateValues(std::vector<std::string>& sKeyNames, std::int32_t& iKeyCount);
    bool EnumerateSections(std::vector<std::string>& sSect, std::int32_t& iSectCount);

private:
    void SetClassesValue(const std::string& sValue);

public:
    void CreateEXEAssociation(std::string sExePath, const std::string& sClassName,
                              const std::string& sClassDescription, const std::string& sAssociation,
                              const std::string& sOpenMenuText, bool bSupportPrint,
                              const std::string& sPrintMenuText, bool bSupportNew,
                              const std::string& sNewMenuText, bool bSupportInstall,
                              const std::string& sInstallMenuText, std::int32_t lDefaultIcon);
    // vItems is a flat list of (verb name, menu text, command line) triples.
    void CreateAdditionalEXEAssociations(const std::string& sClassName,
                                         const std::vector<Variant>& vItems);

    std::int32_t ValueType() const { return m_eValueType; }
    void ValueType(std::int32_t eValueType) { m_eValueType = eValueType; }
    std::int32_t ClassKey() const { return m_hClassKey; }
    void ClassKey(std::int32_t eKey) { m_hClassKey = eKey; }
    const std::string& SectionKey() const { return m_sSectionKey; }
    void SectionKey(const std::string& sSectionKey) { m_sSectionKey = sSectionKey; }
    const std::string& ValueKey() const { return m_sValueKey; }
    void ValueKey(const std::string& sValueKey) { m_sValueKey = sValueKey; }
    const Variant& Default() const { return m_vDefault; }
    void Default(const Variant& vDefault) { m_vDefault = vDefault; }

private:
    static std::int32_t SwapEndian(std::int32_t l);
    static std::string ExpandEnvStr(const std::string& s);

    std::uint32_t root() const { return static_cast<std::uint32_t>(m_hClassKey); }
    // Names cross into the store as the 8-bit C strings the class always passed: up to a NUL.
    std::string section() const { return m_sSectionKey.c_str(); }
    std::string name() const { return m_sValueKey.c_str(); }
    std::string setValueFailure(const Variant& vValue) const;

    std::int32_t m_hClassKey = 0;
    std::string m_sSectionKey;
    std::string m_sValueKey;
    std::int32_t m_eValueType = 0;
    Variant m_vDefault;
    // The last value written successfully; only the write-failure message shows it.
    Variant m_vValue;
    RegistryStore* m_transaction = nullptr;
};
