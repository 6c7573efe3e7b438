// Each write of a step failing in turn with "duplicate values", the failure that a user's
// unique index raises and that the executors pass over: a statement that moves, carries
// or deletes rows stops the step with the database as it was; only a schema statement (a
// column or index already there) may pass over it and let the step end.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "db/polaczenie.h"
#include "db/stan.h"
#include "db/wykonawca.h"
#include "jet/database.h"
#include "jet/error.h"
#include "jet/write_hook.h"
#include "platform/clipboard.h"

namespace kroki_test {

namespace detail {

// The write that fails, the writes counted so far, and the statement that the executor
// left on the clipboard for the failed write, read at the next write (or after the step).
inline int zawodzi = -1, zapisy = 0;
inline std::optional<std::string> schowek;

inline std::string Schowek() {
    std::ifstream plik(platform::clipboard_file());
    return std::string((std::istreambuf_iterator<char>(plik)), {});
}

inline void Zapis() {
    const int n = zapisy++;
    if (n == zawodzi + 1 && !schowek) schowek = Schowek();
    if (n == zawodzi) throw jet::make_error(jet::Fault::Duplicate);
}

}  // namespace detail

// For each write of the step from the od-th on (counted from 0): przygotuj opens the
// database as before the step, krok runs the step as the version loop does ("" when it
// returned, else what stopped it: "process end 1..." or "error ..." that reaches the
// loop) with that write failing, stan reads the whole database, and zamknij closes it.
// Stops at the first write number the step no longer reaches.
inline void Kazdy_Zapis_Zawodzi(const std::function<void()>& przygotuj,
                                const std::function<std::string()>& krok,
                                const std::function<std::vector<std::vector<std::string>>()>& stan,
                                const std::function<void()>& zamknij, int od = 0) {
    for (int n = od;; ++n) {
        SCOPED_TRACE("write " + std::to_string(n + 1));
        przygotuj();
        polaczenie().database().checkpoint();
        const auto przed = stan();
        platform::clear_clipboard();
        detail::zawodzi = n;
        detail::zapisy = 0;
        detail::schowek.reset();
        std::string r;
        {
            jet::WorkUnit jednostka(polaczenie().database());
            jet::set_write_hook(detail::Zapis);
            r = krok();
            jet::set_write_hook(nullptr);
        }
        if (detail::zapisy <= n) {
            zamknij();
            return;
        }
        if (r.empty()) {
            // The step went on: the failed statement was one that changes no rows.
            const std::string polecenie = detail::schowek.value_or(detail::Schowek());
            EXPECT_FALSE(Polecenie_Danych(polecenie)) << polecenie;
        } else {
            EXPECT_TRUE(r.starts_with("process end 1\n") || r.starts_with("error ")) << r;
            if (!Baza_Otwarta) DbOtwórz();
            EXPECT_EQ(stan(), przed);
        }
        zamknij();
    }
}

// The writes that krok makes over the database that przygotuj opens (zamknij closes it).
inline int Zapisy_Kroku(const std::function<void()>& przygotuj,
                        const std::function<std::string()>& krok,
                        const std::function<void()>& zamknij) {
    przygotuj();
    detail::zawodzi = -1;
    detail::zapisy = 0;
    jet::set_write_hook(detail::Zapis);
    krok();
    jet::set_write_hook(nullptr);
    zamknij();
    return detail::zapisy;
}

}  // namespace kroki_test
