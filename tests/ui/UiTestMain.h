#pragma once

// One executable runs every QTest class of the desktop program: each test file ends
// with DW_UI_TEST(ClassName), which registers the class with the main function.
// Arguments after the program name go to QTest (e.g. "-functions", a test function
// name), and a first argument naming a class runs only that class.

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace dwuitest {

struct CTestClass
{
    const char* name;
    std::function<std::unique_ptr<QObject>()> make;
};

inline std::vector<CTestClass>& Registry()
{
    static std::vector<CTestClass> classes;
    return classes;
}

struct CRegistrar
{
    CRegistrar(const char* name, std::function<std::unique_ptr<QObject>()> make)
    {
        Registry().push_back({name, std::move(make)});
    }
};

} // namespace dwuitest

#define DW_UI_TEST(Class)                                                                                    \
    static dwuitest::CRegistrar s_register##Class(#Class, []() { return std::make_unique<Class>(); });
