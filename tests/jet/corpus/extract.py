#!/usr/bin/env python3
"""Collects the complete Jet SQL statements that the conversion quotes in its
documents into statements.sql, one per line, in order of first appearance.

A statement is a double-quoted text that begins with a SQL keyword and is not a
piece of a concatenation (a text followed or preceded by "&"); the process-wide
keyword constant Stala_DISTINCTROW is put in as the text it stands for. A text
opened as a recordset ("Open "...") lacks the "Select " that the opener puts
before it, and the arguments of the UPDATE and INSERT executors lack "UPDATE " and
"INSERT INTO ": they are completed. Texts that the program completes with a name or a value
(ending with a blank, an operator, a keyword such as WHERE or ON, an open quote,
bracket or parenthesis) are pieces and are left out.

usage: extract.py DOCUMENT... > statements.sql
"""
import re
import sys

KEYWORDS = re.compile(r"(?i)^(select|insert|update|delete|create|alter|drop)[\s\[(]")
QUOTED = re.compile(r'"([^"\n]*)"')
CONSTANTS = {"`Stala_DISTINCTROW`": "DISTINCTROW"}
OPENED = re.compile(r"(?i)\bopens?\s*$")
# The statement arguments of the UPDATE and INSERT executors, which put "UPDATE " and
# "INSERT INTO " before them: "t set a=1 where ...", "t (a, b) values (1, 2)".
UPDATE_BODY = re.compile(r"(?i)^[(\[\w][^']*?\sset\s+[\[\w.\]]+\s*=")
INSERT_BODY = re.compile(r"(?i)^[\[\w][\w\]]*\s*\([^()']*\)\s*(values|select)\b")


# Words that a complete statement cannot end with.
OPEN_ENDS = {"table", "column", "index", "unique", "into", "from", "where", "set", "on", "and",
             "or", "by", "join", "select", "update", "delete", "*"}
# Prefixes that the program completes with a name ("create index ind" & column & ...).
PREFIXES = {"create index ind"}


def complete(text):
    if not text or text != text.rstrip() or text.endswith(("=", ",", "<", ">")):
        return False
    words = text.split()
    if len(words) < 3 or words[-1].lower() in OPEN_ENDS or text.lower() in PREFIXES:
        return False
    if text.count("'") % 2 or text.count("[") != text.count("]"):
        return False
    return text.count("(") == text.count(")")


def statements(line):
    matches = list(QUOTED.finditer(line))
    i = 0
    while i < len(matches):
        m = matches[i]
        text = m.group(1)
        before = line[: m.start()].rstrip()
        end = m.end()
        piece = before.endswith("&")
        # Joins "..." & `constant` & "..." into one text.
        while i + 1 < len(matches):
            gap = line[end : matches[i + 1].start()].strip()
            parts = [p.strip() for p in gap.split("&")]
            if len(parts) == 3 and parts[0] == "" and parts[2] == "" and parts[1] in CONSTANTS:
                i += 1
                text += CONSTANTS[parts[1]] + matches[i].group(1)
                end = matches[i].end()
            else:
                break
        if line[end:].lstrip().startswith("&"):
            piece = True
        i += 1
        if piece:
            continue
        if not KEYWORDS.match(text):
            if OPENED.search(before) and re.search(r"(?i)\sfrom\s", " " + text):
                text = "Select " + text
            elif UPDATE_BODY.match(text):
                text = "UPDATE " + text
            elif INSERT_BODY.match(text):
                text = "INSERT INTO " + text
            else:
                continue
        if complete(text):
            yield text


def main(paths):
    seen = set()
    for path in paths:
        with open(path, encoding="utf-8") as f:
            for line in f:
                for st in statements(line):
                    if st not in seen:
                        seen.add(st)
                        print(st)


if __name__ == "__main__":
    main(sys.argv[1:])
