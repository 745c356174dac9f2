// Lumicon: sends one message to one camera or to every camera and prints
// every parameter of every reply.

#include <iostream>

#include "ULumicon.h"

int main(int argc, char** argv) {
  return LumiconMain(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
