#include "ccfdll/CsfSyntax.h"

#include <cstring>

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view Trim(std::string_view s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && IsSpace(s[b]))
        ++b;
    while (e > b && IsSpace(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

struct CLine
{
    std::string_view text;
    std::uint32_t number;
};

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsKeywordChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '-' || c == '_';
}

const char* const kKeyNames[9] = {"Left",  "Right", "Vol-",    "Vol+",    "Chan-",
                                  "Chan+", "Mute",  "FarLeft", "FarRight"};

} // namespace

bool CsfEqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = char(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

bool ParseCsfStatements(std::string_view text, CCsfStatement& root, CCcfError* error)
{
    root = CCsfStatement();
    std::vector<CLine> lines;
    std::uint32_t number = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        ++number;
        std::string_view line = Trim(text.substr(at, end - at));
        at = end + 1;
        if (line.empty() || line.substr(0, 2) == "//")
            continue;
        lines.push_back({line, number});
    }
    if (lines.empty()) {
        SetCcfErrorLine(error, number == 0 ? 1 : number, "the CSF text holds no statement");
        return false;
    }

    std::size_t i = 0;
    auto opensBlock = [&](std::size_t k) { return k < lines.size() && lines[k].text[0] == '{'; };
    root.text = lines[0].text;
    root.line = lines[0].number;
    ++i;
    std::vector<CCsfStatement*> stack;
    if (opensBlock(i)) {
        root.hasBlock = true;
        ++i;
        stack.push_back(&root);
    }
    while (!stack.empty()) {
        if (i == lines.size()) {
            SetCcfErrorLine(error, stack.back()->line,
                            "the block of this statement is not closed before the end of the text");
            return false;
        }
        const CLine& line = lines[i];
        if (line.text[0] == '{') {
            SetCcfErrorLine(error, line.number,
                            "unexpected \"{\": a block must follow its statement directly");
            return false;
        }
        ++i;
        if (line.text[0] == '}') {
            stack.pop_back();
            continue;
        }
        CCsfStatement& child = stack.back()->children.emplace_back();
        child.text = line.text;
        child.line = line.number;
        if (opensBlock(i)) {
            if (stack.size() >= std::size_t(kCsfMaxDepth)) {
                SetCcfErrorLine(error, line.number, "blocks nested deeper than %d levels", kCsfMaxDepth);
                return false;
            }
            child.hasBlock = true;
            ++i;
            stack.push_back(&child);
        }
    }
    if (i < lines.size()) {
        SetCcfErrorLine(error, lines[i].number, "text after the end of the root statement's block");
        return false;
    }
    return true;
}

bool SplitCsfCall(std::string_view text, CCsfCall& call, std::string& reason)
{
    call.keyword = {};
    call.args.clear();
    const std::size_t open = text.find('(');
    if (open == std::string_view::npos) {
        reason = "expected a statement of the form Keyword(...)";
        return false;
    }
    call.keyword = Trim(text.substr(0, open));
    if (call.keyword.empty()) {
        reason = "statement without a keyword";
        return false;
    }
    for (char c : call.keyword) {
        if (!IsKeywordChar(c)) {
            reason = "invalid character in the statement's keyword";
            return false;
        }
    }
    std::size_t pos = open + 1;
    const std::size_t n = text.size();
    auto skipSpace = [&] {
        while (pos < n && IsSpace(text[pos]))
            ++pos;
    };
    skipSpace();
    if (pos < n && text[pos] == ')') {
        ++pos;
    } else {
        for (;;) {
            skipSpace();
            CCsfArg arg;
            if (pos < n && text[pos] == '"') {
                const std::size_t close = text.find('"', pos + 1);
                if (close == std::string_view::npos) {
                    reason = "quoted text is not closed";
                    return false;
                }
                arg.quoted = true;
                arg.text = text.substr(pos + 1, close - pos - 1);
                pos = close + 1;
                skipSpace();
            } else {
                const std::size_t start = pos;
                while (pos < n && text[pos] != ',' && text[pos] != ')' && text[pos] != '"')
                    ++pos;
                arg.text = Trim(text.substr(start, pos - start));
            }
            if (call.args.size() >= 64) {
                reason = "too many arguments";
                return false;
            }
            call.args.push_back(arg);
            if (pos >= n) {
                reason = "missing \")\" at the end of the arguments";
                return false;
            }
            if (text[pos] == ',') {
                ++pos;
                continue;
            }
            if (text[pos] == ')') {
                ++pos;
                break;
            }
            reason = "expected \",\" or \")\" between arguments";
            return false;
        }
    }
    skipSpace();
    if (pos < n && text[pos] == ';')
        ++pos;
    for (;;) {
        skipSpace();
        if (pos >= n)
            return true;
        if (text.substr(pos, 2) == "//")
            return true;
        if (text.substr(pos, 2) == "/*") {
            const std::size_t close = text.find("*/", pos + 2);
            if (close == std::string_view::npos) {
                reason = "comment \"/*\" is not closed on its line";
                return false;
            }
            pos = close + 2;
            continue;
        }
        reason = "unexpected text after the statement";
        return false;
    }
}

void CsfAppendEscaped(std::string& out, std::string_view bytes)
{
    static const char hex[] = "0123456789abcdef";
    for (char ch : bytes) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 32 && c <= 126 && c != '"' && c != '/' && c != '\\' && c != '_') {
            out.push_back(ch);
        } else {
            out.push_back('\\');
            out.push_back('x');
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        }
    }
}

std::string CsfEscape(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    CsfAppendEscaped(out, bytes);
    return out;
}

std::string CsfUnescape(std::string_view escaped)
{
    std::string out;
    out.reserve(escaped.size());
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '\\' && i + 3 < escaped.size() &&
            (escaped[i + 1] == 'x' || escaped[i + 1] == 'X')) {
            const int hi = HexDigit(escaped[i + 2]);
            const int lo = HexDigit(escaped[i + 3]);
            if (hi >= 0 && lo >= 0) {
                out.push_back(static_cast<char>(hi * 16 + lo));
                i += 3;
                continue;
            }
        }
        out.push_back(escaped[i]);
    }
    return out;
}

bool CsfParseUnsigned(std::string_view text, std::uint64_t max, std::uint64_t& value)
{
    text = Trim(text);
    if (text.empty())
        return false;
    unsigned base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    std::uint64_t v = 0;
    for (char c : text) {
        const int d = HexDigit(c);
        if (d < 0 || unsigned(d) >= base)
            return false;
        v = v * base + unsigned(d);
        if (v > max)
            return false;
    }
    value = v;
    return true;
}

bool CsfParseSigned(std::string_view text, std::int64_t min, std::int64_t max, std::int64_t& value)
{
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    std::uint64_t magnitude = 0;
    const std::uint64_t limit = negative ? std::uint64_t(-(min + 1)) + 1 : std::uint64_t(max);
    if (!CsfParseUnsigned(text, limit, magnitude))
        return false;
    value = negative ? -std::int64_t(magnitude - 1) - 1 : std::int64_t(magnitude);
    return value >= min && value <= max;
}

const char* CsfLevelName(std::uint8_t level)
{
    static const char* const names[4] = {"Black", "DarkGray", "LightGray", "White"};
    return names[level & 3u];
}

bool CsfParseLevel(std::string_view text, std::uint8_t& level)
{
    static const char* const names[] = {"Black", "DarkGray", "LightGray", "White", "DarkGrey", "LightGrey"};
    static const std::uint8_t values[] = {0, 1, 2, 3, 1, 2};
    text = Trim(text);
    for (std::size_t i = 0; i < sizeof values; ++i) {
        if (CsfEqualsNoCase(text, names[i])) {
            level = values[i];
            return true;
        }
    }
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '3') {
        level = std::uint8_t(text[0] - '0');
        return true;
    }
    return false;
}

const char* CsfKeyName(unsigned index)
{
    return index < 9 ? kKeyNames[index] : "";
}

int CsfFindKey(std::string_view name)
{
    name = Trim(name);
    for (int i = 0; i < 9; ++i)
        if (CsfEqualsNoCase(name, kKeyNames[i]))
            return i;
    return -1;
}

void CsfAppendHex(std::string& out, const std::uint8_t* data, std::size_t size, bool groupWords)
{
    static const char hex[] = "0123456789ABCDEF";
    out.reserve(out.size() + size * 3);
    for (std::size_t i = 0; i < size; ++i) {
        if (groupWords && i > 0 && i % 2 == 0)
            out.push_back(' ');
        out.push_back(hex[data[i] >> 4]);
        out.push_back(hex[data[i] & 15]);
    }
}

bool CsfParseHex(std::string_view text, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    bytes.reserve(text.size() / 2);
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsSpace(text[i])) {
            ++i;
            continue;
        }
        if (i + 1 >= text.size())
            return false;
        const int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
        i += 2;
    }
    return true;
}
