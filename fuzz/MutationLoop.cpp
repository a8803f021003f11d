// A plain fuzzing engine for compilers without libFuzzer. It runs every corpus input once, then
// feeds random mutations of them to the target until a time or run limit. It takes the options of
// libFuzzer that scripts/fuzz.sh and the tests pass (-max_total_time, -runs, -seed, -max_len,
// -artifact_prefix) and ignores the others, so both engines are called alike. There is no coverage
// feedback: it finds shallow faults only, which is why scripts/fuzz.sh prefers libFuzzer.
//
// An input that ends the process (a signal, a sanitizer report, a failed check) is written to
// <artifact_prefix>crash-<hash> first, as libFuzzer does, so it can be replayed and kept.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);
// Present when a sanitizer runtime is linked in: called before it ends the process.
extern "C" __attribute__((weak)) void __sanitizer_set_death_callback(void (*callback)());

namespace {

using Input = std::vector<std::uint8_t>;

struct Options {
  long long maxTotalTime = 0;  // seconds; 0: no limit
  long long runs = -1;         // mutated runs; -1: no limit (0: the corpus only)
  unsigned seed = 0;
  std::size_t maxLen = 0;  // 0: the largest corpus input, at least 4096
  std::string artifactPrefix = "./";
  std::vector<std::string> corpus;
};

// The input being run, kept where the crash path can reach it without allocating.
const std::uint8_t* g_currentData = nullptr;
std::size_t g_currentSize = 0;
char g_crashPath[4096];
volatile sig_atomic_t g_crashWritten = 0;

void WriteCrashInput()
{
  if (g_crashWritten || !g_currentData)
    return;
  g_crashWritten = 1;
  std::uint64_t hash = 1469598103934665603ull;
  for (std::size_t i = 0; i < g_currentSize; ++i)
    hash = (hash ^ g_currentData[i]) * 1099511628211ull;
  char* end = g_crashPath + std::strlen(g_crashPath);
  for (int shift = 60; shift >= 0; shift -= 4)
    *end++ = "0123456789abcdef"[(hash >> shift) & 0xf];
  *end = '\0';
  const int fd = ::open(g_crashPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0)
    return;
  std::size_t written = 0;
  while (written < g_currentSize) {
    const ssize_t n = ::write(fd, g_currentData + written, g_currentSize - written);
    if (n <= 0)
      break;
    written += static_cast<std::size_t>(n);
  }
  ::close(fd);
  static const char kSaved[] = "\n==mutation loop== the crashing input was written to ";
  [[maybe_unused]] ssize_t ignored = ::write(2, kSaved, sizeof kSaved - 1);
  ignored = ::write(2, g_crashPath, std::strlen(g_crashPath));
  ignored = ::write(2, "\n", 1);
}

void OnFatalSignal(int signal)
{
  WriteCrashInput();
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

void InstallCrashHandlers(const std::string& prefix)
{
  std::snprintf(g_crashPath, sizeof g_crashPath - 20, "%scrash-", prefix.c_str());
  for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
    ::signal(signal, OnFatalSignal);
  if (__sanitizer_set_death_callback)
    __sanitizer_set_death_callback(WriteCrashInput);
}

bool ReadFile(const std::string& path, Input* content)
{
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return false;
  content->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

// The files of a corpus folder (and its subfolders), or the file itself.
void CollectInputs(const std::string& path, std::vector<Input>* inputs)
{
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    std::fprintf(stderr, "mutation loop: no such corpus: %s\n", path.c_str());
    return;
  }
  if (!S_ISDIR(info.st_mode)) {
    Input content;
    if (ReadFile(path, &content))
      inputs->push_back(std::move(content));
    return;
  }
  DIR* folder = ::opendir(path.c_str());
  if (!folder)
    return;
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(folder)) {
    if (entry->d_name[0] != '.')
      names.emplace_back(entry->d_name);
  }
  ::closedir(folder);
  std::sort(names.begin(), names.end());
  for (const std::string& name : names)
    CollectInputs(path + "/" + name, inputs);
}

bool ParseOption(const char* argument, const char* name, std::string* value)
{
  const std::size_t length = std::strlen(name);
  if (std::strncmp(argument, name, length) != 0 || argument[length] != '=')
    return false;
  *value = argument + length + 1;
  return true;
}

Options ParseOptions(int argc, char** argv)
{
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string value;
    if (ParseOption(argv[i], "-max_total_time", &value))
      options.maxTotalTime = std::atoll(value.c_str());
    else if (ParseOption(argv[i], "-runs", &value))
      options.runs = std::atoll(value.c_str());
    else if (ParseOption(argv[i], "-seed", &value))
      options.seed = static_cast<unsigned>(std::strtoul(value.c_str(), nullptr, 10));
    else if (ParseOption(argv[i], "-max_len", &value))
      options.maxLen = static_cast<std::size_t>(std::atoll(value.c_str()));
    else if (ParseOption(argv[i], "-artifact_prefix", &value))
      options.artifactPrefix = value;
    else if (argv[i][0] != '-')
      options.corpus.emplace_back(argv[i]);
  }
  if (options.seed == 0)
    options.seed = static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count());
  return options;
}

class Mutator {
 public:
  Mutator(unsigned seed, const std::vector<Input>& corpus, std::size_t maxLen)
      : m_random(seed), m_corpus(corpus), m_maxLen(maxLen)
  {
  }

  Input Next()
  {
    Input input = m_corpus.empty() ? Input() : m_corpus[Below(m_corpus.size())];
    for (std::size_t steps = 1 + Below(4); steps > 0; --steps)
      MutateOnce(input);
    if (input.size() > m_maxLen)
      input.resize(m_maxLen);
    return input;
  }

 private:
  std::size_t Below(std::size_t limit) { return limit == 0 ? 0 : m_random() % limit; }
  std::uint8_t RandomByte() { return static_cast<std::uint8_t>(m_random()); }

  // Bytes that delimit the formats under test: brackets, quotes, separators, line ends, NUL.
  std::uint8_t InterestingByte()
  {
    static const std::uint8_t kBytes[] = {0,   0xff, 0x7f, 0x80, 0xc3, 0xef, '(', ')', '[',  ']', '<',
                                          '>', '"',  '\'', '&',  ';',  '=',  ' ', '/', '\r', '\n'};
    return kBytes[Below(sizeof kBytes)];
  }

  void MutateOnce(Input& input)
  {
    switch (input.empty() ? 2 : Below(8)) {
      case 0:
        input[Below(input.size())] ^= static_cast<std::uint8_t>(1u << Below(8));
        break;
      case 1:
        input[Below(input.size())] = Below(2) ? RandomByte() : InterestingByte();
        break;
      case 2: {
        const std::size_t at = Below(input.size() + 1);
        Input bytes(1 + Below(8));
        for (std::uint8_t& byte : bytes)
          byte = Below(2) ? RandomByte() : InterestingByte();
        input.insert(input.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin(), bytes.end());
        break;
      }
      case 3: {
        const std::size_t at = Below(input.size());
        const std::size_t count = std::min(input.size() - at, 1 + Below(16));
        input.erase(input.begin() + static_cast<std::ptrdiff_t>(at),
                    input.begin() + static_cast<std::ptrdiff_t>(at + count));
        break;
      }
      case 4: {
        const std::size_t from = Below(input.size());
        const std::size_t count = std::min(input.size() - from, 1 + Below(64));
        const Input piece(input.begin() + static_cast<std::ptrdiff_t>(from),
                          input.begin() + static_cast<std::ptrdiff_t>(from + count));
        const std::size_t at = Below(input.size() + 1);
        input.insert(input.begin() + static_cast<std::ptrdiff_t>(at), piece.begin(), piece.end());
        break;
      }
      case 5: {
        // A 1, 2 or 4 byte integer with a boundary value, in either byte order.
        static const std::uint32_t kValues[] = {0,     1,      2,      0x7f,       0x80,       0xff,
                                                0x400, 0x7fff, 0xffff, 0x7fffffff, 0x80000000, 0xffffffff};
        const std::uint32_t value = kValues[Below(sizeof kValues / sizeof kValues[0])];
        const std::size_t width = std::size_t(1) << Below(3);
        if (input.size() < width)
          break;
        const std::size_t at = Below(input.size() - width + 1);
        const bool big = Below(2) == 1;
        for (std::size_t i = 0; i < width; ++i)
          input[at + i] = static_cast<std::uint8_t>(value >> (8 * (big ? width - 1 - i : i)));
        break;
      }
      case 6: {
        if (m_corpus.empty())
          break;
        const Input& other = m_corpus[Below(m_corpus.size())];
        const std::size_t keep = Below(input.size() + 1);
        const std::size_t from = Below(other.size() + 1);
        input.resize(keep);
        input.insert(input.end(), other.begin() + static_cast<std::ptrdiff_t>(from), other.end());
        break;
      }
      default:
        input.resize(Below(input.size() + 1));
        break;
    }
  }

  std::mt19937 m_random;
  const std::vector<Input>& m_corpus;
  std::size_t m_maxLen;
};

void Run(const Input& input)
{
  g_currentData = input.data();
  g_currentSize = input.size();
  LLVMFuzzerTestOneInput(input.data(), input.size());
  g_currentData = nullptr;
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
  const Options options = ParseOptions(argc, argv);
  InstallCrashHandlers(options.artifactPrefix);
  if (LLVMFuzzerInitialize)
    LLVMFuzzerInitialize(&argc, &argv);

  std::vector<Input> corpus;
  for (const std::string& path : options.corpus)
    CollectInputs(path, &corpus);
  std::size_t maxLen = options.maxLen;
  if (maxLen == 0) {
    maxLen = 4096;
    for (const Input& input : corpus)
      maxLen = std::max(maxLen, input.size());
  }
  std::fprintf(stderr, "mutation loop: seed %u, %zu corpus input(s), inputs up to %zu bytes\n", options.seed,
               corpus.size(), maxLen);

  const auto start = std::chrono::steady_clock::now();
  long long executions = 0;
  for (const Input& input : corpus) {
    Run(input);
    ++executions;
  }
  Mutator mutator(options.seed, corpus, maxLen);
  long long nextReport = 1024;
  for (long long run = 0; options.runs < 0 || run < options.runs; ++run) {
    if (options.maxTotalTime > 0 && SecondsSince(start) >= double(options.maxTotalTime))
      break;
    if (options.runs < 0 && options.maxTotalTime <= 0)
      break;  // neither limit: the corpus only
    Run(mutator.Next());
    if (++executions == nextReport) {
      nextReport *= 2;
      std::fprintf(stderr, "#%lld\texec/s: %.0f\n", executions,
                   double(executions) / std::max(SecondsSince(start), 1e-3));
    }
  }
  const double seconds = SecondsSince(start);
  std::fprintf(stderr, "Done %lld runs in %.0f second(s) (%.0f exec/s)\n", executions, seconds,
               double(executions) / std::max(seconds, 1e-3));
  return 0;
}
