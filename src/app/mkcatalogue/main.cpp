// Build-time tool: runs a SQL script into a new SQLite file, replacing it atomically.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

bool ReadWhole(const char* path, std::string& text)
{
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = buffer.str();
  return true;
}

int RunScript(const std::string& script, const std::string& target)
{
  sqlite3* db = nullptr;
  if (sqlite3_open(target.c_str(), &db) != SQLITE_OK) {
    std::fprintf(stderr, "cannot create %s: %s\n", target.c_str(), sqlite3_errmsg(db));
    sqlite3_close(db);
    return 1;
  }
  char* message = nullptr;
  const int rc = sqlite3_exec(db, script.c_str(), nullptr, nullptr, &message);
  if (rc != SQLITE_OK) {
    std::fprintf(stderr, "catalogue script failed: %s\n", message ? message : "unknown error");
    sqlite3_free(message);
    sqlite3_close(db);
    return 1;
  }
  sqlite3_close(db);
  return 0;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s SCRIPT.sql OUTPUT\n", argv[0]);
    return 2;
  }
  std::string script;
  if (!ReadWhole(argv[1], script)) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  const std::string target = argv[2];
  const std::string scratch = target + ".building";
  std::remove(scratch.c_str());
  if (RunScript(script, scratch) != 0) {
    std::remove(scratch.c_str());
    return 1;
  }
  if (std::rename(scratch.c_str(), target.c_str()) != 0) {
    std::perror("rename");
    return 1;
  }
  return 0;
}
