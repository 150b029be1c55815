// The failure paths of platform/LeanRuntime.cpp, which the shipped programs use in
// place of the C++ library's: the library's failures still arrive as exceptions,
// and the error box names them as it names every foreign failure.

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "ErrorBox.h"

namespace {

struct TLibraryFailureCase {
    const char* name;
    std::function<void()> fail;
};

const TLibraryFailureCase LibraryFailureCases[] = {
    {"substr past the end", [] { (void)std::string().substr(1); }},
    {"vector beyond its largest size", [] { std::vector<char>().reserve(std::vector<char>().max_size() + 1ull); }},
    {"string from a null pointer", [] {
         const char* volatile none = nullptr;
         std::string text(none);
     }},
};

TEST(LeanRuntime, LibraryFailuresAreForeignFailures) {
    for (const auto& failureCase : LibraryFailureCases) {
        SCOPED_TRACE(failureCase.name);
        std::exception_ptr failure;
        try {
            failureCase.fail();
        } catch (const std::exception& e) {
            // The library's own would be a std::logic_error: the lean one is linked.
            EXPECT_EQ(nullptr, dynamic_cast<const std::logic_error*>(&e));
            EXPECT_STRNE("", e.what());
            failure = std::current_exception();
        }
        ASSERT_TRUE(failure);
        EXPECT_EQ("外部例外 E06D7363", FailureMessage(failure));
    }
}

TEST(LeanRuntime, AllocationFailureStaysBadAlloc) {
    EXPECT_THROW(std::__throw_bad_alloc(), std::bad_alloc);
    EXPECT_THROW(std::__throw_bad_array_new_length(), std::bad_array_new_length);
}

}  // namespace
