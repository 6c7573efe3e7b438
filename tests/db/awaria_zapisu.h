// A test seam for the environment's failures of writes: a locked file, a full disk or
// any failure that SQLite reports by a result code, on the program's connection, at a
// chosen write.
#pragma once

#include <cstdint>
#include <utility>

#include "db/polaczenie.h"
#include "db/stan.h"
#include "jet/database.h"
#include "jet/error.h"
#include "jet/rowaccess.h"
#include "jet/session.h"

// The engine's failure for SQLite's result code kod on the program's connection.
inline jet::Error Blad_Sqlite(int kod) {
    return jet::sqlite_failure(polaczenie().database().session().handle(), kod);
}

// Fails the engine's next n writes on the program's connection (after the first pomin,
// which succeed) with a failure (of an environment condition: another process holding
// the file, a full disk; or the engine's failure for an SQLite result code): each write
// statement fails before it changes anything, the way SQLite's code comes back. Give n
// exactly: a write still armed when the process ends would fail the close.
class Awaria_Zapisu {
  public:
    Awaria_Zapisu(jet::Fault f, int n) : Awaria_Zapisu(jet::make_error(f), n) {}
    Awaria_Zapisu(jet::Error blad, int n, int pomin = 0)
        : blad_(std::move(blad)), zostalo_(n), pomin_(pomin), baza_(polaczenie().database()) {
        uzbroj();
    }
    ~Awaria_Zapisu() {
        if (klucz_ && Baza_Otwarta) jet::cancel_before_write(baza_, klucz_);
    }
    Awaria_Zapisu(const Awaria_Zapisu&) = delete;
    Awaria_Zapisu& operator=(const Awaria_Zapisu&) = delete;
    int zostalo() const { return zostalo_; }

  private:
    void uzbroj() {
        klucz_ = zostalo_ > 0 ? jet::before_next_write(baza_, [this] { zapis(); }) : 0;
    }
    void zapis() {
        if (pomin_ > 0) {
            --pomin_;
            uzbroj();
            return;
        }
        --zostalo_;
        uzbroj();
        throw blad_;
    }
    jet::Error blad_;
    int zostalo_;
    int pomin_;
    uint64_t klucz_ = 0;
    jet::Database& baza_;
};
