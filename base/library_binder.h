#pragma once

#include <string>
#include <utility>

namespace dotwall {

// An outside library named by its file name, as the system's library search finds it (a
// path also works). It is loaded on the first call of one of its functions and stays loaded
// as long as this object lives. A failed load is not remembered: the next call tries again.
class OutsideLibrary {
  public:
    // The type every looked-up function is handed out as, before BoundFunction gives it
    // its real type.
    using AnyFunction = void (*)();

    explicit OutsideLibrary(std::string fileName) : fileName_(std::move(fileName)) {}
    ~OutsideLibrary();
    OutsideLibrary(const OutsideLibrary&) = delete;
    OutsideLibrary& operator=(const OutsideLibrary&) = delete;

    // Loads the library if it is not loaded yet and looks the function up. Raises
    // RuntimeError LibraryNotFound or FunctionNotFound, naming the library file, the
    // function and the loader's reason.
    AnyFunction functionAddress(const char* functionName);

  private:
    void load(const char* forFunction);

    std::string fileName_;
    void* handle_ = nullptr;
};

template <typename Signature>
class BoundFunction;

// One function of an outside library, declared with the C type its library's header gives it
// and bound by its name on its first call; after that a call costs one indirect call. A
// failed lookup raises at that call and is tried again at the next.
//
//     OutsideLibrary winIo{"libWinIo.so"};
//     BoundFunction<decltype(::SetPortVal)> setPortVal{winIo, "SetPortVal"};
//     setPortVal(ports::kDataRegister, 48, 1);
template <typename Result, typename... Parameters>
class BoundFunction<Result(Parameters...)> {
  public:
    BoundFunction(OutsideLibrary& library, const char* name) : library_(library), name_(name) {}

    Result operator()(Parameters... arguments) {
        bind();
        return function_(arguments...);
    }

    // Binds the function now, before its first call; raises as a first call would.
    void bind() {
        if (function_ == nullptr) [[unlikely]] {
            function_ = reinterpret_cast<Function>(library_.functionAddress(name_));
        }
    }

  private:
    using Function = Result (*)(Parameters...);

    OutsideLibrary& library_;
    const char* name_;
    Function function_ = nullptr;
};

}  // namespace dotwall
