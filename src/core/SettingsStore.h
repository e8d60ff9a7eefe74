#pragma once

// The program's settings store, standing in for the Windows registry: typed values
// (text, expandable text, 32-bit number, binary) under backslash-separated key paths
// such as "Software\\Brisket\\Trackloom" and its subkeys "WindowPos" and "CSV".
//
// Two stores exist:
// - the per-user store, read and written: $DISCWEAVER_SETTINGS when set, else
//   $XDG_CONFIG_HOME/discweaver/settings (XDG_CONFIG_HOME defaulting to ~/.config);
// - the machine-wide store, read only to the program: $DISCWEAVER_MACHINE_SETTINGS when
//   set, else /etc/discweaver/settings (where an installer records "Software\\CCF Tools").
//
// The file is plain text in the manner of a .reg export, so a user can read and edit it:
//
//     ; comment
//     [Software\Brisket\Trackloom]
//     "InputCCF"="/home/me/remote.ccf"
//     "ConfigAndTempArea"=expand:"$HOME/discweaver"
//     "PanelCap"=dword:0000000c
//     "Blob"=hex:01,ff,20
//
// Key paths and value names compare ignoring ASCII case. Inside quotes, "\\\\" is a
// backslash, "\\\"" a double quote and "\\xHH" any other byte outside printable ASCII.
// Lines the store does not understand (comments, hand-made mistakes) are kept as they
// are when the file is rewritten. Every change rewrites the file atomically (temporary
// file, then rename), so a crash never leaves it half written. A mutex serialises all
// store operations of the process, and an flock on "<store>.lock" serialises changes
// between processes (the desktop program and the command line).
//
// The operations report failure by returning false with errno set (ENOENT for a
// missing value), like the registry calls they replace.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Value types, numbered as the registry numbers them.
constexpr std::uint32_t kSettingNone = 0;
constexpr std::uint32_t kSettingText = 1;       // REG_SZ
constexpr std::uint32_t kSettingExpandText = 2; // REG_EXPAND_SZ
constexpr std::uint32_t kSettingBinary = 3;     // REG_BINARY
constexpr std::uint32_t kSettingDword = 4;      // REG_DWORD

// Largest settings file the store reads (anything bigger is not ours).
constexpr std::size_t kMaxSettingsFileSize = 4 * 1024 * 1024;

// The parsed content of one settings file, keeping every line in order.
class CSettingsDocument
{
public:
    struct CValue
    {
        std::uint32_t type = kSettingNone;
        std::vector<unsigned char> data; // text types include their terminating NUL
    };

    void Parse(const std::string& text);
    std::string ToText() const;

    // The value, or null when the key or value is missing.
    const CValue* Find(const std::string& keyPath, const std::string& name) const;
    void Set(const std::string& keyPath, const std::string& name, const CValue& value);
    // False when there was nothing to remove.
    bool Remove(const std::string& keyPath, const std::string& name);

    // One value line as it is written ("\"name\"=dword:0000000c").
    static std::string FormatValueLine(const std::string& name, const CValue& value);

private:
    enum class LineKind { Other, Section, Value };
    struct CLine
    {
        LineKind kind = LineKind::Other;
        std::string text;    // the line as read or formatted
        std::string keyPath; // Section, Value: the key it belongs to
        std::string name;    // Value
        CValue value;        // Value
    };

    // Index of the value line, or -1.
    long FindLine(const std::string& keyPath, const std::string& name) const;

    std::vector<CLine> m_lines;
};

enum class SettingsScope { User, Machine };

class CSettingsStore
{
public:
    // The file paths as the environment gives them now.
    static std::string GetUserStorePath();
    static std::string GetMachineStorePath();

    // type and data may be null (then only existence, type or size is asked).
    static bool ReadValue(SettingsScope scope, const std::string& keyPath, const std::string& name,
                          std::uint32_t* type, std::vector<unsigned char>* data);
    // Creates the key and the store's directory when needed. The machine store refuses
    // (EACCES).
    static bool WriteValue(SettingsScope scope, const std::string& keyPath, const std::string& name,
                           std::uint32_t type, const void* data, std::size_t size);
    // A missing file, key or value counts as success.
    static bool DeleteValue(SettingsScope scope, const std::string& keyPath, const std::string& name);
};
