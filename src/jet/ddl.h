// Data definition statements: CREATE TABLE, ALTER TABLE, CREATE INDEX, DROP INDEX
// and DROP TABLE, carried out on the session's catalog.
#pragma once

#include "jet/sql/ast.h"

namespace jet {

class Session;

// Runs one DDL statement as one atomic change: a failure raises the Jet failure
// (TableExists, FieldExists, NoSuchTable, DropMissingTable, NoSuchField,
// NoSuchIndex, FieldInIndex, IndexExists, PrimaryKeyExists, Duplicate, NullInKey
// ...) and leaves the database and its catalog as they were. Raises Internal for a
// statement that is not DDL.
void execute_ddl(Session& session, const sql::Statement& statement);

}  // namespace jet
