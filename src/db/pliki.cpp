#include "db/pliki.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

bool Usun_Plik(const std::string& sciezka) {
    if (Plik_Istnieje(sciezka)) ::unlink(sciezka.c_str());
    return !Plik_Istnieje(sciezka);
}

bool Plik_Istnieje(const std::string& sciezka) {
    struct stat st {};
    if (sciezka.empty() || ::stat(sciezka.c_str(), &st) != 0) return false;
    return !S_ISDIR(st.st_mode);
}

std::string Nazwa_Pliku(const std::string& sciezka) {
    std::string katalog, plik;
    Rozdziel_Sciezke(sciezka, katalog, plik);
    return plik;
}

void Rozdziel_Sciezke(const std::string& sciezka, std::string& katalog, std::string& plik) {
    if (sciezka.empty()) return;
    auto p = sciezka.find_last_of("\\/");
    if (p == sciezka.size() - 1) return;
    if (p != std::string::npos) {
        katalog = sciezka.substr(0, p);
        plik = sciezka.substr(p + 1);
        return;
    }
    std::error_code ec;
    katalog = std::filesystem::current_path(ec).string();
    plik = sciezka;
}

bool Jest_Separator(std::string_view znak) {
    return znak == "\\" || znak == "/";
}

std::string Katalog_Pliku(const std::string& sciezka) {
    auto p = sciezka.rfind('\\');
    return p == std::string::npos ? std::string() : sciezka.substr(0, p);
}

bool Kopiuj_Plik(const std::string& zrodlo, const std::string& cel) {
    // The copy is written beside its destination, flushed, and takes the name only when
    // complete: a run stopped while copying leaves no partial copy under the name.
    const std::string robocza = cel + ".kopia";
    std::error_code ec;
    std::filesystem::copy_file(zrodlo, robocza, std::filesystem::copy_options::overwrite_existing,
                               ec);
    bool ok = !ec;
    if (ok) {
        const int fd = ::open(robocza.c_str(), O_RDONLY | O_CLOEXEC);
        ok = fd >= 0 && ::fsync(fd) == 0;
        if (fd >= 0) ::close(fd);
    }
    ok = ok && ::rename(robocza.c_str(), cel.c_str()) == 0;
    if (!ok) ::unlink(robocza.c_str());
    return ok;
}

bool Plik_Dostepny(const std::string& sciezka) {
    int fd = ::open(sciezka.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    // Another process holding the file exclusively keeps a shared lock from us.
    if (ok && ::flock(fd, LOCK_SH | LOCK_NB) != 0) ok = false;
    return ::close(fd) == 0 && ok;
}
