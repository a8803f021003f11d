#pragma once
// Lets several Qt Test classes share one executable per source area.
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace quillon::test {

struct TestClassEntry {
  const char* name;
  std::function<std::unique_ptr<QObject>()> create;
};

std::vector<TestClassEntry>& TestClasses();
int RegisterTestClass(const char* name, std::function<std::unique_ptr<QObject>()> create);
// Runs every registered class, or only the one named by the first argument; returns the number
// of failed test functions.
int RunRegisteredTests(int argc, char** argv);

}  // namespace quillon::test

#define QUILLON_TEST_CLASS(Class)             \
  static const int quillonRegistered##Class = \
      ::quillon::test::RegisterTestClass(#Class, [] { return std::make_unique<Class>(); });
