#include "db/schemat.h"

#include "db/komunikaty.h"
#include "db/polaczenie.h"
#include "db/wykonaj.h"

namespace {

std::string s(std::string_view v) {
    return std::string(v);
}

// Runs the statement with failures only logged; "" or the result text.
std::string cicho(const std::string& polecenie) {
    return DbWykonaj(polecenie, -1);
}

// With stop set, a failure shows its text and ends the process.
const std::string& zatrzymaj_przy_bledzie(const std::string& wynik, int16_t stop) {
    if (!wynik.empty() && stop) {
        FMsg_box(wynik, vbCritical, "");
        Wylogowanie();
    }
    return wynik;
}

}  // namespace

void Utworz_Tabele(std::string_view nazwa, std::string_view kolumny, std::string_view pola_klucza) {
    cicho("drop table " + s(nazwa));
    DbWykonaj("create table " + s(nazwa) + " ( " + s(kolumny) + ")", 0);
    if (!pola_klucza.empty()) Utworz_Klucz_Podstawowy(nazwa, pola_klucza, 0);
}

void Usun_Index(std::string_view indeks, std::string_view tabela, int16_t stop) {
    zatrzymaj_przy_bledzie(cicho("drop index " + s(indeks) + " ON " + s(tabela)), stop);
}

std::string Utworz_Klucz_Podstawowy(std::string_view tabela, std::string_view pola, int16_t stop) {
    cicho("drop index Podstawowy ON " + s(tabela));
    return zatrzymaj_przy_bledzie(
        cicho("CREATE UNIQUE INDEX Podstawowy ON " + s(tabela) + " (" + s(pola) + ")WITH PRIMARY"),
        stop);
}

void Utworz_Klucze_Z_Zawart(std::string_view tabela, std::string_view pola_klucza,
                            std::string_view pola_zawartosci) {
    Utworz_Klucz_Podstawowy(tabela, pola_klucza, 0);
    Utworz_Klucz_Podstawowy(s(tabela) + "_ZAWART", s(pola_klucza) + "," + s(pola_zawartosci), 0);
}

std::string Utworz_Index_Unikalny(std::string_view indeks, std::string_view tabela,
                                  std::string_view pola, int16_t stop) {
    cicho("drop index " + s(indeks) + " ON " + s(tabela));
    return zatrzymaj_przy_bledzie(
        cicho("CREATE UNIQUE INDEX " + s(indeks) + " ON " + s(tabela) + " (" + s(pola) + ")"),
        stop);
}

std::string Utworz_Index(std::string_view indeks, std::string_view tabela, std::string& pola,
                         int16_t stop) {
    if (pola.empty()) pola = indeks;
    cicho("drop index " + s(indeks) + " ON " + s(tabela));
    return zatrzymaj_przy_bledzie(
        cicho("CREATE INDEX " + s(indeks) + " ON " + s(tabela) + " (" + pola + ")"), stop);
}

std::string Utworz_Index(std::string_view indeks, std::string_view tabela, std::string_view pola,
                         int16_t stop) {
    std::string kopia(pola);
    return Utworz_Index(indeks, tabela, kopia, stop);
}

void Usun_Pole(std::string_view tabela, std::string_view kolumna) {
    cicho("drop INDEX ind" + s(kolumna) + " ON " + s(tabela));
    cicho("drop INDEX " + s(kolumna) + " ON " + s(tabela));
    cicho("Alter table " + s(tabela) + " drop COLUMN " + s(kolumna));
}
