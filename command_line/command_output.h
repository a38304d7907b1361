#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

/// What the command line prints on standard output: one line per result, its fields separated by
/// tabs, or one JSON array of them all. Writing fails loudly: a full disk or a closed output is
/// said on standard error, not taken for success.
class CommandOutput {
 public:
  explicit CommandOutput(bool json) : json_(json) {}

  /// One result: `name` byte for byte (escaped), then `fields`, or `object` in the JSON array.
  void add(const QByteArray& name, const QStringList& fields, const QJsonObject& object);
  /// The same with fields given byte for byte, for those that hold a name that need not be text.
  void addBytes(const QByteArray& name, const QByteArrayList& fields, const QJsonObject& object);

  /// Writes what is still held and flushes; false, having said why on standard error, when the
  /// output could not be written.
  bool finish();

 private:
  bool json_;
  QJsonArray objects_;
};

/// A field with its tabs, newlines and carriage returns written as \t, \n and \r, and every other
/// control character and DEL as \x and two hex digits (\x1b), so that every line is one result,
/// every tab separates two fields, and no name steers the terminal. Where a name may hold a
/// backslash it is written \\ (not on Windows, where it parts folders and no name holds a control).
QByteArray escapedField(const QByteArray& field);

/// `message` for one field of the result for the file `path` (given byte for byte): its own line
/// breaks become blanks, but where it names the file, or the file's folder, the name stays as it is,
/// so that the field's escaping writes a newline in it as the file's field does (\n).
QString oneLine(const QString& message, const QByteArray& path);

/// Writes `text` to standard output and flushes it; false, said on standard error, when it could not.
bool printAll(const QByteArray& text);
