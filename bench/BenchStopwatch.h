#pragma once
// Wall and processor time of an operation, so a shared machine's load shows as the gap between them.
#include <QElapsedTimer>

#include <ctime>

namespace quillon::bench {

inline qint64 CpuNanoseconds()
{
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

class Stopwatch {
 public:
  void Start()
  {
    m_wall.start();
    m_cpu = CpuNanoseconds();
  }
  qint64 Wall() const { return m_wall.nsecsElapsed(); }
  qint64 Cpu() const { return CpuNanoseconds() - m_cpu; }

 private:
  QElapsedTimer m_wall;
  qint64 m_cpu = 0;
};

}  // namespace quillon::bench
