#include "csf/CSFSection.h"

#include "core/AtomicFile.h"
#include "core/NextToken.h"
#include "core/RegularFile.h"
#include "csf/CSFTreeStore.h"

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Formats into a string of whatever length the result needs.
std::string FormatV(const char* format, va_list args)
{
    char small[1024];
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (n < 0)
        return std::string();
    if (static_cast<std::size_t>(n) < sizeof small)
        return std::string(small, static_cast<std::size_t>(n));
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    std::vsnprintf(big.data(), big.size(), format, args);
    big.resize(static_cast<std::size_t>(n));
    return big;
}

bool StartsWithNoCase(const char* text, const char* prefix)
{
    if (text == nullptr)
        return false;
    for (; *prefix != '\0'; ++prefix, ++text) {
        unsigned char a = static_cast<unsigned char>(*text);
        unsigned char b = static_cast<unsigned char>(*prefix);
        if (a >= 'A' && a <= 'Z')
            a = static_cast<unsigned char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z')
            b = static_cast<unsigned char>(b - 'A' + 'a');
        if (a != b)
            return false;
    }
    return true;
}

bool EqualsNoCase(const char* a, std::size_t aLength, const char* b)
{
    return std::strlen(b) == aLength && StartsWithNoCase(a, b);
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

// ---- construction and structure ------------------------------------------------------

CCSFSection::CCSFSection() : m_bOwnsStore(true), m_pStore(new CCSFTreeStore()) {}

CCSFSection::CCSFSection(CCSFSection* parent) : m_pParent(parent), m_pStore(parent->m_pStore)
{
    if (parent->m_pLastChild != nullptr)
        parent->m_pLastChild->m_pNext = this;
    else
        parent->m_pFirstChild = this;
    parent->m_pLastChild = this;
    parent->m_bHasBlock = true;
}

CCSFSection::~CCSFSection()
{
    // Nodes own nothing outside the store, so a root frees its whole tree by freeing the
    // store; only a node removed from a living tree hands its slots back one by one.
    if (m_bOwnsStore)
        delete m_pStore;
    else
        DestroyChildren();
}

void CCSFSection::DestroyChildren()
{
    CCSFSection* child = m_pFirstChild;
    m_pFirstChild = m_pLastChild = nullptr;
    while (child != nullptr) {
        CCSFSection* next = child->m_pNext;
        child->~CCSFSection();
        m_pStore->FreeNode(child);
        child = next;
    }
}

CCSFSection* CCSFSection::AddChild()
{
    void* memory = m_pStore->AllocateNode();
    return new (memory) CCSFSection(this);
}

CCSFSection* CCSFSection::AddChildText(const char* text)
{
    CCSFSection* child = AddChild();
    child->SetText(text);
    return child;
}

CCSFSection* CCSFSection::AddChildFormat(const char* format, ...)
{
    CCSFSection* child = AddChild();
    if (format != nullptr && *format != '\0') {
        va_list args;
        va_start(args, format);
        std::string text = FormatV(format, args);
        va_end(args);
        child->SetText(text.data(), text.size());
    }
    return child;
}

void CCSFSection::SetText(const char* text)
{
    if (text == nullptr) {
        m_pText = nullptr;
        m_nTextLength = 0;
        return;
    }
    SetText(text, std::strlen(text));
}

void CCSFSection::SetText(const char* text, std::size_t length)
{
    if (text == nullptr) {
        SetText(nullptr);
        return;
    }
    // The old text's bytes are reused when the new one fits, so repeated rewrites of
    // one statement do not grow the store.
    char* target;
    if (m_pText != nullptr && length <= m_nTextLength)
        target = const_cast<char*>(m_pText);
    else
        target = m_pStore->AllocateText(length + 1);
    std::memmove(target, text, length);
    target[length] = '\0';
    m_pText = target;
    m_nTextLength = static_cast<std::uint32_t>(length);
}

void CCSFSection::SetTextFormat(const char* format, ...)
{
    if (format == nullptr || *format == '\0') {
        SetText(nullptr);
        return;
    }
    va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    SetText(text.data(), text.size());
}

CCSFSection* CCSFSection::GetRoot()
{
    CCSFSection* node = this;
    while (node->m_pParent != nullptr)
        node = node->m_pParent;
    return node;
}

std::size_t CCSFSection::GetChildCount() const
{
    std::size_t n = 0;
    for (const CCSFSection* c = m_pFirstChild; c != nullptr; c = c->m_pNext)
        ++n;
    return n;
}

CCSFSection* CCSFSection::FindChild(const char* text) const
{
    if (!m_bHasBlock)
        return nullptr;
    for (CCSFSection* c = m_pFirstChild; c != nullptr; c = c->m_pNext) {
        if (text == nullptr ? c->m_pText == nullptr
                            : (c->m_pText != nullptr && EqualsNoCase(c->m_pText, c->m_nTextLength, text)))
            return c;
    }
    return nullptr;
}

CCSFSection* CCSFSection::FindChildByPrefix(const char* prefix) const
{
    if (!m_bHasBlock)
        return nullptr;
    for (CCSFSection* c = m_pFirstChild; c != nullptr; c = c->m_pNext) {
        if (prefix == nullptr ? c->m_pText == nullptr : StartsWithNoCase(c->m_pText, prefix))
            return c;
    }
    return nullptr;
}

void CCSFSection::RemoveChild(CCSFSection* child)
{
    if (!m_bHasBlock || child == nullptr)
        return;
    CCSFSection* previous = nullptr;
    for (CCSFSection* c = m_pFirstChild; c != nullptr; previous = c, c = c->m_pNext) {
        if (c != child)
            continue;
        if (previous != nullptr)
            previous->m_pNext = c->m_pNext;
        else
            m_pFirstChild = c->m_pNext;
        if (m_pLastChild == c)
            m_pLastChild = previous;
        c->~CCSFSection();
        m_pStore->FreeNode(c);
        return;
    }
}

std::uint32_t CCSFSection::GetHighestButtonNumber() const
{
    return m_pStore->m_nHighestButtonNumber;
}

void CCSFSection::SetHighestButtonNumber(std::uint32_t number)
{
    m_pStore->m_nHighestButtonNumber = number;
}

void CCSFSection::UpdateHighestButtonNumber()
{
    std::uint32_t& highest = m_pStore->m_nHighestButtonNumber;
    if (m_pParent == nullptr)
        highest = 0;
    UpdateHighestInSubtree(highest);
}

void CCSFSection::UpdateHighestInSubtree(std::uint32_t& highest) const
{
    std::uint32_t number = 0;
    if (IsButtonStatement(nullptr, &number) && number > highest)
        highest = number;
    for (const CCSFSection* c = m_pFirstChild; c != nullptr; c = c->m_pNext)
        c->UpdateHighestInSubtree(highest);
}

std::size_t CCSFSection::GetStoreBytes() const
{
    return m_pStore->GetBytes();
}

// ---- reading ------------------------------------------------------------------------

namespace {

// Splits buffer[0, size) into kept lines, terminating each in place. The buffer has
// one spare byte behind size for the terminator of a last line without line feed.
void SplitLines(char* buffer, std::size_t size, std::vector<CCSFLine>& lines)
{
    bool hasNul = std::memchr(buffer, '\0', size) != nullptr;
    lines.reserve(lines.size() + size / 24);
    std::uint32_t number = 0;
    char* p = buffer;
    char* end = buffer + size;
    while (p < end) {
        ++number;
        char* lineEnd = static_cast<char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        char* next = lineEnd != nullptr ? lineEnd + 1 : end;
        if (lineEnd == nullptr)
            lineEnd = end;
        // A NUL byte ends the line's text, as it would for any C string reader.
        if (hasNul) {
            if (char* nul = static_cast<char*>(std::memchr(p, '\0', static_cast<std::size_t>(lineEnd - p))))
                lineEnd = nul;
        }
        char* first = p;
        while (first < lineEnd && IsBlank(*first))
            ++first;
        char* last = lineEnd;
        while (last > first && IsBlank(last[-1]))
            --last;
        std::size_t length = static_cast<std::size_t>(last - first);
        if (length > 0 && !(length >= 2 && first[0] == '/' && first[1] == '/')) {
            *last = '\0';
            lines.push_back(CCSFLine{first, static_cast<std::uint32_t>(length), number});
        }
        p = next;
    }
}

} // namespace

bool CCSFSection::ReadLines(std::FILE* file, CCSFLineList& lines)
{
    lines.Clear();
    if (file == nullptr)
        return false;
    // Line lengths and numbers are 32-bit; no configuration comes near that size.
    constexpr std::size_t kMaxFileSize = 0xFFFFFFFFu;
    std::size_t capacity = 1 << 16;
    // A seekable stream tells its size, which spares the copies of a growing buffer.
    // (A directory claims an absurd size; that is why the size is checked.)
    long start = std::ftell(file);
    if (start >= 0 && std::fseek(file, 0, SEEK_END) == 0) {
        long stop = std::ftell(file);
        if (stop > start && static_cast<unsigned long>(stop - start) < kMaxFileSize)
            capacity = static_cast<std::size_t>(stop - start) + 1;
        std::fseek(file, start, SEEK_SET);
    }
    try {
        std::size_t size = 0;
        std::unique_ptr<char[]> buffer(new char[capacity + 1]);
        for (;;) {
            std::size_t n = std::fread(buffer.get() + size, 1, capacity - size, file);
            size += n;
            if (size < capacity)
                break;
            if (capacity >= kMaxFileSize) {
                errno = EFBIG;
                return false;
            }
            std::unique_ptr<char[]> bigger(new char[capacity * 2 + 1]);
            std::memcpy(bigger.get(), buffer.get(), size);
            buffer = std::move(bigger);
            capacity *= 2;
        }
        if (std::ferror(file))
            return false;
        buffer[size] = '\0';
        SplitLines(buffer.get(), size, lines.m_lines);
        lines.m_buffer = std::move(buffer);
        return true;
    } catch (const std::bad_alloc&) {
        lines.Clear();
        errno = ENOMEM;
        return false;
    }
}

void CCSFSection::ReadLines(const char* data, std::size_t size, CCSFLineList& lines)
{
    lines.Clear();
    std::unique_ptr<char[]> buffer(new char[size + 1]);
    if (size > 0)
        std::memcpy(buffer.get(), data, size);
    buffer[size] = '\0';
    SplitLines(buffer.get(), size, lines.m_lines);
    lines.m_buffer = std::move(buffer);
}

bool CCSFSection::Parse(const CCSFLine** cursor, const CCSFLine* end, CErrorRecord* errors)
{
    unsigned depth = 0;
    for (const CCSFSection* p = m_pParent; p != nullptr; p = p->m_pParent)
        ++depth;
    return ParseAt(cursor, end, errors, depth);
}

bool CCSFSection::ParseAt(const CCSFLine** cursor, const CCSFLine* end, CErrorRecord* errors, unsigned depth)
{
    if (*cursor == end) {
        SetMessage(errors, "End of input CSF file reached unexpectedly\n");
        return false;
    }
    SetText((*cursor)->text, (*cursor)->length);
    ++*cursor;
    if (*cursor == end || (*cursor)->text[0] != '{')
        return true;
    if (depth >= kMaxCsfNesting) {
        SetMessage(errors, "CSF blocks are nested more than %u deep\n", kMaxCsfNesting);
        return false;
    }
    ++*cursor;
    m_bHasBlock = true;
    for (;;) {
        if (*cursor == end) {
            SetMessage(errors, "End of input CSF file reached unexpectedly\n");
            return false;
        }
        char c = (*cursor)->text[0];
        if (c == '{') {
            SetMessage(errors, "Unexpected '{' in input CSF file\n");
            return false;
        }
        if (c == '}') {
            ++*cursor;
            return true;
        }
        if (!AddChild()->ParseAt(cursor, end, errors, depth + 1))
            return false;
    }
}

std::unique_ptr<CCSFSection> ParseCsfText(const char* data, std::size_t size, CErrorRecord* errors)
{
    CCSFLineList lines;
    CCSFSection::ReadLines(data, size, lines);
    std::unique_ptr<CCSFSection> root(new CCSFSection());
    const CCSFLine* cursor = lines.begin();
    if (!root->Parse(&cursor, lines.end(), errors))
        return nullptr;
    return root;
}

std::unique_ptr<CCSFSection> ParseCsfFile(const char* path, CErrorRecord* errors)
{
    std::FILE* file = OpenRegularFileStream(path, errors);
    if (file == nullptr) {
        SetSystemError(errors, "Unable to read %s", path);
        return nullptr;
    }
    CCSFLineList lines;
    bool ok = CCSFSection::ReadLines(file, lines);
    int savedErrno = errno;
    std::fclose(file);
    if (!ok) {
        SetSystemErrorCode(errors, savedErrno, "Unable to read %s", path);
        return nullptr;
    }
    std::unique_ptr<CCSFSection> root(new CCSFSection());
    const CCSFLine* cursor = lines.begin();
    if (!root->Parse(&cursor, lines.end(), errors))
        return nullptr;
    return root;
}

// ---- statement recognition -------------------------------------------------------

namespace {

// Reads the arguments of a statement, from just after its "(", one at a time.
class CArgumentReader
{
public:
    CArgumentReader(std::size_t textLength, const char* afterParen) : m_pCursor(afterParen)
    {
        // The scanner's buffer is one byte longer than the text it scans, so no
        // argument is ever cut.
        if (textLength + 1 > sizeof m_small) {
            m_big.resize(textLength + 1);
            m_pBuffer = m_big.data();
            m_nSize = m_big.size();
        }
    }

    // The next argument, or null when no further argument can be read.
    const char* Next()
    {
        if (!NextToken(&m_pCursor, ",", ")", m_pBuffer, m_nSize, false, true, false))
            return nullptr;
        return m_pBuffer;
    }

private:
    const char* m_pCursor;
    char m_small[512];
    std::string m_big;
    char* m_pBuffer = m_small;
    std::size_t m_nSize = sizeof m_small;
};

bool ReadFirstArgument(const char* text, std::size_t length, std::size_t keywordLength, std::string* name)
{
    if (name != nullptr) {
        CArgumentReader reader(length, text + keywordLength);
        const char* a = reader.Next();
        name->assign(a != nullptr ? a : "");
    }
    return true;
}

} // namespace

bool CCSFSection::IsDeviceStatement(std::string* name) const
{
    if (name != nullptr)
        name->clear();
    if (!StartsWithNoCase(m_pText, "Device("))
        return false;
    return ReadFirstArgument(m_pText, m_nTextLength, 7, name);
}

bool CCSFSection::IsPanelStatement(std::string* name) const
{
    if (name != nullptr)
        name->clear();
    if (!StartsWithNoCase(m_pText, "Panel("))
        return false;
    return ReadFirstArgument(m_pText, m_nTextLength, 6, name);
}

bool CCSFSection::IsFrameStatement() const
{
    return StartsWithNoCase(m_pText, "Frame(");
}

bool CCSFSection::IsButtonStatement(std::string* name, std::uint32_t* number) const
{
    if (name != nullptr)
        name->clear();
    if (number != nullptr)
        *number = 0;
    if (!StartsWithNoCase(m_pText, "Button("))
        return false;
    CArgumentReader reader(m_nTextLength, m_pText + 7);
    std::string first;
    const char* a = reader.Next();
    if (a == nullptr)
        return false;
    if (name != nullptr)
        first = a;
    for (int i = 2; i <= 6; ++i) {
        a = reader.Next();
        if (a == nullptr)
            return false;
    }
    // The sixth argument is read the way "%u" reads: optional sign, decimal digits,
    // anything after them ignored.
    char* stop = nullptr;
    errno = 0;
    unsigned long value = std::strtoul(a, &stop, 10);
    if (stop == a)
        return false;
    std::uint32_t n = static_cast<std::uint32_t>(value);
    if (n == 0)
        return false;
    if (name != nullptr)
        name->swap(first);
    if (number != nullptr)
        *number = n;
    return true;
}

bool CCSFSection::IsHardButtonStatement(std::string* name) const
{
    if (name != nullptr)
        name->clear();
    if (m_pText == nullptr)
        return false;
    const char* paren = static_cast<const char*>(std::memchr(m_pText, '(', m_nTextLength));
    if (paren == nullptr)
        return false;
    std::size_t keywordLength = static_cast<std::size_t>(paren - m_pText);
    if (!IsHardButtonName(m_pText, keywordLength))
        return false;
    if (name != nullptr)
        name->assign(m_pText, keywordLength);
    return true;
}

const char* const kHardButtonNames[7] = {"Left", "Right", "Vol-", "Vol+", "Chan-", "Chan+", "Mute"};
const char* const kOuterHardButtonNames[2] = {"FarLeft", "FarRight"};

bool IsHardButtonName(const char* text, std::size_t length)
{
    if (text == nullptr)
        return false;
    for (const char* keyword : kHardButtonNames) {
        if (EqualsNoCase(text, length, keyword))
            return true;
    }
    for (const char* keyword : kOuterHardButtonNames) {
        if (EqualsNoCase(text, length, keyword))
            return true;
    }
    return false;
}

bool IsHardButtonName(const char* text)
{
    return text != nullptr && IsHardButtonName(text, std::strlen(text));
}

bool CCSFSection::IsJumpStatement(std::string* deviceName, std::string* panelName) const
{
    if (deviceName != nullptr)
        deviceName->clear();
    if (panelName != nullptr)
        panelName->clear();
    if (!StartsWithNoCase(m_pText, "JumpDevicePanel("))
        return false;
    CArgumentReader reader(m_nTextLength, m_pText + 16);
    const char* a = reader.Next();
    std::string device = a != nullptr ? a : "";
    const char* b = reader.Next();
    if (b == nullptr)
        return false;
    if (panelName != nullptr)
        panelName->assign(b);
    if (deviceName != nullptr) {
        if (EqualsNoCase(device.data(), device.size(), "this")) {
            for (const CCSFSection* p = m_pParent; p != nullptr; p = p->m_pParent) {
                std::string enclosing;
                if (p->IsDeviceStatement(&enclosing)) {
                    device.swap(enclosing);
                    break;
                }
            }
        }
        deviceName->swap(device);
    }
    return true;
}

// ---- writing -----------------------------------------------------------------------

namespace {

void WriteTabs(std::FILE* file, unsigned depth)
{
    static const char kTabs[] = "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
    constexpr unsigned kTabCount = sizeof kTabs - 1;
    while (depth > 0) {
        unsigned n = depth < kTabCount ? depth : kTabCount;
        fwrite_unlocked(kTabs, 1, n, file);
        depth -= n;
    }
}

} // namespace

bool CCSFSection::Write(std::FILE* file, unsigned* lineCount, unsigned depth) const
{
    unsigned lines = 0;
    flockfile(file);
    WriteTo(file, lines, depth);
    funlockfile(file);
    if (lineCount != nullptr)
        *lineCount = lines;
    return !std::ferror(file);
}

void CCSFSection::WriteTo(std::FILE* file, unsigned& lines, unsigned depth) const
{
    if (m_pText == nullptr || m_nTextLength == 0)
        return;
    // Write holds the stream's lock for the whole tree, so no piece needs its own.
    WriteTabs(file, depth);
    fwrite_unlocked(m_pText, 1, m_nTextLength, file);
    fputc_unlocked('\n', file);
    ++lines;
    if (!m_bHasBlock)
        return;
    WriteTabs(file, depth);
    fwrite_unlocked("{\n", 1, 2, file);
    ++lines;
    for (const CCSFSection* c = m_pFirstChild; c != nullptr; c = c->m_pNext)
        c->WriteTo(file, lines, depth + 1);
    WriteTabs(file, depth);
    fwrite_unlocked("}\n", 1, 2, file);
    ++lines;
}

bool CCSFSection::WriteFile(CErrorRecord* errors, const char* path) const
{
    // A large buffer keeps the many short writes cheap; it must outlive the stream.
    std::unique_ptr<char[]> buffer(new char[1 << 16]);
    CAtomicFile file;
    if (!file.Open(path, errors))
        return false;
    std::FILE* stream = file.GetFile();
    std::setvbuf(stream, buffer.get(), _IOFBF, 1 << 16);
    if (!Write(stream, nullptr, 0)) {
        SetSystemError(errors, "Error writing %s", path);
        file.Abort();
        return false;
    }
    return file.Commit(errors);
}

std::string CCSFSection::WriteToString() const
{
    char* data = nullptr;
    std::size_t size = 0;
    std::FILE* stream = open_memstream(&data, &size);
    if (stream == nullptr)
        return std::string();
    Write(stream, nullptr, 0);
    std::fclose(stream);
    std::string text(data, size);
    std::free(data);
    return text;
}

// ---- builders ------------------------------------------------------------------------

const char* ColourName(unsigned code)
{
    switch (code) {
    case 1:
        return "DarkGray";
    case 2:
        return "LightGray";
    case 3:
        return "White";
    default:
        return "Black";
    }
}

CCSFSection* CCSFSection::AddFrame(const char* name, unsigned left, unsigned top, unsigned width,
                                   unsigned height, unsigned fontSize, unsigned textColour,
                                   const char* iconFile)
{
    CCSFSection* frame =
        AddChildFormat("Frame(\"%s\",%u,%u,%u,%u)", name != nullptr ? name : "", left, top, width, height);
    frame->AddChildFormat("TextColor(%s)", ColourName(textColour));
    frame->AddChildFormat("Font(%u);", (name == nullptr || *name == '\0') ? 0u : fontSize);
    if (iconFile != nullptr && *iconFile != '\0')
        frame->AddChildFormat("Icon(\"%s\");", iconFile);
    return frame;
}

CCSFSection* CCSFSection::AddButton(const char* name, unsigned left, unsigned top, unsigned width,
                                    unsigned height, unsigned fontSize, unsigned colour, const char* iconFile,
                                    CCSFSection** actionNode)
{
    std::uint32_t n = ++m_pStore->m_nHighestButtonNumber;
    CCSFSection* button = AddChildFormat("Button(\"%s\",%u,%u,%u,%u,%u) /* Button %u */",
                                         name != nullptr ? name : "", left, top, width, height, n, n);
    button->AddChildFormat("ActiveUnselectedColor(LightGray,%s);", ColourName(colour));
    button->AddChildFormat("ActiveSelectedColor(LightGray,%s);", ColourName(colour));
    button->AddChildFormat("Font(%u);", fontSize);
    button->AddChildFormat("ActiveIcons(\"%s\");", iconFile != nullptr ? iconFile : "");
    CCSFSection* action = button->AddChildText("Action()");
    if (actionNode != nullptr)
        *actionNode = action;
    return button;
}
