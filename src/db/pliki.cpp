#include "db/pliki.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "jet/files.h"

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

namespace {

// Copies the open file zrodlo (of st) into a new file at cel with its mode, flushed.
bool kopiuj_zawartosc(int zrodlo, const struct stat& st, const std::string& cel) {
    const int fd =
        ::open(cel.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, st.st_mode & 07777);
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, st.st_mode & 07777) == 0;
    for (off_t od = 0; ok && od < st.st_size;) {
        const ssize_t n = ::copy_file_range(zrodlo, &od, fd, nullptr, size_t(st.st_size - od), 0);
        if (n > 0) continue;
        if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL)) {
            // A file system that cannot copy within the kernel: read and write.
            char bufor[1 << 16];
            const ssize_t r = ::pread(zrodlo, bufor, sizeof bufor, od);
            ok = r > 0 && ::write(fd, bufor, size_t(r)) == r;
            od += r > 0 ? r : 0;
        } else {
            ok = false;  // a failure, or the file shrank under the copy
        }
    }
    ok = ok && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

}  // namespace

bool Kopiuj_Plik(const std::string& zrodlo, const std::string& cel) {
    // The copy is written beside its destination, flushed, and takes the name only when
    // complete: a run stopped while copying leaves no partial copy under the name. The
    // source may be the database that the engine has open: its descriptor is let go
    // through the engine, which keeps it while the engine's connection holds locks.
    const std::string robocza = cel + ".kopia";
    const int fd = ::open(zrodlo.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && kopiuj_zawartosc(fd, st, robocza);
    jet::close_descriptor(fd);
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
    if (ok) ::flock(fd, LOCK_UN);
    jet::close_descriptor(fd);
    return ok;
}
