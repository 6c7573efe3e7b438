// The database layer's test environment with a conversion object on an open database.
#pragma once

#include <string>
#include <vector>

#include "db/db_env.h"
#include "db/komunikaty.h"
#include "driver/konwersje.h"

class KonwersjeEnv : public DbEnv {
  protected:
    void TearDown() override {
        Podstaw_Kroki({});
        DbEnv::TearDown();
    }

    // Whether the process ended while f ran (the end hook throws ProcessEnd).
    template <class F>
    bool konczy(F f) {
        try {
            f();
        } catch (const platform::ProcessEnd& e) {
            status = e.status;
            return true;
        }
        return false;
    }

    // Opens the database again after a run's end closed it.
    void otworz_ponownie() {
        Zapisz_Rejestr("dodralvex", "0123", 0);
        DbOtwórz();
        ASSERT_TRUE(Baza_Otwarta);
    }

    // The log lines that hold fragment (whose apostrophes the log writes as quotes).
    int ile_w_logu(std::string fragment) {
        for (auto& c : fragment)
            if (c == '\'') c = '"';
        int n = 0;
        for (const auto& l : log())
            if (l.find(fragment) != std::string::npos) ++n;
        return n;
    }

    ClsKonwersje k;
    int status = -1;
};
