#include "core/DynamicLibrary.h"

#include <dlfcn.h>

namespace {

// dlerror() reports (and clears) the last failure of this thread; take it at once.
void TakeLoaderError(std::string* errorText, const char* fallback)
{
    const char* text = dlerror();
    if (errorText)
        *errorText = text ? text : fallback;
}

} // namespace

CDynamicLibrary::~CDynamicLibrary()
{
    Unload();
}

bool CDynamicLibrary::Load(const char* path, std::string* errorText)
{
    if (m_handle) {
        if (errorText)
            *errorText = "a library is already loaded";
        return false;
    }
    if (!path || !*path) {
        if (errorText)
            *errorText = "no library path given";
        return false;
    }
    dlerror();
    m_handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        TakeLoaderError(errorText, "the library could not be loaded");
        return false;
    }
    return true;
}

void* CDynamicLibrary::FindSymbol(const char* name, std::string* errorText) const
{
    if (!m_handle || !name) {
        if (errorText)
            *errorText = m_handle ? "no symbol name given" : "no library loaded";
        return nullptr;
    }
    dlerror();
    void* address = dlsym(m_handle, name);
    // A symbol may legitimately sit at address 0 only for data; functions never do, so a
    // null address is a failure even when the loader left no text.
    if (!address)
        TakeLoaderError(errorText, "symbol not found");
    return address;
}

void CDynamicLibrary::Unload()
{
    if (m_handle) {
        dlclose(m_handle);
        m_handle = nullptr;
    }
}
