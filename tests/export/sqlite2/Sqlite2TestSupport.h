#pragma once
// Shared helpers of the SQLite 2 library tests: golden files, rows as TSV text, export runs.
#include "export/sqlite2/Sqlite2.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quillon::test {

// A file of the golden SQLite 2 set.
QString GoldenPath(const QString& name);
// A writable copy of a golden file at `path`.
bool CopyGolden(const QString& name, const QString& path);
QByteArray ReadBytes(const QString& path);
bool WriteBytes(const QString& path, const QByteArray& bytes);

// One value in the TSV conventions of the golden files: NULL as \N; \, TAB, LF, CR escaped.
QByteArray TsvValue(const sqlite2::Value& value);
// Every row of a table of a library file, one line each in rowid order: the rowid (tables
// without INTEGER PRIMARY KEY) or the INTEGER PRIMARY KEY column shows the row id; sets `error` when the file or table
// cannot be read.
QByteArray TableAsTsv(const QByteArray& fileBytes, const QByteArray& table, QString* error);

// The statements one export of a system sends, with FILE the transfer file.
QStringList ExportStatements(const QString& transferFile, const QString& systemId);
// Opens the library, sends the statements (every one must succeed) and closes it.
bool RunExport(const QString& library, const QString& transferFile, const QString& systemId, QString* error);

}  // namespace quillon::test
