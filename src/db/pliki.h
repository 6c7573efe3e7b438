// File helpers: folder and file name of a path, existence and access tests, copy and
// delete. None of them reports anything to the user; every failure becomes false or an
// empty result.
#pragma once

#include <string>
#include <string_view>

// Deletes the file when it exists (a failed delete is ignored); true when no file is
// left at path.
bool Usun_Plik(const std::string& sciezka);

// True when path names an entry whose attributes can be read and that is not a folder.
bool Plik_Istnieje(const std::string& sciezka);

// The file name of a path: the text after its last "\" or "/"; "" when the path ends
// with a separator or is "".
std::string Nazwa_Pliku(const std::string& sciezka);

// Splits path at its last "\" or "/": folder gets the text before it, plik the text
// after it. A path without a separator gives the process's current directory as the
// folder and the whole path as the file. An empty path, or one that ends with a
// separator, leaves both outputs as they were.
void Rozdziel_Sciezke(const std::string& sciezka, std::string& katalog, std::string& plik);

// True when the one-character text is "\" or "/".
bool Jest_Separator(std::string_view znak);

// The text before the last "\" of a Windows path; "" when it has none. A "/" is not a
// separator here (the log's folder on Linux comes from platform::path_folder).
std::string Katalog_Pliku(const std::string& sciezka);

// Copies source to target, replacing target; true on success.
bool Kopiuj_Plik(const std::string& zrodlo, const std::string& cel);

// True when the file can be opened for reading and closed again: false for a missing
// file, a folder, a file without read permission and a file that another process holds
// under an exclusive lock.
bool Plik_Dostepny(const std::string& sciezka);
