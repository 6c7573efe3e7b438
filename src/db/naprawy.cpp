#include "db/naprawy.h"

#include <memory>
#include <string>
#include <vector>

#include "dao/dao.h"
#include "db/komunikaty.h"
#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/schemat.h"
#include "db/stan.h"
#include "db/wykonaj.h"
#include "jet/error.h"
#include "jet/text.h"
#include "platform/wait.h"

namespace {

// The module's DAO database: the second access to the file while the repairs work.
std::shared_ptr<dao::Database> baza_dao;

void zamknij_baze_dao() {
    if (baza_dao) {
        try {
            baza_dao->Close();
        } catch (const jet::Error&) {
        }
    }
    baza_dao.reset();
}

struct Pole {
    std::string nazwa;
    int typ;
    int rozmiar;
};

// The fields of a table as they stand before the repair changes them.
std::vector<Pole> pola_tabeli(const dao::TableDef& td) {
    std::vector<Pole> pola;
    const int n = td.FieldCount();
    for (int i = 0; i < n; ++i) {
        const dao::Field f = td.Fields(i);
        pola.push_back({f.Name(), f.Type(), f.Size()});
    }
    return pola;
}

// The table's text columns shorter than 255 characters in their order, the temporary
// column aside.
std::vector<std::string> krotkie_pola(const std::string& tabela) {
    std::vector<std::string> krotkie;
    for (const Pole_Tabeli& p : Pola_Tabeli(tabela).value_or(std::vector<Pole_Tabeli>{}))
        if (p.typ == dao::dbText && p.rozmiar < 255 &&
            !jet::text::same_name(p.nazwa, kKolumnaTymczasowa))
            krotkie.push_back(p.nazwa);
    return krotkie;
}

}  // namespace

std::string Domyslna_Porzadkow(int typ, std::string_view kolumna) {
    if (typ >= dao::dbByte && typ <= dao::dbDouble)
        return jet::text::upper(kolumna) == "NR_WYJAZDU" ? "1" : "0";
    if (typ == dao::dbText || typ == dao::dbMemo) return "\"\"";
    return "";
}

int16_t Poszerz_Pola_Tekstowe(std::string_view prefiks, std::string_view tabela, int16_t otworz) {
    int16_t wynik = 0;
    try {
        if (otworz) baza_dao = dao::DBEngine::OpenDatabase(Sciezka_Bazy);
        FMsg_box("Najmniej jedno za krótkie pole tekstowe w tabeli : " + std::string(tabela),
                 vbOKOnly, "");
        if (!baza_dao)
            throw jet::Error(jet::hr::NotAllowed, "Object variable or With block variable not set");
        const std::string T = std::string(prefiks) + "." + std::string(tabela);
        const std::string tmp = kKolumnaTymczasowa;
        const Wykonawca_Zmiany wykonaj = [](const std::string& polecenie) {
            return DbWykonaj(polecenie, 0).empty();
        };
        const int n = baza_dao->TableDefCount();
        for (int i = 0; i < n; ++i) {
            const std::string nazwa = baza_dao->TableDefs(i).Name();
            if (!jet::text::same_name("[" + nazwa + "]", tabela)) continue;
            wynik = -1;
            // A temporary column that a stopped run left is settled first, as the widening
            // of the table's first short text column finds it.
            const std::vector<std::string> przed = krotkie_pola(nazwa);
            const std::string pierwsza = przed.empty() ? "" : przed.front();
            if (Rozstrzygnij_Kopie(nazwa, T, {pierwsza, pierwsza, "text(255)", "text(255)"},
                                   wykonaj) != Stan_Kopii::Brak)
                continue;
            for (const std::string& F : krotkie_pola(nazwa)) {
                DbWykonaj("alter table " + T + " drop COLUMN " + tmp + " ", 0);
                DbWykonaj("alter table " + T + " ADD " + tmp + " text(255)", 0);
                if (!DbWykonaj("UPDATE " + T + " SET " + tmp + "=[" + F + "]", 0).empty()) {
                    // The copy failed (and was ignored): the column keeps its values as they are.
                    DbWykonaj("alter table " + T + " drop COLUMN " + tmp, -1);
                    continue;
                }
                DbWykonaj("drop INDEX ind" + F + " ON " + T, -1);
                // Another index that holds the column goes with it and is made again over
                // the column widened.
                const std::vector<Indeks_Tabeli> indeksy =
                    Zdejmij_Indeksy_Pola(nazwa, T, F, wykonaj);
                DbWykonaj("alter table " + T + " drop COLUMN " + F, 0);
                DbWykonaj("alter table " + T + " ADD " + F + " text(255)", 0);
                // A copy back that failed (and was ignored) keeps the temporary column, the
                // only copy of the column's values: the widening ends there.
                if (!Oddaj_Kopie(T, F, wykonaj)) break;
                Odtworz_Indeksy_Pola(nazwa, T, indeksy, F, F, wykonaj);
                Sprawdz_Zmiane_Pola(nazwa, {F, F, "text(255)", "text(255)"});
            }
        }
    } catch (const jet::Error& e) {
        // The routine's own failures end it quietly; a failure of the environment (a
        // locked file, a full disk, an I/O error, a damaged page) is no statement's and
        // goes to the caller.
        if (jet::environment_failure(e)) {
            zamknij_baze_dao();
            throw;
        }
    }
    zamknij_baze_dao();
    return wynik;
}

void Porzadkuj_Baze(std::string_view sciezka, int16_t usun_bledy_wklejania, int16_t ignoruj_bledy,
                    std::string_view tylko_tabela) {
    // Runs one statement of the tidy-up; with ignoruj_bledy its failure is skipped, except
    // a failure of the environment (a locked file, a full disk, an I/O error), which is no
    // statement's and stops the tidy-up. The statements through DbWykonajDAO pass over
    // their failures but raise the environment's.
    auto krok = [&](auto&& dzialanie) {
        try {
            dzialanie();
        } catch (const jet::Error& e) {
            if (!ignoruj_bledy || jet::environment_failure(e)) throw;
        }
    };
    // The DAO database is closed also when a failure goes to the caller.
    struct Zamknij {
        ~Zamknij() { zamknij_baze_dao(); }
    } zamknij;
    krok([&] { baza_dao = dao::DBEngine::OpenDatabase(sciezka); });
    if (baza_dao) {
        std::vector<std::string> tabele;
        krok([&] {
            const int n = baza_dao->TableDefCount();
            for (int i = 0; i < n; ++i) tabele.push_back(baza_dao->TableDefs(i).Name());
        });
        const std::string tylko = jet::text::upper(tylko_tabela);
        for (const std::string& nazwa : tabele) {
            if (nazwa.starts_with("MSys")) continue;
            if (nazwa == "Błędy wklejania") {
                if (usun_bledy_wklejania) DbWykonajDAO("drop table [" + nazwa + "]", baza_dao);
                continue;
            }
            const std::string duza = jet::text::upper(nazwa);
            if (duza == "NIERUSZAC" || !(tylko.empty() || tylko == duza)) continue;
            std::vector<Pole> pola;
            if (nazwa != duza) krok([&] { baza_dao->TableDefs(nazwa).SetName(duza); });
            krok([&] { pola = pola_tabeli(baza_dao->TableDefs(duza)); });
            for (const Pole& p : pola) {
                const std::string& F = p.nazwa;
                if (p.typ >= dao::dbByte && p.typ <= dao::dbDouble) {
                    const std::string zero = Domyslna_Porzadkow(p.typ, F);
                    krok([&] { baza_dao->TableDefs(duza).Fields(F).SetDefaultValue(zero); });
                    DbWykonajDAO("UPDATE [" + duza + "] SET [" + F + "]=" + zero + "  where [" + F +
                                     "] is null",
                                 baza_dao);
                } else if (p.typ == dao::dbText || p.typ == dao::dbMemo) {
                    krok([&] { baza_dao->TableDefs(duza).Fields(F).SetAllowZeroLength(true); });
                    krok([&] {
                        baza_dao->TableDefs(duza).Fields(F).SetDefaultValue(
                            Domyslna_Porzadkow(p.typ, F));
                    });
                    DbWykonajDAO(
                        "UPDATE [" + duza + "] SET [" + F + "]='' where [" + F + "] is null",
                        baza_dao);
                }
            }
        }
    }
    zamknij_baze_dao();
    Czekaj(15);
}

void Czekaj(int32_t sekundy) {
    const std::string poprzedni = status_line(3);
    for (int32_t licznik = 1; licznik <= sekundy; ++licznik) {
        platform::wait_seconds(1);
        Pokaz_Postep("", "", std::to_string(sekundy - licznik));
    }
    set_status_line(3, poprzedni);
}
