#include "widgets/error_guard.h"

#include <exception>
#include <new>

#include "base/runtime_error.h"

namespace dotwall {

std::string describeCurrentException() {
    try {
        throw;
    } catch (const RuntimeError& error) {
        return std::string(errorKindName(error.kind())) + ": " + error.what();
    } catch (const std::bad_alloc&) {
        return "Out of memory: the action needed more memory than the system could give.";
    } catch (const std::exception& error) {
        return std::string("Unexpected error: ") + error.what();
    } catch (...) {
        return "Unexpected error of an unknown kind.";
    }
}

bool ErrorGuard::run(const std::function<void()>& handler) const {
    try {
        handler();
        return true;
    } catch (...) {
        messages_.showCritical(caption_, describeCurrentException());
        return false;
    }
}

}  // namespace dotwall
