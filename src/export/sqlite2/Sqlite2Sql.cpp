#include "export/sqlite2/Sqlite2Sql.h"

namespace quillon::sqlite2 {

bool Token::Is(const char* keyword) const
{
  return (kind == Kind::Word || kind == Kind::Symbol) && text.compare(keyword, Qt::CaseInsensitive) == 0;
}

namespace {

bool IsIdentifierByte(unsigned char c)
{
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c >= 0x80;
}

bool IsSpace(unsigned char c)
{
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

}  // namespace

std::optional<std::vector<Token>> Tokenize(const QByteArray& sql, QString* error)
{
  std::vector<Token> tokens;
  const qsizetype n = sql.size();
  auto at = [&](qsizetype i) { return i < n ? static_cast<unsigned char>(sql[i]) : 0; };
  qsizetype i = 0;
  auto fail = [&](const QString& what) {
    if (error)
      *error = what;
    return std::nullopt;
  };
  while (i < n) {
    const unsigned char c = at(i);
    const qsizetype start = i;
    if (IsSpace(c)) {
      ++i;
    } else if (c == '-' && at(i + 1) == '-') {
      while (i < n && at(i) != '\n')
        ++i;
    } else if (c == '/' && at(i + 1) == '*') {
      const qsizetype close = sql.indexOf("*/", i + 2);
      if (close < 0)
        return fail(QStringLiteral("unterminated comment"));
      i = close + 2;
    } else if (c == '\'' || c == '"' || c == '[') {
      const char closing = c == '[' ? ']' : char(c);
      QByteArray text;
      ++i;
      for (;;) {
        if (i >= n)
          return fail(QStringLiteral("unterminated quoted text"));
        if (sql[i] == closing) {
          if (closing != ']' && at(i + 1) == static_cast<unsigned char>(closing)) {
            text.append(closing);
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        text.append(sql[i++]);
      }
      // Single quotes make a string; double quotes and brackets an identifier (a word).
      tokens.push_back(Token{c == '\'' ? Token::Kind::String : Token::Kind::Word, text, start, i});
    } else if ((c >= '0' && c <= '9') || (c == '.' && at(i + 1) >= '0' && at(i + 1) <= '9')) {
      while (IsIdentifierByte(at(i)) || at(i) == '.' ||
             ((at(i) == '+' || at(i) == '-') && (at(i - 1) == 'e' || at(i - 1) == 'E')))
        ++i;
      tokens.push_back(Token{Token::Kind::Number, sql.mid(start, i - start), start, i});
    } else if (IsIdentifierByte(c)) {
      while (IsIdentifierByte(at(i)))
        ++i;
      tokens.push_back(Token{Token::Kind::Word, sql.mid(start, i - start), start, i});
    } else {
      static const char* const kTwoByteSymbols[] = {"==", "!=", "<>", "<=", ">=", "||", "<<", ">>"};
      qsizetype length = 1;
      for (const char* symbol : kTwoByteSymbols) {
        if (sql.mid(i, 2) == symbol)
          length = 2;
      }
      if (QByteArray("(),;.=<>+-*/%&|~!").indexOf(char(c)) < 0 && length == 1)
        return fail(QStringLiteral("unrecognized token at byte %1").arg(i));
      i += length;
      tokens.push_back(Token{Token::Kind::Symbol, sql.mid(start, length), start, i});
    }
  }
  return tokens;
}

bool TypeIsText(const QByteArray& declaredType)
{
  const QByteArray lower = declaredType.toLower();
  return lower.contains("char") || lower.contains("clob") || lower.contains("blob") || lower.contains("text");
}

int TableSchema::ColumnIndex(const QByteArray& column) const
{
  for (size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].name.compare(column, Qt::CaseInsensitive) == 0)
      return int(i);
  }
  return -1;
}

namespace {

struct SyntaxError {
  QString message;
};

// Words that end a column's type and start its constraints.
bool IsConstraintKeyword(const Token& token)
{
  static const char* const kKeywords[] = {"CONSTRAINT", "DEFAULT", "NULL",       "NOT",     "PRIMARY",
                                          "UNIQUE",     "CHECK",   "REFERENCES", "COLLATE", "DEFERRABLE"};
  for (const char* keyword : kKeywords) {
    if (token.Is(keyword))
      return true;
  }
  return false;
}

class Parser {
 public:
  Parser(const QByteArray& sql, std::vector<Token> tokens) : m_sql(sql), m_tokens(std::move(tokens)) {}

  bool AtEnd() const { return m_position >= m_tokens.size(); }
  const Token* Peek(size_t ahead = 0) const
  {
    return m_position + ahead < m_tokens.size() ? &m_tokens[m_position + ahead] : nullptr;
  }
  const Token& Next()
  {
    if (AtEnd())
      throw SyntaxError{QStringLiteral("incomplete statement")};
    return m_tokens[m_position++];
  }
  bool Accept(const char* keyword)
  {
    if (Peek() && Peek()->Is(keyword)) {
      ++m_position;
      return true;
    }
    return false;
  }
  const Token& Expect(const char* keyword)
  {
    if (!Peek() || !Peek()->Is(keyword))
      throw SyntaxError{QStringLiteral("expected %1 near \"%2\"").arg(QString::fromLatin1(keyword), Near())};
    return m_tokens[m_position++];
  }
  QString Near() const { return Peek() ? QString::fromLatin1(Peek()->text) : QStringLiteral("end of statement"); }

  // A name, optionally qualified with a database name ("main." or "temp.") which is dropped.
  QByteArray Name(const char* what)
  {
    const Token& token = Next();
    if (token.kind != Token::Kind::Word && token.kind != Token::Kind::String)
      throw SyntaxError{
          QStringLiteral("expected %1 near \"%2\"").arg(QString::fromLatin1(what), QString::fromLatin1(token.text))};
    return token.text;
  }
  QByteArray TableName()
  {
    QByteArray name = Name("a table name");
    if (Accept(".")) {
      if (name.compare("main", Qt::CaseInsensitive) != 0 && name.compare("temp", Qt::CaseInsensitive) != 0)
        throw SyntaxError{QStringLiteral("unknown database %1").arg(QString::fromLatin1(name))};
      name = Name("a table name");
    }
    return name;
  }
  // A column name, optionally qualified by a table name.
  QByteArray ColumnName(QByteArray* table = nullptr)
  {
    QByteArray name = Name("a column name");
    if (Accept(".")) {
      if (table)
        *table = name;
      name = Name("a column name");
    }
    return name;
  }

  Value Literal()
  {
    const Token& token = Next();
    if (token.kind == Token::Kind::String || token.kind == Token::Kind::Number)
      return token.text;
    if (token.Is("NULL"))
      return std::nullopt;
    if ((token.Is("-") || token.Is("+")) && Peek() && Peek()->kind == Token::Kind::Number) {
      const QByteArray number = Next().text;
      return token.Is("-") ? QByteArray("-") + number : number;
    }
    throw SyntaxError{QStringLiteral("expected a literal value near \"%1\"").arg(QString::fromLatin1(token.text))};
  }

  bool NextIsNumber() const
  {
    return Peek() && (Peek()->kind == Token::Kind::Number ||
                      ((Peek()->Is("-") || Peek()->Is("+")) && Peek(1) && Peek(1)->kind == Token::Kind::Number));
  }

  // Skips a balanced parenthesised group; the opening parenthesis is the next token.
  void SkipGroup()
  {
    Expect("(");
    for (int depth = 1; depth > 0;) {
      const Token& token = Next();
      if (token.Is("("))
        ++depth;
      else if (token.Is(")"))
        --depth;
    }
  }

  // "ON CONFLICT action"; true when the action is other than the default ABORT.
  bool ConflictClause()
  {
    if (!(Peek() && Peek()->Is("ON") && Peek(1) && Peek(1)->Is("CONFLICT")))
      return false;
    m_position += 2;
    return !Next().Is("ABORT");
  }

  std::vector<QByteArray> NameList(bool allowSortOrder)
  {
    std::vector<QByteArray> names;
    Expect("(");
    do {
      names.push_back(Name("a column name"));
      if (allowSortOrder && !Accept("ASC"))
        Accept("DESC");
    } while (Accept(","));
    Expect(")");
    return names;
  }

  TableSchema CreateTableBody(bool temporary)
  {
    TableSchema table;
    table.temporary = temporary;
    table.name = TableName();
    if (Accept("AS"))
      throw SyntaxError{QStringLiteral("CREATE TABLE ... AS SELECT is not supported")};
    Expect("(");
    std::vector<std::vector<QByteArray>> primaryKeys;
    std::vector<std::vector<QByteArray>> uniques;  // with primary keys, in the engine's order
    std::vector<bool> uniqueIsPrimary;
    do {
      if (Peek() && (Peek()->Is("CONSTRAINT") || Peek()->Is("PRIMARY") || Peek()->Is("UNIQUE") || Peek()->Is("CHECK") ||
                     Peek()->Is("FOREIGN"))) {
        TableConstraint(uniques, uniqueIsPrimary);
        continue;
      }
      ColumnSchema column;
      column.name = Name("a column name");
      QByteArray type;
      while (Peek() && Peek()->kind != Token::Kind::Symbol && !IsConstraintKeyword(*Peek())) {
        if (!type.isEmpty())
          type.append(' ');
        type.append(Next().text);
      }
      if (Peek() && Peek()->Is("(") && !type.isEmpty())
        SkipGroup();
      column.declaredType = type;
      column.numeric = !TypeIsText(type);
      table.columns.push_back(column);
      ColumnConstraints(table, uniques, uniqueIsPrimary);
    } while (Accept(","));
    Expect(")");
    // The primary key is a row id only when it is one column of type exactly INTEGER.
    for (size_t i = 0; i < uniques.size(); ++i) {
      std::vector<int> columns;
      for (const QByteArray& name : uniques[i]) {
        const int column = table.ColumnIndex(name);
        if (column < 0)
          throw SyntaxError{QStringLiteral("table %1 has no column named %2")
                                .arg(QString::fromLatin1(table.name), QString::fromLatin1(name))};
        columns.push_back(column);
      }
      if (uniqueIsPrimary[i] && columns.size() == 1 &&
          QByteArray(table.columns[size_t(columns[0])].declaredType).replace(" ", "").toUpper() == "INTEGER") {
        table.integerPrimaryKey = columns[0];
        continue;
      }
      table.uniqueColumnSets.push_back(columns);
    }
    return table;
  }

  void ColumnConstraints(TableSchema& table, std::vector<std::vector<QByteArray>>& uniques,
                         std::vector<bool>& uniqueIsPrimary)
  {
    ColumnSchema& column = table.columns.back();
    for (;;) {
      if (Accept("CONSTRAINT")) {
        Name("a constraint name");
      } else if (Accept("DEFAULT")) {
        column.defaultValue =
            Peek() && Peek()->kind == Token::Kind::Word && !Peek()->Is("NULL") ? Value(Next().text) : Literal();
      } else if (Accept("NOT")) {
        Expect("NULL");
        column.notNull = true;
        table.hasConflictClauses |= ConflictClause();
      } else if (Accept("NULL")) {
        table.hasConflictClauses |= ConflictClause();
      } else if (Accept("PRIMARY")) {
        Expect("KEY");
        if (!Accept("ASC"))
          Accept("DESC");
        table.hasConflictClauses |= ConflictClause();
        uniques.push_back({column.name});
        uniqueIsPrimary.push_back(true);
      } else if (Accept("UNIQUE")) {
        table.hasConflictClauses |= ConflictClause();
        uniques.push_back({column.name});
        uniqueIsPrimary.push_back(false);
      } else if (Accept("CHECK")) {
        SkipGroup();  // the engine parses CHECK but never enforces it
        table.hasConflictClauses |= ConflictClause();
      } else if (Accept("REFERENCES")) {
        Name("a table name");
        if (Peek() && Peek()->Is("("))
          SkipGroup();
        SkipReferenceArguments();
      } else if (Accept("COLLATE")) {
        column.numeric = !TypeIsText(Name("a collation"));
      } else if (Peek() && (Peek()->Is("DEFERRABLE") || (Peek()->Is("NOT") && Peek(1) && Peek(1)->Is("DEFERRABLE")))) {
        SkipReferenceArguments();
      } else {
        return;
      }
    }
  }

  void SkipReferenceArguments()
  {
    while (Peek() && !Peek()->Is(",") && !Peek()->Is(")")) {
      if (Peek()->Is("("))
        SkipGroup();
      else
        Next();
    }
  }

  void TableConstraint(std::vector<std::vector<QByteArray>>& uniques, std::vector<bool>& uniqueIsPrimary)
  {
    if (Accept("CONSTRAINT"))
      Name("a constraint name");
    if (Accept("PRIMARY")) {
      Expect("KEY");
      uniques.push_back(NameList(true));
      uniqueIsPrimary.push_back(true);
      ConflictClause();
    } else if (Accept("UNIQUE")) {
      uniques.push_back(NameList(true));
      uniqueIsPrimary.push_back(false);
      ConflictClause();
    } else if (Accept("CHECK")) {
      SkipGroup();
      ConflictClause();
    } else if (Accept("FOREIGN")) {
      Expect("KEY");
      NameList(false);
      Expect("REFERENCES");
      Name("a table name");
      if (Peek() && Peek()->Is("("))
        SkipGroup();
      SkipReferenceArguments();
    } else {
      throw SyntaxError{QStringLiteral("unexpected \"%1\" in CREATE TABLE").arg(Near())};
    }
  }

  IndexSchema CreateIndexBody(bool unique)
  {
    IndexSchema index;
    index.unique = unique;
    index.name = TableName();
    Expect("ON");
    index.table = TableName();
    index.columns = NameList(true);
    index.hasConflictClause = ConflictClause();
    return index;
  }

  QByteArray TextUpTo(const Token& first) const
  {
    const Token& last = m_tokens[m_position - 1];
    return m_sql.mid(first.begin, last.end - first.begin);
  }

  Statement ParseStatement()
  {
    const Token& first = Next();
    if (first.Is("CREATE")) {
      const bool temporary = Accept("TEMP") || Accept("TEMPORARY");
      if (Accept("TABLE")) {
        CreateTableStatement statement{CreateTableBody(temporary), {}};
        statement.sql = TextUpTo(first);
        return statement;
      }
      const bool unique = !temporary && Accept("UNIQUE");
      if (!temporary && Accept("INDEX")) {
        CreateIndexStatement statement{CreateIndexBody(unique), {}};
        statement.sql = TextUpTo(first);
        return statement;
      }
      throw Unsupported(first);
    }
    if (first.Is("BEGIN") || first.Is("COMMIT") || first.Is("END") || first.Is("ROLLBACK")) {
      if (Accept("TRANSACTION") && Peek() && Peek()->kind == Token::Kind::Word && !Peek()->Is("ON"))
        Next();
      if (first.Is("BEGIN") && ConflictClause())
        throw SyntaxError{QStringLiteral("unsupported statement: BEGIN with a conflict clause")};
      const auto kind = first.Is("BEGIN")      ? TransactionStatement::Kind::Begin
                        : first.Is("ROLLBACK") ? TransactionStatement::Kind::Rollback
                                               : TransactionStatement::Kind::Commit;
      return TransactionStatement{kind};
    }
    if (first.Is("COPY")) {
      if (Accept("OR"))
        throw SyntaxError{QStringLiteral("unsupported statement: COPY with a conflict clause")};
      CopyStatement statement;
      statement.table = TableName();
      Expect("FROM");
      statement.file = Name("a file name");
      if (Accept("USING")) {
        Expect("DELIMITERS");
        const Token& delimiter = Next();
        if (delimiter.kind != Token::Kind::String || delimiter.text.isEmpty())
          throw SyntaxError{QStringLiteral("expected a delimiter string")};
        statement.delimiter = delimiter.text;
      }
      return statement;
    }
    if (first.Is("DELETE")) {
      Expect("FROM");
      DeleteStatement statement;
      statement.table = TableName();
      if (Accept("WHERE")) {
        // column = literal, or literal = column
        if (Peek() && Peek()->kind == Token::Kind::Word && !Peek()->Is("NULL")) {
          statement.column = ColumnName(&m_qualifier);
          if (!Accept("=="))
            Expect("=");
          statement.literalIsNumber = NextIsNumber();
          statement.literal = Literal();
        } else {
          statement.literalIsNumber = NextIsNumber();
          statement.literal = Literal();
          if (!Accept("=="))
            Expect("=");
          statement.column = ColumnName(&m_qualifier);
        }
        if (!m_qualifier.isEmpty() && m_qualifier.compare(statement.table, Qt::CaseInsensitive) != 0)
          throw SyntaxError{QStringLiteral("no such column: %1.%2")
                                .arg(QString::fromLatin1(m_qualifier), QString::fromLatin1(*statement.column))};
      }
      return statement;
    }
    if (first.Is("INSERT")) {
      if (Accept("OR"))
        throw SyntaxError{QStringLiteral("unsupported statement: INSERT with a conflict clause")};
      Expect("INTO");
      InsertStatement statement;
      statement.table = TableName();
      if (Peek() && Peek()->Is("("))
        statement.columns = NameList(false);
      if (Accept("VALUES")) {
        Expect("(");
        do {
          statement.values.push_back(Literal());
        } while (Accept(","));
        Expect(")");
        return statement;
      }
      Expect("SELECT");
      if (!Accept("*")) {
        do {
          QByteArray qualifier;
          statement.sourceColumns.push_back(ColumnName(&qualifier));
        } while (Accept(","));
      }
      Expect("FROM");
      statement.sourceTable = TableName();
      return statement;
    }
    throw Unsupported(first);
  }

  SyntaxError Unsupported(const Token& first) const
  {
    QByteArray text = m_sql.mid(first.begin, 60);
    return SyntaxError{QStringLiteral("unsupported statement: %1").arg(QString::fromLatin1(text.simplified()))};
  }

  // Parses statements separated by ";" up to the end of the tokens.
  std::vector<Statement> ParseAll()
  {
    std::vector<Statement> statements;
    while (!AtEnd()) {
      if (Accept(";"))
        continue;
      const Token& first = *Peek();
      m_qualifier.clear();
      Statement statement = [&] {
        try {
          return ParseStatement();
        } catch (const SyntaxError& syntax) {
          if (syntax.message.startsWith(QStringLiteral("unsupported statement")))
            throw;
          throw SyntaxError{Unsupported(first).message + QStringLiteral(" (") + syntax.message + QStringLiteral(")")};
        }
      }();
      if (!AtEnd() && !Peek()->Is(";"))
        throw Unsupported(first);
      statements.push_back(std::move(statement));
    }
    return statements;
  }

 private:
  const QByteArray& m_sql;
  std::vector<Token> m_tokens;
  size_t m_position = 0;
  QByteArray m_qualifier;
};

template <typename Body>
auto ParseWith(const QByteArray& sql, QString* error, Body body)
    -> std::optional<decltype(body(std::declval<Parser&>()))>
{
  std::optional<std::vector<Token>> tokens = Tokenize(sql, error);
  if (!tokens)
    return std::nullopt;
  Parser parser(sql, std::move(*tokens));
  try {
    return body(parser);
  } catch (const SyntaxError& syntax) {
    if (error)
      *error = syntax.message;
    return std::nullopt;
  }
}

}  // namespace

std::optional<TableSchema> ParseCreateTable(const QByteArray& sql, QString* error)
{
  return ParseWith(sql, error, [](Parser& parser) {
    parser.Expect("CREATE");
    const bool temporary = parser.Accept("TEMP") || parser.Accept("TEMPORARY");
    parser.Expect("TABLE");
    TableSchema schema = parser.CreateTableBody(temporary);
    if (!parser.AtEnd())
      throw SyntaxError{QStringLiteral("near \"%1\": syntax error").arg(parser.Near())};
    return schema;
  });
}

std::optional<IndexSchema> ParseCreateIndex(const QByteArray& sql, QString* error)
{
  return ParseWith(sql, error, [](Parser& parser) {
    parser.Expect("CREATE");
    const bool unique = parser.Accept("UNIQUE");
    parser.Expect("INDEX");
    IndexSchema schema = parser.CreateIndexBody(unique);
    if (!parser.AtEnd())
      throw SyntaxError{QStringLiteral("near \"%1\": syntax error").arg(parser.Near())};
    return schema;
  });
}

std::optional<std::vector<Statement>> ParseStatements(const QByteArray& sql, QString* error)
{
  return ParseWith(sql, error, [](Parser& parser) { return parser.ParseAll(); });
}

}  // namespace quillon::sqlite2
