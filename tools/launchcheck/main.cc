#include <iostream>
#include <string>
#include <vector>

#include "launchcheck.h"
#include "probe_host.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  return launchcheck::Launchcheck(args, std::cout, std::cerr, launchcheck::ThisMachine());
}
