#pragma once
// Libraries the host needs only for one service each (CUPS, ALSA, Xlib,
// libblkid, libudev), opened at run time when that service is first asked.
// Linking them would load them, and all they depend on, into every start of
// every program, whether or not the machine has a printer, a sound card, a
// screen or a drive to probe.
#include <optional>
#include <type_traits>

namespace si32 {

// A library opened by its soname. It is never closed: these libraries keep
// handlers, threads and atexit work that must not outlive their code.
class SharedLibrary {
public:
    explicit SharedLibrary(const char* soname);
    bool loaded() const { return handle_ != nullptr; }

    // Sets function to the library's function of that name, typed as the
    // caller declares it; false (and nullptr) when the library lacks it.
    template <class Function>
    bool bind(Function*& function, const char* name) const {
        static_assert(std::is_function_v<Function>, "bind a function pointer");
        function = reinterpret_cast<Function*>(address(name));
        return function != nullptr;
    }

private:
    void* address(const char* name) const;
    void* handle_;
};

// A member for a library function, with the type the library's own header
// gives it, so every call through it is checked as a direct call would be.
#define SI32_LIBRARY_FUNCTION(name) decltype(&::name) name = nullptr
// Binds such a member to the function of the same name.
#define SI32_BIND(library, name) (library).bind(name, #name)

// The functions of one library, bound once at the first call by
// Api::bind(const SharedLibrary&) (true when it found them all) from the
// library named Api::kSoname; nullptr when the library or any function is
// missing, and then every later call fails at once without trying again.
template <class Api>
const Api* loadLibraryOnce() {
    static const std::optional<Api> api = []() -> std::optional<Api> {
        const SharedLibrary library(Api::kSoname);
        Api functions;
        if (!library.loaded() || !functions.bind(library)) return std::nullopt;
        return functions;
    }();
    return api ? &*api : nullptr;
}

}  // namespace si32
