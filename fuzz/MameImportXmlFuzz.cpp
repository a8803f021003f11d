// Mame -listxml output against the streaming reader: however the output is cut into pieces as it
// arrives, the reader must give the same machines and end the same way as when it gets all of it
// at once.
#include "FuzzSupport.h"

#include "scan/MameImportXml.h"

#include <vector>

using namespace quillon;

namespace {

struct Reading {
  std::vector<MameMachine> machines;
  MameXmlReader::Step last = MameXmlReader::Step::NeedData;
  bool complete = false;
  bool failed = false;
  int machinesRead = 0;
};

// Reads what the data given so far holds; returns false once the reader has stopped.
bool Drain(MameXmlReader& reader, Reading& reading)
{
  MameMachine machine;
  for (;;) {
    const MameXmlReader::Step step = reader.Next(machine);
    if (step == MameXmlReader::Step::Machine) {
      reading.machines.push_back(machine);
      machine = MameMachine();
      continue;
    }
    reading.last = step;
    return step == MameXmlReader::Step::NeedData;
  }
}

Reading Read(QByteArrayView data, std::size_t pieceSize)
{
  Reading reading;
  MameXmlReader reader;
  for (qsizetype at = 0; at < data.size();) {
    const qsizetype size = std::min<qsizetype>(data.size() - at, qsizetype(pieceSize));
    reader.AddData(data.sliced(at, size));
    at += size;
    if (!Drain(reader, reading))
      break;
  }
  if (data.isEmpty())
    Drain(reader, reading);
  reading.complete = reader.IsComplete();
  reading.failed = reader.HasFailed();
  reading.machinesRead = reader.MachinesRead();
  return reading;
}

bool SameMachine(const MameMachine& a, const MameMachine& b)
{
  return a.name == b.name && a.description == b.description && a.year == b.year && a.manufacturer == b.manufacturer &&
         a.cloneOf == b.cloneOf && a.isBios == b.isBios && a.isDevice == b.isDevice && a.runnable == b.runnable;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const QByteArray bytes = fuzz::Bytes(data, size);
  const Reading whole = Read(bytes, size + 1);
  FUZZ_CHECK(int(whole.machines.size()) == whole.machinesRead);
  FUZZ_CHECK(whole.complete == (whole.last == MameXmlReader::Step::End));
  FUZZ_CHECK(whole.failed == (whole.last == MameXmlReader::Step::Failed));

  // Piece sizes from the data, so the engine explores the cuts: 1 to 64 bytes.
  const std::size_t pieceSize = size == 0 ? 1 : 1 + data[size / 2] % 64;
  const Reading pieces = Read(bytes, pieceSize);
  FUZZ_CHECK(pieces.last == whole.last);
  FUZZ_CHECK(pieces.machines.size() == whole.machines.size());
  for (std::size_t i = 0; i < whole.machines.size(); ++i)
    FUZZ_CHECK(SameMachine(pieces.machines[i], whole.machines[i]));

  for (const MameMachine& machine : whole.machines)
    DecodeXmlText(machine.description.toUtf8());
  DecodeXmlText(bytes);
  return 0;
}
