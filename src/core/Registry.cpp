#include "core/Registry.h"

#include <cerrno>
#include <cstring>

const char* const kSettingsKey = "Software\\Brisket\\Trackloom";
const char* const kWindowPosKey = "Software\\Brisket\\Trackloom\\WindowPos";
const char* const kCsvSettingsKey = "Software\\Brisket\\Trackloom\\CSV";
const char* const kCcfToolsKey = "Software\\CCF Tools";

namespace {

SettingsScope ScopeOf(RegistryRoot root)
{
    return root == HKEY_LOCAL_MACHINE ? SettingsScope::Machine : SettingsScope::User;
}

std::string Text(const char* s)
{
    return s ? std::string(s) : std::string();
}

} // namespace

bool ReadRegistryValue(RegistryRoot root, const char* subkey, const char* name, std::uint32_t* type,
                       std::vector<unsigned char>* data, std::uint32_t* size)
{
    std::uint32_t t = REG_NONE;
    std::vector<unsigned char> bytes;
    if (!CSettingsStore::ReadValue(ScopeOf(root), Text(subkey), Text(name), &t, &bytes))
        return false;
    if (type)
        *type = t;
    if (size)
        *size = static_cast<std::uint32_t>(bytes.size());
    if (data)
        *data = std::move(bytes);
    return true;
}

bool ReadRegistryDword(RegistryRoot root, const char* subkey, const char* name, std::uint32_t* value)
{
    if (value)
        *value = 0;
    std::uint32_t type = REG_NONE;
    std::vector<unsigned char> bytes;
    if (!ReadRegistryValue(root, subkey, name, &type, &bytes, nullptr))
        return false;
    if (type != REG_DWORD || bytes.size() != 4) {
        errno = EINVAL;
        return false;
    }
    if (value)
        *value = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
    return true;
}

bool ReadRegistryString(RegistryRoot root, const char* subkey, const char* name, std::string* value)
{
    if (value)
        value->clear();
    std::uint32_t type = REG_NONE;
    std::vector<unsigned char> bytes;
    if (!ReadRegistryValue(root, subkey, name, &type, &bytes, nullptr))
        return false;
    if (type != REG_SZ) {
        errno = EINVAL;
        return false;
    }
    if (value) {
        const char* p = reinterpret_cast<const char*>(bytes.data());
        value->assign(p, strnlen(p, bytes.size()));
    }
    return true;
}

bool WriteRegistryValue(RegistryRoot root, const char* subkey, const char* name, std::uint32_t type,
                        const void* data, std::size_t size)
{
    return CSettingsStore::WriteValue(ScopeOf(root), Text(subkey), Text(name), type, data, size);
}

bool WriteRegistryDword(RegistryRoot root, const char* subkey, const char* name, std::uint32_t value)
{
    unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                              static_cast<unsigned char>(value >> 16),
                              static_cast<unsigned char>(value >> 24)};
    return WriteRegistryValue(root, subkey, name, REG_DWORD, bytes, sizeof bytes);
}

bool WriteRegistryString(RegistryRoot root, const char* subkey, const char* name, const char* value)
{
    const char* text = value ? value : "";
    return WriteRegistryValue(root, subkey, name, REG_SZ, text, std::strlen(text) + 1);
}

bool DeleteRegistryValue(RegistryRoot root, const char* subkey, const char* name)
{
    return CSettingsStore::DeleteValue(ScopeOf(root), Text(subkey), Text(name));
}
