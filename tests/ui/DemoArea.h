#pragma once

// A configuration area holding copies of the demo's players and library, with the
// configuration and the codec wrapper loaded from it, for tests that execute for real.

#include "common/TempDir.h"

#include "core/DWConfig.h"
#include "csf/CCFWrapper.h"
#include "csf/CSFAbstractTree.h"
#include "model/Library.h"

#include <memory>
#include <string>

namespace dwuitest {

// How long a test waits for a job on the demo (reading, executing) to end.
constexpr int kDemoJobTimeoutMs = 120000;

class CDemoArea
{
public:
    CDemoArea();
    // False (with the reason in *why) when the demo files or the codec are missing.
    bool Load(std::string* why);

    // Makes the demo CCF the input and reads it into the wrapper's tree; null (with the
    // reason in *why) on failure.
    const CCSFAbstractTree* ReadInput(std::string* why);

    const std::string& Area() const { return m_area; }
    std::string File(const std::string& name) const { return m_dir / name; }
    CDWConfig& Config() { return *m_pConfig; }
    CCFWrapper& Wrapper() { return *m_pWrapper; }

private:
    dwtest::CTempDir m_dir;
    std::string m_area;
    std::unique_ptr<CDWConfig> m_pConfig;
    std::unique_ptr<CCFWrapper> m_pWrapper;
};

// Declares `demo` and loads it, failing the test when the demo or the codec is missing.
#define DW_LOAD_DEMO(demo)                                                                                   \
    dwuitest::CDemoArea demo;                                                                                \
    {                                                                                                        \
        std::string why;                                                                                     \
        QVERIFY2(demo.Load(&why), why.c_str());                                                              \
    }

// Declares `demo` loaded as above, and `tree`, the demo CCF read as its input.
#define DW_READ_DEMO(demo, tree)                                                                             \
    DW_LOAD_DEMO(demo);                                                                                      \
    const CCSFAbstractTree* tree = nullptr;                                                                  \
    {                                                                                                        \
        std::string why;                                                                                     \
        QVERIFY2((tree = demo.ReadInput(&why)), why.c_str());                                                \
    }

// A CCF file read back by a codec run of its own, in an area of its own.
struct CReadBack
{
    dwtest::CTempDir area{"dw-ui-readback"};
    CDWConfig config;
    CCFWrapper wrapper{&config};
    CErrorRecord errors;
    bool Read(const std::string& ccfFile);
};

// The number of devices in a CCF file (-1 when it cannot be read).
int CountDevices(const std::string& ccfFile);

// A new element named name, made for parent and added at the end of collection.
template <class T, class TParent, class TCollection>
T* AddNamed(TParent* parent, TCollection& collection, const char* name)
{
    auto* element = new T(parent);
    element->GetName().SetPlain(name);
    return collection.Add(nullptr, element);
}

// The number of the library's discs whose display text contains part.
int CountDiscs(const CLibrary& library, const std::string& part);

// Copies the demo players and library into area/DW_Config.
bool CopyDemoModel(const std::string& area);

} // namespace dwuitest
