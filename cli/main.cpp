#include <cstdio>

int main() {
  std::fputs("velvasto-cli: no commands yet\n", stderr);
  return 2;
}
