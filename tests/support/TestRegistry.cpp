#include "TestRegistry.h"

#include <QStringList>
#include <QTest>

#include <cstring>

namespace quillon::test {

std::vector<TestClassEntry>& TestClasses()
{
  static std::vector<TestClassEntry> classes;
  return classes;
}

int RegisterTestClass(const char* name, std::function<std::unique_ptr<QObject>()> create)
{
  TestClasses().push_back({name, std::move(create)});
  return static_cast<int>(TestClasses().size());
}

int RunRegisteredTests(int argc, char** argv)
{
  const char* only = nullptr;
  std::vector<char*> args(argv, argv + argc);
  if (argc > 1 && argv[1][0] != '-') {
    only = argv[1];
    args.erase(args.begin() + 1);
  }
  int failures = 0;
  bool ranAny = false;
  for (const TestClassEntry& entry : TestClasses()) {
    if (only && std::strcmp(only, entry.name) != 0)
      continue;
    ranAny = true;
    std::unique_ptr<QObject> instance = entry.create();
    failures += QTest::qExec(instance.get(), static_cast<int>(args.size()), args.data());
  }
  if (only && !ranAny) {
    qWarning("No test class named %s", only);
    return 1;
  }
  return failures;
}

}  // namespace quillon::test
