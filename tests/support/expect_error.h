#pragma once
// Checking that an operation fails with one of the program's error classes.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace velvasto::test {

// Runs `operation` and expects it to throw `Error` with `code` and the catalogue's `text`.
template <typename Error, typename Operation>
void ExpectError(Operation&& operation, std::int32_t code, const std::string& text) {
  try {
    operation();
    ADD_FAILURE() << "no error " << code;
  } catch (const Error& error) {
    EXPECT_EQ(error.Code(), code);
    EXPECT_EQ(error.Message(), text);
  }
}

}  // namespace velvasto::test
