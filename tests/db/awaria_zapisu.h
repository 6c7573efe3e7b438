// A test seam for the environment's failures of writes: a locked file, a full disk or
// any failure that SQLite reports by a result code, on the program's connection, at a
// chosen write.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "db/polaczenie.h"
#include "jet/database.h"
#include "jet/error.h"
#include "jet/session.h"
#include "jet/write_hook.h"

// The engine's failure for SQLite's result code kod on the program's connection.
inline jet::Error Blad_Sqlite(int kod) {
    return jet::sqlite_failure(polaczenie().database().session().handle(), kod);
}

// Fails n writes of the engine, after the first pomin writes from the seam's start (which
// succeed), with a failure (of an environment condition: another process holding the
// file, a full disk; or the engine's failure for an SQLite result code): each fails
// before it changes anything, the way SQLite's code comes back; the writes after them
// succeed. A write is one writing statement as the engine's write hook counts them (an
// INSERT, UPDATE, DELETE, schema statement, recordset save or DAO change; not the
// statements a plan runs inside it), as the sweep of stops inside steps counts a step's
// writes. One seam at a time.
class Awaria_Zapisu {
  public:
    Awaria_Zapisu(jet::Fault f, int n) : Awaria_Zapisu(jet::make_error(f), n) {}
    Awaria_Zapisu(jet::Error blad, int n, int pomin = 0)
        : blad_(std::move(blad)), zostalo_(n), pomin_(pomin) {
        biezaca_ = this;
        jet::set_write_hook([] { biezaca_->zapis(); });
    }
    ~Awaria_Zapisu() {
        jet::set_write_hook(nullptr);
        biezaca_ = nullptr;
    }
    Awaria_Zapisu(const Awaria_Zapisu&) = delete;
    Awaria_Zapisu& operator=(const Awaria_Zapisu&) = delete;
    // The failures still to come.
    int zostalo() const { return zostalo_; }

  private:
    void zapis() {
        if (pomin_ > 0) {
            --pomin_;
            return;
        }
        if (zostalo_ == 0) return;
        --zostalo_;
        throw blad_;
    }
    static inline Awaria_Zapisu* biezaca_ = nullptr;
    jet::Error blad_;
    int zostalo_;
    int pomin_;
};

// Fails, while it lives, every read of the engine (a query that returns rows) whose statement
// holds fragment, with a failure as Awaria_Zapisu's. One seam at a time.
class Awaria_Odczytu {
  public:
    Awaria_Odczytu(jet::Error blad, std::string fragment)
        : blad_(std::move(blad)), fragment_(std::move(fragment)) {
        biezaca_ = this;
        jet::set_read_hook([](std::string_view sql) {
            if (sql.find(biezaca_->fragment_) != std::string_view::npos) throw biezaca_->blad_;
        });
    }
    ~Awaria_Odczytu() {
        jet::set_read_hook(nullptr);
        biezaca_ = nullptr;
    }
    Awaria_Odczytu(const Awaria_Odczytu&) = delete;
    Awaria_Odczytu& operator=(const Awaria_Odczytu&) = delete;

  private:
    static inline Awaria_Odczytu* biezaca_ = nullptr;
    jet::Error blad_;
    std::string fragment_;
};
