// libFuzzer target for the preview: any CSF text that parses must render every panel of
// every device (both looks) and expand every button press without crashing, looping or
// overflowing; input that begins with "BM" is read as a picture instead.

#include "csf/CSFSection.h"
#include "preview/ActionExpansion.h"
#include "preview/PanelRenderer.h"
#include "preview/PreviewImage.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

void PressAll(const CActionExpander& expander, const CCSFSection* node, unsigned depth)
{
    if (depth > kMaxCsfNesting)
        return;
    for (const CCSFSection* c = node->GetFirstChild(); c; c = c->GetNextSibling()) {
        if (c->IsButtonStatement()) {
            SPressResult result;
            expander.ExpandButton(c, result, nullptr);
            FormatPressResult(result);
        }
        PressAll(expander, c, depth + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > (1u << 20))
        return 0;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
        static const std::string path = "/tmp/fuzz_preview_" + std::to_string(getpid()) + ".bmp";
        if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
            std::fwrite(data, 1, size, file);
            std::fclose(file);
            CPreviewImage image;
            ReadPreviewBmp(path, image, nullptr);
            std::remove(path.c_str());
        }
        return 0;
    }
    std::unique_ptr<CCSFSection> root = ParseCsfText(reinterpret_cast<const char*>(data), size, nullptr);
    if (!root)
        return 0;
    CActionExpander expander(root.get());
    PressAll(expander, root.get(), 0);
    const CCSFSection* top = root->GetText() ? root.get() : root->GetFirstChild();
    for (const CCSFSection* d = top ? top->GetFirstChild() : nullptr; d; d = d->GetNextSibling())
        for (const CCSFSection* p = d->GetFirstChild(); p; p = p->GetNextSibling())
            if (p->IsPanelStatement()) {
                RenderPanel(p, "/nonexistent", false);
                RenderPanel(p, "/nonexistent", true);
            }
    return 0;
}
