#pragma once

#include <string>

// A shared library loaded at run time (dlopen) and the lookup of its exported functions
// by name (dlsym). Failures carry the dynamic loader's own explanation (dlerror), which
// names the missing file, the unresolved dependency or the absent symbol.
//
// Not copyable; the library is unloaded by Unload() or the destructor. Loading and
// lookups are thread-safe as far as the loader is, but the loader's error text is only
// fetched right after the failing call, so concurrent failures never mix their texts.
class CDynamicLibrary
{
public:
    CDynamicLibrary() = default;
    virtual ~CDynamicLibrary();
    CDynamicLibrary(const CDynamicLibrary&) = delete;
    CDynamicLibrary& operator=(const CDynamicLibrary&) = delete;

    // Loads the library at path. A path without "/" is searched for in the loader's
    // order (LD_LIBRARY_PATH, the run path, the system's library directories). Every
    // symbol is bound at once, so a library with unresolved references fails here, not
    // at the first call. Fails when a library is already loaded. On failure errorText
    // (if given) receives the loader's text and nothing stays loaded.
    bool Load(const char* path, std::string* errorText);

    // The address of the exported symbol name, or null with errorText set.
    void* FindSymbol(const char* name, std::string* errorText) const;

    // Unloads the library if one is loaded; addresses found before become invalid.
    void Unload();

    bool IsLoaded() const { return m_handle != nullptr; }

private:
    void* m_handle = nullptr;
};
