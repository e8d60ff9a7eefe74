// The preview's costs: drawing one generated-looking panel (a header, ten pair rows of
// labelled buttons and frames, a bottom bar), drawing one label, and expanding a track
// button press through its aliases. A contact sheet of a large list is a few hundred
// panels, so one panel should stay well under a millisecond.

#include "csf/CSFSection.h"
#include "preview/ActionExpansion.h"
#include "preview/PanelRenderer.h"
#include "preview/PreviewFont.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

std::string PanelText()
{
    std::string text = "CCF()\n{\nDevice(\"Keys\")\n{\nPanel(\"K\")\n{\n";
    for (int d = 0; d < 10; ++d)
        text += "Button(\"" + std::to_string(d) + "\",0,0,20,20," + std::to_string(d + 1) +
                ")\n{\nAction()\n{\nIR(\"Digit\",\"0000 006D\")\n}\n}\n";
    text += "}\n}\nDevice(\"Jazz\")\n{\nPanel(\"T0\")\n{\nFont(8)\nBackColor(White);\nTextColor(Black);\n"
            "Frame(\"Miles Davis - Kind of Blue\",0,0,240,34)\n{\nFont(10);\nBackColor(LightGray);\n}\n";
    for (int row = 0; row < 10; ++row) {
        const std::string y = std::to_string(34 + 17 * row);
        text += "Button(\"C" + std::to_string(280 + row) + "\",0," + y + ",36,17," +
                std::to_string(20 + row) + ")\n{\nActiveUnselectedColor(Black,White);\nAction()\n{\n";
        for (int key = 0; key < 6; ++key)
            text += "AliasDeviceButton(\"Keys\",\"K\",\"" + std::to_string(key) + "\"," +
                    std::to_string(key + 1) + ");\nDelay(300);\n";
        text += "}\n}\nFrame(\"So What (Take " + std::to_string(row) + ") / Freddie Freeloader\",36," + y +
                ",168,17)\n{\nColor(0x68);\n}\n";
    }
    text += "Frame(\"\",0,200,240,20)\n{\nBackColor(DarkGray);\n}\n}\n}\n}\n";
    return text;
}

std::unique_ptr<CCSFSection> ParsePanels()
{
    const std::string text = PanelText();
    return ParseCsfText(text.data(), text.size(), nullptr);
}

void BM_RenderPanel(benchmark::State& state)
{
    auto root = ParsePanels();
    CActionExpander expander(root.get());
    const CCSFSection* panel = expander.FindPanel(expander.FindDevice("Jazz"), "T0");
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderPanel(panel, "/nonexistent"));
}
BENCHMARK(BM_RenderPanel);

void BM_DrawLabel(benchmark::State& state)
{
    CPreviewImage image(240, 20, 3);
    const std::string label = "So What (Take 1) / Freddie Freeloader";
    const unsigned size = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        DrawPreviewText(image, 0, 2, label, size, 0, image.Bounds());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawLabel)->Arg(8)->Arg(10)->Arg(16);

void BM_PressTrackButton(benchmark::State& state)
{
    auto root = ParsePanels();
    CActionExpander expander(root.get());
    for (auto _ : state) {
        SPressResult result;
        expander.Press("Jazz", "T0", "C285", result, nullptr);
        benchmark::DoNotOptimize(result.steps.data());
    }
}
BENCHMARK(BM_PressTrackButton);

} // namespace

BENCHMARK_MAIN();
