#pragma once
// The Error a call throws, so a test can check its number and text in one line; a call
// that throws nothing fails the test.

#include "common/error.h"

#include <gtest/gtest.h>

namespace zq::test {

template <class Call>
Error thrownError(Call&& call) {
    try {
        call();
    } catch (const Error& e) {
        return e;
    }
    ADD_FAILURE() << "no error thrown";
    return Error(0, "");
}

}  // namespace zq::test
