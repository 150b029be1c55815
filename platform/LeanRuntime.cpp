// The C++ runtime's failure paths for the shipped programs, without the code the
// library's own versions bring along: its terminate handler carries a name
// demangler (46 KiB), and its logic and runtime errors carry a copy-on-write
// string of their own (another 45 KiB with its instantiation).
//
// Linked as an object file, these definitions come before libstdc++.a, so the
// library's members are never pulled in. Should a program reach one of the
// library's helpers not defined here, the link fails with a duplicate
// definition instead of growing silently.

#include <bits/functexcept.h>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <typeinfo>

namespace {

// Stands for std::logic_error, std::runtime_error and their kin. Nothing in the
// programs catches those by type, and the error box names every failure that is
// not one of ours alike, so only the type changes.
class LibraryFailure : public std::exception {
public:
    explicit LibraryFailure(const char* what) noexcept {
        std::strncpy(what_, what, sizeof what_ - 1);
        what_[sizeof what_ - 1] = '\0';
    }
    const char* what() const noexcept override { return what_; }

private:
    char what_[128];
};

[[noreturn]] void Fail(const char* what) { throw LibraryFailure(what); }

}  // namespace

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_bad_exception() { throw bad_exception(); }

void __throw_logic_error(const char* what) { Fail(what); }
void __throw_domain_error(const char* what) { Fail(what); }
void __throw_invalid_argument(const char* what) { Fail(what); }
void __throw_length_error(const char* what) { Fail(what); }
void __throw_out_of_range(const char* what) { Fail(what); }
// The pattern itself is message enough for a failure no user is meant to see.
void __throw_out_of_range_fmt(const char* format, ...) { Fail(format); }
void __throw_runtime_error(const char* what) { Fail(what); }
void __throw_range_error(const char* what) { Fail(what); }
void __throw_overflow_error(const char* what) { Fail(what); }
void __throw_underflow_error(const char* what) { Fail(what); }

}  // namespace std

namespace __gnu_cxx {

// The library's handler writes the failure's type name to stderr, which a GUI
// program does not have, and then aborts.
void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
