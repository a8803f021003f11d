#pragma once
// Mame's -listxml output, read piece by piece while Mame prints it. A full list is some 270 MB,
// nearly all of it ROM, chip and switch details the import never uses, so the reader looks only
// at each machine's start tag and its leading children (description, year, manufacturer: Mame's
// element order puts them first) and skips the rest of the machine without decoding it. The
// buffer holds at most the unread tail of the data given, never the whole list.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace quillon {

// One machine of the list, with the values the import uses.
struct MameMachine {
  QString name;
  QString description;
  QString year;
  QString manufacturer;
  QString cloneOf;
  bool isBios = false;
  bool isDevice = false;
  bool runnable = true;

  // A machine a user can start as a game: neither a device nor a BIOS set, and runnable.
  bool IsGame() const { return runnable && !isDevice && !isBios; }
};

class MameXmlReader {
 public:
  enum class Step {
    Machine,   // a machine was read
    NeedData,  // the data so far holds no further complete machine
    End,       // the root element closed: the list is complete
    Failed     // the data is not a Mame list, or is broken (ErrorText says why)
  };

  void AddData(QByteArrayView data);
  // Reads the next machine from the data given so far.
  Step Next(MameMachine& machine);

  // The root element <mame> was seen: the program answered with a Mame list.
  bool HasRoot() const { return m_hasRoot; }
  bool IsComplete() const { return m_state == State::Done; }
  bool HasFailed() const { return m_state == State::Failed; }
  QString ErrorText() const { return m_error; }
  // Machine elements read so far (games, devices and BIOS sets).
  int MachinesRead() const { return m_machinesRead; }

 private:
  enum class State { Prolog, Root, MachineHeader, MachineSkip, Done, Failed };

  // A start or end tag found at some position of the buffer.
  struct Tag {
    qsizetype end = -1;  // just past its ">", -1 when the buffer ends first
    QByteArrayView name;
    QByteArrayView attributes;  // the raw text between the name and ">" or "/>"
    bool closing = false;       // </name>
    bool empty = false;         // <name ... />
  };

  // Moves to the next element tag, passing over declarations and comments; nullopt when `tag` was
  // read, otherwise the step to return.
  std::optional<Step> NextTag(Tag& tag);
  Step ReadProlog();
  Step ReadRoot();
  Step ReadMachineHeader();
  Step SkipToMachineEnd();
  Step Fail(const QString& reason);
  Step EmitMachine(qsizetype after);

  // Skips a comment, processing instruction or declaration starting at m_pos; false when the
  // buffer ends before it does. Sets the Failed state for markup the reader does not know.
  bool SkipMarkupDeclaration(bool* skipped);
  Tag ReadTag(qsizetype from) const;
  void ReadMachineAttributes(QByteArrayView attributes);
  void Compact();

  QByteArray m_buffer;
  qsizetype m_pos = 0;  // start of the first unread unit
  State m_state = State::Prolog;
  bool m_hasRoot = false;
  QByteArray m_rootName;
  QByteArray m_machineEnd;  // "</machine>" (or "</game>" in lists of older builds)
  MameMachine m_current;
  int m_machinesRead = 0;
  QString m_error;
};

// Replaces the five predefined entities and character references of XML text.
QString DecodeXmlText(QByteArrayView text);

}  // namespace quillon
