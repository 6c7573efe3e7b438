// Where the Linux stand-ins keep their files, and the folder part of the system's paths.
//
// The system names files with Windows paths; on Linux a database path is an ordinary
// path. The registry file, the clipboard file and the fallback log live in one
// configuration folder.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// The registry file: $ORVIK_REGISTRY when set and not empty, else
// $XDG_CONFIG_HOME/orvik/registry.reg, else ~/.config/orvik/registry.reg (HOME unset:
// ./.config/orvik/registry.reg).
std::filesystem::path registry_file();

// The lines of a program's usage that say where the registry file is: the rule above
// and the file it names in this environment, as an absolute path.
std::string registry_file_help();

// The folder of the registry file; the clipboard and the fallback log live there.
std::filesystem::path config_folder();

// The folder part of a path: the text before its last "/" or "\" (that separator
// excluded); "" when the path has neither.
std::string path_folder(std::string_view path);

// The log file of a database: "Log" in the database's folder ("/" or "\" both end the
// folder; a bare file name puts it in the current directory, "/baza.mdb" in "/";
// separators at the path's end are not counted, so "/srv/dane/" puts it in "/srv"); when
// the path, with blanks trimmed, is empty (no database known), "Rejestr.txt" in the
// configuration folder.
std::string log_file_for(std::string_view database_path);

}  // namespace platform
