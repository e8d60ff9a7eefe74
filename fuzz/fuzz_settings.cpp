// Settings files are edited by hand and may hold anything: parsing must never crash,
// rewriting must keep every line, and a value set must read back as set. Name escaping
// rides along: escaping then unescaping any text gives it back.
#include "core/NameText.h"
#include "core/SettingsStore.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);

    CSettingsDocument doc;
    doc.Parse(text);
    std::string once = doc.ToText();
    CSettingsDocument again;
    again.Parse(once);
    if (again.ToText() != once)
        __builtin_trap();

    CSettingsDocument::CValue value;
    value.type = kSettingText;
    value.data.assign(text.begin(), text.end());
    value.data.push_back(0);
    doc.Set("Software\\Brisket\\Trackloom", text, value);
    CSettingsDocument reread;
    reread.Parse(doc.ToText());
    const CSettingsDocument::CValue* back = reread.Find("Software\\Brisket\\Trackloom", text);
    if (!back || back->data != value.data)
        __builtin_trap();

    std::string plain(text.c_str());
    if (UnescapeCsf(EscapeCsf(plain.c_str()).c_str()) != plain)
        __builtin_trap();
    UnescapeCsf(plain.c_str());
    return 0;
}
