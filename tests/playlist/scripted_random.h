#pragma once
// A random source for tests: hands out a fixed sequence (repeating it when it runs out) and
// counts how often the list reseeded it.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "playlist/random_source.h"

namespace velvasto::test {

class ScriptedRandom final : public RandomSource {
 public:
  // `reseeds` is incremented on every Reseed(); it must outlive the source.
  ScriptedRandom(std::vector<std::uint32_t> draws, int* reseeds) : draws_(std::move(draws)), reseeds_(reseeds) {}
  void Reseed() override { ++*reseeds_; }
  std::uint32_t Draw() override {
    const std::uint32_t value = draws_[next_ % draws_.size()];
    ++next_;
    return value;
  }

 private:
  std::vector<std::uint32_t> draws_;
  int* reseeds_;
  std::size_t next_ = 0;
};

}  // namespace velvasto::test
