#include "common/library_binder.h"

#include "common/runtime_error.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace dotwall {

namespace {

#ifdef _WIN32

std::string lastLoaderError() {
    const DWORD code = GetLastError();
    char text[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, text, sizeof text, nullptr);
    std::string reason(text, length);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) {
        reason.pop_back();
    }
    return reason.empty() ? "system error " + std::to_string(code) : reason;
}

void* openLibrary(const std::string& fileName) {
    return LoadLibraryA(fileName.c_str());
}

OutsideLibrary::AnyFunction findFunction(void* handle, const char* name) {
    return reinterpret_cast<OutsideLibrary::AnyFunction>(
        GetProcAddress(static_cast<HMODULE>(handle), name));
}

void closeLibrary(void* handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
}

#else

std::string lastLoaderError() {
    const char* reason = dlerror();
    return reason != nullptr ? reason : "no reason given";
}

// RTLD_LOCAL keeps the library's symbols out of the lookup of other libraries; RTLD_NOW
// finds a library with unresolved symbols broken here, not at some later call.
void* openLibrary(const std::string& fileName) {
    return dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
}

OutsideLibrary::AnyFunction findFunction(void* handle, const char* name) {
    dlerror();  // a stale error from earlier must not be taken for this lookup's
    return reinterpret_cast<OutsideLibrary::AnyFunction>(dlsym(handle, name));
}

void closeLibrary(void* handle) {
    dlclose(handle);
}

#endif

}  // namespace

OutsideLibrary::~OutsideLibrary() {
    if (handle_ != nullptr) {
        closeLibrary(handle_);
    }
}

void OutsideLibrary::load(const char* forFunction) {
    handle_ = openLibrary(fileName_);
    if (handle_ == nullptr) {
        throw RuntimeError(ErrorKind::LibraryNotFound,
                           "The library \"" + fileName_ + "\" of the function \"" + forFunction +
                               "\" could not be loaded: " + lastLoaderError());
    }
}

OutsideLibrary::AnyFunction OutsideLibrary::functionAddress(const char* functionName) {
    if (handle_ == nullptr) {
        load(functionName);
    }
    const AnyFunction function = findFunction(handle_, functionName);
    if (function == nullptr) {
        throw RuntimeError(ErrorKind::FunctionNotFound, "The function \"" +
                                                            std::string(functionName) +
                                                            "\" was not found in the library \"" +
                                                            fileName_ + "\": " + lastLoaderError());
    }
    return function;
}

}  // namespace dotwall
