#include "base/library_binder.h"

#include <dlfcn.h>

#include "base/runtime_error.h"

namespace dotwall {

namespace {

std::string lastLoaderError() {
    const char* reason = dlerror();
    return reason != nullptr ? reason : "no reason given";
}

}  // namespace

OutsideLibrary::~OutsideLibrary() {
    if (handle_ != nullptr) {
        dlclose(handle_);
    }
}

void OutsideLibrary::load(const char* forFunction) {
    // RTLD_LOCAL keeps the library's symbols out of the lookup of other libraries; RTLD_NOW
    // finds a library with unresolved symbols broken here, not at some later call.
    handle_ = dlopen(fileName_.c_str(), RTLD_NOW | RTLD_LOCAL);
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
    dlerror();  // a stale error from earlier must not be taken for this lookup's
    const auto function = reinterpret_cast<AnyFunction>(dlsym(handle_, functionName));
    if (function == nullptr) {
        throw RuntimeError(ErrorKind::FunctionNotFound, "The function \"" +
                                                            std::string(functionName) +
                                                            "\" was not found in the library \"" +
                                                            fileName_ + "\": " + lastLoaderError());
    }
    return function;
}

}  // namespace dotwall
