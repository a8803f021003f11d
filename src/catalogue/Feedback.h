#pragma once
// How long-running core work talks back to whichever front end started it: the status line, the
// progress bar, the scanner's results list, questions and messages, and a chance to let pending
// window events run. The GUI, the CLI and the tests each implement it.
#include <QString>
#include <QStringList>

namespace quillon {

// Kinds of status message. The status line shows "Status: " followed by the message of the kind.
enum class StatusKind { Ok = 0, Done = 1, Error = 2, Text = 3, Upgrading = 4 };

// The message a kind shows, without the "Status: " prefix.
QString StatusMessage(StatusKind kind, const QString& text = {});
// The whole status line: "Status: " + StatusMessage(kind, text).
QString StatusLine(StatusKind kind, const QString& text = {});

enum class Answer { Yes, No, Cancel, Ok };
enum class QuestionButtons { YesNo, YesNoCancel, OkCancel };
enum class MessageIcon { None, Information, Question, Warning, Critical };

// A question the user must answer. `key` names the question for front ends that answer without
// asking (the CLI maps its flags to keys); `fallback` is the answer when nobody can be asked.
struct Question {
  QString key;
  QString title;
  QString text;
  QuestionButtons buttons = QuestionButtons::YesNo;
  MessageIcon icon = MessageIcon::Question;
  Answer fallback = Answer::No;
};

class Feedback {
 public:
  virtual ~Feedback() = default;

  virtual void SetStatus(StatusKind kind, const QString& text = {}) = 0;
  virtual void SetProgressMaximum(int maximum) = 0;
  virtual void SetProgressValue(int value) = 0;
  // One line of a results list (the scanner's); front ends without one may print it.
  virtual void AddResultLine(const QString& line) = 0;
  // Lets pending window events run; front ends without a window do nothing.
  virtual void Yield() = 0;
  virtual Answer Ask(const Question& question) = 0;
  // A message the user only acknowledges.
  virtual void ShowMessage(const QString& title, const QString& text, MessageIcon icon) = 0;
  // The user asked to stop the work under way (a progress dialog's Cancel). Long work asks it
  // after each Yield; front ends without a way to cancel never say so.
  virtual bool IsCancelled() { return false; }
};

// The numbers our own error reports carry: the classic run-time and database error numbers that
// users know from such messages. Failures of the SQLite engine carry its own result code instead.
enum ErrorNumber : int {
  kGeneralError = 1,  // a failure with no number of its own
  kInvalidProcedureCall = 5,
  kTypeMismatch = 13,   // a value of the wrong kind
  kUserInterrupt = 18,  // the user cancelled
  kFileNotFound = 53,
  kPermissionDenied = 70,
  kPathFileAccessError = 75,
  kPathNotFound = 76,
  kInvalidFileFormat = 321,
  kNoCurrentRecord = 3021,  // the row is not (or no longer) there
  kDuplicateValue = 3022,   // the change would create a duplicate
  kItemNotFound = 3265,     // no such column or field
};

// The error report of every catalogue routine: status kind 2 with
// number + "-(" + routine + ")-" + description.
QString ErrorReportText(int number, const QString& routine, const QString& description);
void ReportError(Feedback& feedback, int number, const QString& routine, const QString& description);

// A Feedback that reports nothing and answers every question with its fallback.
class SilentFeedback final : public Feedback {
 public:
  void SetStatus(StatusKind, const QString&) override {}
  void SetProgressMaximum(int) override {}
  void SetProgressValue(int) override {}
  void AddResultLine(const QString&) override {}
  void Yield() override {}
  Answer Ask(const Question& question) override { return question.fallback; }
  void ShowMessage(const QString&, const QString&, MessageIcon) override {}
};

}  // namespace quillon
