#pragma once

// The registry calls the rest of the program makes, on top of the settings store
// (core/SettingsStore.h). Roots, value types and key paths keep their registry names so
// that callers read as they always have; none of this touches Windows.
//
// All functions return true on success and leave errno set on failure: ENOENT for a
// missing value, EINVAL ("invalid data") for a value of the wrong type, EACCES for a
// write to the machine-wide store. A value of another type than the caller asks for
// counts as absent.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/SettingsStore.h"

// The two stores: the user's settings, and the read-only machine-wide settings.
enum RegistryRoot { HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE };

constexpr std::uint32_t REG_NONE = kSettingNone;
constexpr std::uint32_t REG_SZ = kSettingText;
constexpr std::uint32_t REG_EXPAND_SZ = kSettingExpandText;
constexpr std::uint32_t REG_BINARY = kSettingBinary;
constexpr std::uint32_t REG_DWORD = kSettingDword;

// Key paths of the program.
extern const char* const kSettingsKey;    // "Software\\Brisket\\Trackloom"
extern const char* const kWindowPosKey;   // "Software\\Brisket\\Trackloom\\WindowPos"
extern const char* const kCsvSettingsKey; // "Software\\Brisket\\Trackloom\\CSV"
extern const char* const kCcfToolsKey;    // "Software\\CCF Tools" (machine-wide)

// Reads a value of any type. type, data and size may each be null. REG_SZ and
// REG_EXPAND_SZ data include their terminating NUL (and always have one).
bool ReadRegistryValue(RegistryRoot root, const char* subkey, const char* name, std::uint32_t* type,
                       std::vector<unsigned char>* data, std::uint32_t* size);

// value is set to 0 first; anything but a 4-byte REG_DWORD fails with EINVAL.
bool ReadRegistryDword(RegistryRoot root, const char* subkey, const char* name, std::uint32_t* value);

// A REG_SZ value as text (without the NUL, up to the first NUL); anything else fails
// (EINVAL for another type).
bool ReadRegistryString(RegistryRoot root, const char* subkey, const char* name, std::string* value);

// Creates the key when needed; an empty subkey means the root itself. REG_SZ data are
// written with their terminating NUL (one is added when missing).
bool WriteRegistryValue(RegistryRoot root, const char* subkey, const char* name, std::uint32_t type,
                        const void* data, std::size_t size);
bool WriteRegistryDword(RegistryRoot root, const char* subkey, const char* name, std::uint32_t value);
bool WriteRegistryString(RegistryRoot root, const char* subkey, const char* name, const char* value);

// A missing key or value counts as success.
bool DeleteRegistryValue(RegistryRoot root, const char* subkey, const char* name);
