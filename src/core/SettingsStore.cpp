#include "core/SettingsStore.h"

#include "core/AtomicFile.h"
#include "core/NameText.h"
#include "core/RegularFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::mutex g_storeMutex;

// ASCII case-insensitive equality over the whole text (names may hold any byte).
bool SameKey(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

std::string Trim(const std::string& s)
{
    std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return std::string();
    std::size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

void AppendQuoted(std::string& out, const unsigned char* bytes, std::size_t size)
{
    static const char kHex[] = "0123456789abcdef";
    out += '"';
    for (std::size_t i = 0; i < size; ++i) {
        unsigned char c = bytes[i];
        if (c == '\\' || c == '"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 32 && c <= 126) {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    out += '"';
}

// Reads a quoted text starting at s[pos] == '"'; pos ends after the closing quote.
bool ParseQuoted(const std::string& s, std::size_t& pos, std::string& out)
{
    if (pos >= s.size() || s[pos] != '"')
        return false;
    ++pos;
    out.clear();
    while (pos < s.size()) {
        char c = s[pos++];
        if (c == '"')
            return true;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (pos >= s.size())
            return false;
        char e = s[pos++];
        if (e == '\\' || e == '"') {
            out += e;
        } else if (e == 'x' && pos + 1 < s.size() && HexDigitValue(s[pos]) >= 0 &&
                   HexDigitValue(s[pos + 1]) >= 0) {
            out += static_cast<char>(HexDigitValue(s[pos]) * 16 + HexDigitValue(s[pos + 1]));
            pos += 2;
        } else {
            return false;
        }
    }
    return false;
}

bool StartsWith(const std::string& s, std::size_t pos, const char* prefix)
{
    return s.compare(pos, std::strlen(prefix), prefix) == 0;
}

bool ParseHexBytes(const std::string& s, std::vector<unsigned char>& out)
{
    out.clear();
    std::string t = Trim(s);
    std::size_t pos = 0;
    while (pos < t.size()) {
        while (pos < t.size() && (t[pos] == ' ' || t[pos] == '\t'))
            ++pos;
        if (pos >= t.size())
            break;
        if (pos + 1 >= t.size())
            return false;
        int hi = HexDigitValue(t[pos]);
        int lo = HexDigitValue(t[pos + 1]);
        if (hi < 0 || lo < 0)
            return false;
        out.push_back(static_cast<unsigned char>(hi * 16 + lo));
        pos += 2;
        while (pos < t.size() && (t[pos] == ' ' || t[pos] == '\t'))
            ++pos;
        if (pos < t.size()) {
            if (t[pos] != ',')
                return false;
            ++pos;
        }
    }
    return true;
}

// Parses the right side of a value line.
bool ParseValue(const std::string& s, CSettingsDocument::CValue& value)
{
    std::string t = Trim(s);
    std::size_t pos = 0;
    std::string text;
    auto asText = [&](std::uint32_t type) {
        value.type = type;
        value.data.assign(text.begin(), text.end());
        value.data.push_back(0);
    };
    if (!t.empty() && t[0] == '"') {
        if (!ParseQuoted(t, pos, text) || pos != t.size())
            return false;
        asText(kSettingText);
        return true;
    }
    if (StartsWith(t, 0, "expand:")) {
        pos = 7;
        if (!ParseQuoted(t, pos, text) || pos != t.size())
            return false;
        asText(kSettingExpandText);
        return true;
    }
    if (StartsWith(t, 0, "dword:")) {
        std::string digits = t.substr(6);
        if (digits.empty() || digits.size() > 8)
            return false;
        std::uint32_t n = 0;
        for (char c : digits) {
            if (HexDigitValue(c) < 0)
                return false;
            n = n * 16 + static_cast<std::uint32_t>(HexDigitValue(c));
        }
        value.type = kSettingDword;
        value.data = {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
                      static_cast<unsigned char>(n >> 16), static_cast<unsigned char>(n >> 24)};
        return true;
    }
    if (StartsWith(t, 0, "hex:")) {
        value.type = kSettingBinary;
        return ParseHexBytes(t.substr(4), value.data);
    }
    if (StartsWith(t, 0, "hex(")) {
        std::size_t close = t.find("):", 4);
        if (close == std::string::npos || close == 4 || close > 14)
            return false;
        unsigned long type = 0;
        for (std::size_t i = 4; i < close; ++i) {
            if (t[i] < '0' || t[i] > '9')
                return false;
            type = type * 10 + static_cast<unsigned long>(t[i] - '0');
        }
        if (type > 0xFFFFFFFFul)
            return false;
        value.type = static_cast<std::uint32_t>(type);
        return ParseHexBytes(t.substr(close + 2), value.data);
    }
    return false;
}

bool ReadWholeFile(const std::string& path, std::string& text)
{
    text.clear();
    FILE* f = OpenRegularFileStream(path.c_str(), nullptr);
    if (!f)
        return false;
    char buffer[8192];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        if (text.size() + n > kMaxSettingsFileSize) {
            std::fclose(f);
            errno = EFBIG;
            return false;
        }
        text.append(buffer, n);
    }
    bool failed = std::ferror(f) != 0;
    int saved = errno;
    std::fclose(f);
    if (failed) {
        errno = saved ? saved : EIO;
        return false;
    }
    return true;
}

// Loads the store; a missing file is an empty store. False (errno set) when the file
// exists but cannot be read: then it must not be overwritten either.
bool LoadDocument(const std::string& path, CSettingsDocument& doc)
{
    std::string text;
    if (!ReadWholeFile(path, text)) {
        if (errno == ENOENT)
            return true;
        return false;
    }
    doc.Parse(text);
    return true;
}

bool MakeParentDirectories(const std::string& path)
{
    std::size_t slash = path.find('/', 1);
    while (slash != std::string::npos) {
        std::string prefix = path.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
        slash = path.find('/', slash + 1);
    }
    return true;
}

bool SaveDocument(const std::string& path, const CSettingsDocument& doc)
{
    if (!MakeParentDirectories(path))
        return false;
    CErrorRecord errors;
    if (!WriteFileAtomically(path.c_str(), doc.ToText(), &errors)) {
        errno = errors.GetCode() ? static_cast<int>(errors.GetCode()) : EIO;
        return false;
    }
    return true;
}

// Serialises the read-modify-write of one store between processes (the desktop
// program and the command line may save at the same time). The store itself is
// replaced by rename, so the lock lives in a file of its own beside it. Without a lock
// file (an unwritable directory) the change goes ahead; saving will then report why.
class CStoreFileLock
{
public:
    explicit CStoreFileLock(const std::string& storePath)
    {
        int saved = errno;
        m_fd = ::open((storePath + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (m_fd >= 0) {
            while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
        errno = saved;
    }
    ~CStoreFileLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // releases the lock
    }
    CStoreFileLock(const CStoreFileLock&) = delete;
    CStoreFileLock& operator=(const CStoreFileLock&) = delete;

private:
    int m_fd = -1;
};

std::string PathFor(SettingsScope scope)
{
    return scope == SettingsScope::User ? CSettingsStore::GetUserStorePath()
                                        : CSettingsStore::GetMachineStorePath();
}

} // namespace

void CSettingsDocument::Parse(const std::string& text)
{
    m_lines.clear();
    std::string currentKey;
    bool inSection = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        CLine line;
        line.text = text.substr(start, end - start);
        // Files edited on Windows end their lines in "\r\n"; stray carriage returns at
        // a line's end carry nothing.
        while (!line.text.empty() && line.text.back() == '\r')
            line.text.pop_back();
        start = end + 1;

        std::string t = Trim(line.text);
        if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
            line.kind = LineKind::Section;
            line.keyPath = Trim(t.substr(1, t.size() - 2));
            currentKey = line.keyPath;
            inSection = true;
        } else if (inSection && !t.empty() && t[0] == '"') {
            std::size_t pos = 0;
            std::string name;
            CValue value;
            if (ParseQuoted(t, pos, name)) {
                while (pos < t.size() && (t[pos] == ' ' || t[pos] == '\t'))
                    ++pos;
                if (pos < t.size() && t[pos] == '=' && ParseValue(t.substr(pos + 1), value)) {
                    line.kind = LineKind::Value;
                    line.keyPath = currentKey;
                    line.name = name;
                    line.value = std::move(value);
                }
            }
        }
        m_lines.push_back(std::move(line));
    }
}

std::string CSettingsDocument::ToText() const
{
    std::string out;
    for (const CLine& line : m_lines) {
        out += line.text;
        out += '\n';
    }
    return out;
}

std::string CSettingsDocument::FormatValueLine(const std::string& name, const CValue& value)
{
    std::string out;
    AppendQuoted(out, reinterpret_cast<const unsigned char*>(name.data()), name.size());
    out += '=';
    const std::vector<unsigned char>& d = value.data;
    bool textType = value.type == kSettingText || value.type == kSettingExpandText;
    if (textType && !d.empty() && d.back() == 0) {
        if (value.type == kSettingExpandText)
            out += "expand:";
        AppendQuoted(out, d.data(), d.size() - 1);
    } else if (value.type == kSettingDword && d.size() == 4) {
        char buffer[16];
        std::uint32_t n = d[0] | (d[1] << 8) | (d[2] << 16) | (static_cast<std::uint32_t>(d[3]) << 24);
        std::snprintf(buffer, sizeof buffer, "dword:%08x", static_cast<unsigned>(n));
        out += buffer;
    } else {
        // Anything that the short forms cannot hold exactly keeps its bytes.
        char buffer[32];
        if (value.type == kSettingBinary)
            out += "hex:";
        else {
            std::snprintf(buffer, sizeof buffer, "hex(%u):", static_cast<unsigned>(value.type));
            out += buffer;
        }
        for (std::size_t i = 0; i < d.size(); ++i) {
            std::snprintf(buffer, sizeof buffer, i ? ",%02x" : "%02x", d[i]);
            out += buffer;
        }
    }
    return out;
}

long CSettingsDocument::FindLine(const std::string& keyPath, const std::string& name) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const CLine& line = m_lines[i];
        if (line.kind == LineKind::Value && SameKey(line.keyPath, keyPath) && SameKey(line.name, name))
            return static_cast<long>(i);
    }
    return -1;
}

const CSettingsDocument::CValue* CSettingsDocument::Find(const std::string& keyPath,
                                                         const std::string& name) const
{
    long i = FindLine(keyPath, name);
    return i < 0 ? nullptr : &m_lines[static_cast<std::size_t>(i)].value;
}

void CSettingsDocument::Set(const std::string& keyPath, const std::string& name, const CValue& value)
{
    CLine line;
    line.kind = LineKind::Value;
    line.keyPath = keyPath;
    line.name = name;
    line.value = value;
    line.text = FormatValueLine(name, value);

    long existing = FindLine(keyPath, name);
    if (existing >= 0) {
        line.keyPath = m_lines[static_cast<std::size_t>(existing)].keyPath;
        m_lines[static_cast<std::size_t>(existing)] = std::move(line);
        return;
    }
    // Behind the last value of the key's first section, else behind its header.
    long header = -1;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind == LineKind::Section && SameKey(m_lines[i].keyPath, keyPath)) {
            header = static_cast<long>(i);
            break;
        }
    }
    if (header < 0) {
        if (!m_lines.empty() && !Trim(m_lines.back().text).empty()) {
            CLine blank;
            m_lines.push_back(blank);
        }
        CLine section;
        section.kind = LineKind::Section;
        section.keyPath = keyPath;
        section.text = "[" + keyPath + "]";
        m_lines.push_back(std::move(section));
        m_lines.push_back(std::move(line));
        return;
    }
    std::size_t insertAt = static_cast<std::size_t>(header) + 1;
    for (std::size_t i = insertAt; i < m_lines.size() && m_lines[i].kind != LineKind::Section; ++i) {
        if (m_lines[i].kind == LineKind::Value)
            insertAt = i + 1;
    }
    line.keyPath = m_lines[static_cast<std::size_t>(header)].keyPath;
    m_lines.insert(m_lines.begin() + static_cast<long>(insertAt), std::move(line));
}

bool CSettingsDocument::Remove(const std::string& keyPath, const std::string& name)
{
    long i = FindLine(keyPath, name);
    if (i < 0)
        return false;
    m_lines.erase(m_lines.begin() + i);
    return true;
}

std::string CSettingsStore::GetUserStorePath()
{
    const char* over = std::getenv("DISCWEAVER_SETTINGS");
    if (over && *over)
        return over;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg && *xdg == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            struct passwd* entry = ::getpwuid(::getuid());
            home = entry && entry->pw_dir && *entry->pw_dir ? entry->pw_dir : "/tmp";
        }
        base = std::string(home) + "/.config";
    }
    return base + "/discweaver/settings";
}

std::string CSettingsStore::GetMachineStorePath()
{
    const char* over = std::getenv("DISCWEAVER_MACHINE_SETTINGS");
    if (over && *over)
        return over;
    return "/etc/discweaver/settings";
}

bool CSettingsStore::ReadValue(SettingsScope scope, const std::string& keyPath, const std::string& name,
                               std::uint32_t* type, std::vector<unsigned char>* data)
{
    std::lock_guard<std::mutex> lock(g_storeMutex);
    CSettingsDocument doc;
    if (!LoadDocument(PathFor(scope), doc))
        return false;
    const CSettingsDocument::CValue* value = doc.Find(keyPath, name);
    if (!value) {
        errno = ENOENT;
        return false;
    }
    if (type)
        *type = value->type;
    if (data)
        *data = value->data;
    return true;
}

bool CSettingsStore::WriteValue(SettingsScope scope, const std::string& keyPath, const std::string& name,
                                std::uint32_t type, const void* data, std::size_t size)
{
    if (scope == SettingsScope::Machine) {
        errno = EACCES;
        return false;
    }
    if (!data && size) {
        errno = EINVAL;
        return false;
    }
    std::lock_guard<std::mutex> lock(g_storeMutex);
    std::string path = PathFor(scope);
    if (!MakeParentDirectories(path))
        return false;
    CStoreFileLock fileLock(path);
    CSettingsDocument doc;
    if (!LoadDocument(path, doc))
        return false;
    CSettingsDocument::CValue value;
    value.type = type;
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    value.data.assign(bytes, bytes + size);
    if ((type == kSettingText || type == kSettingExpandText) &&
        (value.data.empty() || value.data.back() != 0))
        value.data.push_back(0);
    doc.Set(keyPath, name, value);
    return SaveDocument(path, doc);
}

bool CSettingsStore::DeleteValue(SettingsScope scope, const std::string& keyPath, const std::string& name)
{
    std::lock_guard<std::mutex> lock(g_storeMutex);
    std::string path = PathFor(scope);
    CSettingsDocument doc;
    if (!LoadDocument(path, doc))
        return false;
    if (!doc.Find(keyPath, name))
        return true; // nothing to delete: no lock file, no rewrite
    if (scope == SettingsScope::Machine) {
        errno = EACCES;
        return false;
    }
    // Read again under the lock: another process may have changed the store meanwhile.
    CStoreFileLock fileLock(path);
    if (!LoadDocument(path, doc))
        return false;
    if (!doc.Remove(keyPath, name))
        return true;
    return SaveDocument(path, doc);
}
