#include "app/program.h"

#include <cstdlib>
#include <memory>

namespace {
std::unique_ptr<Program> instance;
}

void createGlobalState() {
  instance = std::make_unique<Program>();
}

void releaseGlobalState() {
  if (!instance) return;
  instance->profile.destroy();
  instance.reset();
}

bool hasGlobalState() {
  return instance != nullptr;
}

Program& program() {
  if (!instance) std::abort();
  return *instance;
}
