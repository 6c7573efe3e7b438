#!/usr/bin/env python3
"""Dumps a whole database of the engine as text, for comparing two runs with diff.

With --data, what the database holds, by the names the program knows: its properties
(the engine's internal numbering left out), then each table by name with its columns
in their order (type number, size, counter, default, zero-length permission,
required), its indexes by name (primary, unique, ignore-nulls, required, their columns)
and its rows, each row's values in the order of the column names (as the line before
the rows lists them), the rows sorted; then the relations by name. Each value has its
SQLite type (floats exactly). Two databases that hold the same data dump alike, however
their catalog numbered tables and columns.

Without --data, the engine's own storage: the catalog tables (every row, in key order,
internal numbers included), the SQLite declaration of every table's columns and of every
index the catalog names, and every row of every user table in rowid order, floats in hex.
The engine's planner hints (sqlite_stat1, hidden indexes "jeth_...") are left out.

The file is read as a reader reads it, writing nothing: as immutable when no write-ahead
log lies beside it (so no program may write it meanwhile), else through its log.

Usage: bench/dbdump.py [--data] DATABASE > dump.txt
"""
import os
import sqlite3
import sys


def jet_collation(a, b):
    # Only needed so that SQLite accepts the schema; the dump orders by rowid and keys.
    return (a > b) - (a < b)


def show(v):
    if isinstance(v, float):
        return "f:" + v.hex()
    if isinstance(v, bytes):
        return "b:" + v.hex()
    if v is None:
        return "NULL"
    return type(v).__name__[0] + ":" + repr(v)


def show_data(v):
    if isinstance(v, float):
        return "f:" + repr(v)  # the shortest text that reads back as the same float
    return show(v)


def by_name(rows):
    return sorted(rows, key=lambda r: (r[1].casefold(), r[1]))


def dump_data(db, out):
    out.write("== properties\n")
    for name, value in db.execute(
            "SELECT name, value FROM MSysJetProperties WHERE name <> 'NextId' ORDER BY name"):
        out.write("%s = %s\n" % (name, value))
    column = {}
    for table_id, name, sql_name in by_name(db.execute("SELECT id, name, sql_name FROM MSysJetTables")):
        out.write("== table %s\n" % name)
        cols = list(db.execute(
            "SELECT id, name, sql_name, type, size, counter, default_text, allow_zero_length, required "
            "FROM MSysJetColumns WHERE table_id = ? ORDER BY position", (table_id,)))
        for c in cols:
            column[c[0]] = c[1]
            out.write("column %s type %d size %d counter %d default %r zero-length %d required %d\n"
                      % ((c[1],) + c[3:]))
        for index_id, index, primary, unique, ignore_nulls, required in by_name(db.execute(
                "SELECT id, name, is_primary, is_unique, ignore_nulls, required FROM MSysJetIndexes "
                "WHERE table_id = ?", (table_id,))):
            keys = ", ".join(column[c] + (" desc" if d else "") for c, d in db.execute(
                "SELECT column_id, descending FROM MSysJetIndexColumns WHERE index_id = ? "
                "ORDER BY position", (index_id,)))
            out.write("index %s primary %d unique %d ignore-nulls %d required %d (%s)\n"
                      % (index, primary, unique, ignore_nulls, required, keys))
        cols = by_name(cols)
        out.write("rows (%s):\n" % ", ".join(c[1] for c in cols))
        if cols:
            query = "SELECT %s FROM %s" % (", ".join(c[2] for c in cols), sql_name)
            for line in sorted(" | ".join(show_data(v) for v in row) for row in db.execute(query)):
                out.write(line + "\n")
    relations = list(db.execute(
        "SELECT r.id, r.name, t.name, f.name FROM MSysJetRelations AS r "
        "JOIN MSysJetTables AS t ON t.id = r.table_id JOIN MSysJetTables AS f ON f.id = r.foreign_table_id"))
    for relation_id, name, table, foreign in by_name(relations):
        pairs = list(db.execute(
            "SELECT column_id, foreign_column_id FROM MSysJetRelationColumns WHERE relation_id = ? "
            "ORDER BY position", (relation_id,)))
        out.write("== relation %s: %s (%s) -> %s (%s)\n" % (
            name, table, ", ".join(column[c] for c, _ in pairs), foreign,
            ", ".join(column[f] for _, f in pairs)))


def main():
    args = sys.argv[1:]
    data = args[:1] == ["--data"]
    if data:
        args = args[1:]
    if len(args) != 1:
        sys.exit("usage: bench/dbdump.py [--data] DATABASE")
    path = args[0]
    # Without a log the file is all there is, and an immutable read creates nothing beside
    # it; SQLite reads a log through its index (created beside a log that lost it).
    mode = "mode=ro" if os.path.exists(path + "-wal") else "immutable=1"
    db = sqlite3.connect("file:%s?%s" % (path.replace("%", "%25").replace("?", "%3f").replace("#", "%23"), mode),
                         uri=True)
    db.create_collation("JET", jet_collation)
    out = sys.stdout
    if data:
        dump_data(db, out)
        return
    names = [r[0] for r in db.execute(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name LIKE 'MSys%' ORDER BY name")]
    for name in names:
        out.write("== catalog %s\n" % name)
        cols = [r[1] for r in db.execute("PRAGMA table_info(%s)" % name)]
        for row in db.execute("SELECT * FROM %s ORDER BY %s" % (name, ", ".join(cols))):
            out.write(" | ".join(show(v) for v in row) + "\n")
    tables = list(db.execute("SELECT name, sql_name FROM MSysJetTables ORDER BY id"))
    for name, sql_name in tables:
        out.write("== table %s (%s)\n" % (name, sql_name))
        for info in db.execute("PRAGMA table_xinfo(%s)" % sql_name):
            out.write("column: %s\n" % " ".join(show(v) for v in info))
        for (sql,) in db.execute(
                "SELECT sql FROM sqlite_master WHERE type = 'index' AND tbl_name = ? AND sql IS NOT NULL "
                "AND name NOT LIKE 'jeth\\_%' ESCAPE '\\' ORDER BY name", (sql_name,)):
            out.write("index: %s\n" % sql)
        cols = [r[1] for r in db.execute("PRAGMA table_info(%s)" % sql_name)]
        order = sorted(cols)
        query = "SELECT rowid%s FROM %s ORDER BY rowid" % ("".join(", " + c for c in order), sql_name)
        for row in db.execute(query):
            out.write(" | ".join(show(v) for v in row) + "\n")
    others = [r[0] for r in db.execute(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'MSys%' "
        "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND name NOT IN (SELECT sql_name FROM MSysJetTables) "
        "ORDER BY name")]
    out.write("== tables outside the catalog: %s\n" % ", ".join(others))


if __name__ == "__main__":
    main()
