#!/usr/bin/env python3
"""Dumps a whole database of the engine as text, for comparing two runs with diff:
the catalog tables (every row, in key order), the SQLite declaration of every table's
columns and of every index the catalog names, and every row of every user table in rowid
order, each value with its SQLite type (floats exactly). The engine's planner hints
(sqlite_stat1, hidden indexes "jeth_...") are not part of a database's content and
are left out.

Usage: bench/dbdump.py DATABASE > dump.txt
"""
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


def main():
    db = sqlite3.connect("file:" + sys.argv[1] + "?mode=ro", uri=True)
    db.create_collation("JET", jet_collation)
    out = sys.stdout
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
