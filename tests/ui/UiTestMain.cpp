#include "UiTestMain.h"

#include "common/SettingsGuard.h"
#include "common/TempDir.h"

#include <QApplication>
#include <QTest>

#include <cstdlib>
#include <cstring>
#include <iostream>

int main(int argc, char** argv)
{
    // Never the user's own settings, and never a real display.
    dwtest::CTempDir settings("dw-ui-settings");
    dwtest::CSettingsGuard guard(settings.Path());
    if (!getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    QApplication app(argc, argv);
    const char* only = nullptr;
    std::vector<char*> args(argv, argv + argc);
    if (argc > 1 && argv[1][0] != '-') {
        only = argv[1];
        args.erase(args.begin() + 1);
    }
    int failures = 0;
    int ran = 0;
    for (const dwuitest::CTestClass& testClass : dwuitest::Registry()) {
        if (only && std::strcmp(only, testClass.name) != 0)
            continue;
        std::unique_ptr<QObject> object = testClass.make();
        failures += QTest::qExec(object.get(), static_cast<int>(args.size()), args.data());
        ++ran;
    }
    if (only && ran == 0) {
        std::cerr << "no test class named " << only << "\n";
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
