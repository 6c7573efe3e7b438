#include "platform/paths.h"

#include <cstdlib>

namespace platform {
namespace {

// An environment variable, or "" when it is unset.
std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

}  // namespace

std::filesystem::path registry_file() {
    if (auto p = env("ORVIK_REGISTRY"); !p.empty()) return p;
    if (auto xdg = env("XDG_CONFIG_HOME"); !xdg.empty())
        return std::filesystem::path(xdg) / "orvik" / "registry.reg";
    std::filesystem::path home = env("HOME");
    if (home.empty()) home = ".";
    return home / ".config" / "orvik" / "registry.reg";
}

std::string registry_file_help() {
    std::error_code ec;
    std::filesystem::path here = std::filesystem::absolute(registry_file(), ec);
    if (ec) here = registry_file();
    return "The registry file: $ORVIK_REGISTRY when set, else\n"
           "$XDG_CONFIG_HOME/orvik/registry.reg, else ~/.config/orvik/registry.reg;\n"
           "in this environment: " +
           here.string() + "\n";
}

std::filesystem::path config_folder() {
    auto folder = registry_file().parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

std::string path_folder(std::string_view path) {
    auto p = path.find_last_of("/\\");
    return p == std::string_view::npos ? std::string() : std::string(path.substr(0, p));
}

std::string log_file_for(std::string_view database_path) {
    auto first = database_path.find_first_not_of(' ');
    if (first == std::string_view::npos) return (config_folder() / "Rejestr.txt").string();
    // A path that ends with a separator names a folder (given as the database by
    // mistake): the log goes beside it, as beside a file, never inside it.
    const auto last = database_path.find_last_not_of("/\\");
    if (last != std::string_view::npos)
        database_path.remove_suffix(database_path.size() - last - 1);
    if (database_path.find_last_of("/\\") == std::string_view::npos) return "Log";
    return path_folder(database_path) + "/Log";
}

}  // namespace platform
