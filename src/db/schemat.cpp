#include "db/schemat.h"

#include "ado/ado.h"
#include "db/komunikaty.h"
#include "db/polaczenie.h"
#include "db/stan.h"
#include "db/wykonaj.h"
#include "jet/error.h"
#include "jet/text.h"

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

// The number that a count query over the connection returns.
double policz(const std::string& zapytanie) {
    ado::Recordset rs;
    rs.Open(zapytanie, polaczenie());
    const double n = rs.Eof() ? 0 : rs.Fields(0).value().to_double();
    rs.Close();
    return n;
}

// Whether the failure is that of a missing table or column.
bool brak_tabeli_lub_pola(const jet::Error& e) {
    return e.number() == jet::hr::MissingParameter || e.number() == jet::hr::NoSuchTable;
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

bool Kopia_Jedyna(std::string_view tabela, std::string_view kolumna) {
    if (!Baza_Otwarta) DbPolacz_Ponownie();
    const std::string T = s(tabela), F = "[" + s(kolumna) + "]", tmp = kKolumnaTymczasowa;
    try {
        return policz("SELECT count(*) FROM " + T + " WHERE " + tmp + " IS NOT NULL AND (" + F +
                      " IS NULL OR " + F + " <> " + tmp + ")") > 0;
    } catch (const jet::Error& e) {
        // Text held against a number: the values are no copy of the column's.
        if (e.number() == jet::hr::TypeMismatch) return true;
        if (!brak_tabeli_lub_pola(e)) throw;
    }
    // The column or the temporary column is missing.
    try {
        return policz("SELECT count(*) FROM " + T + " WHERE " + tmp + " IS NOT NULL") > 0;
    } catch (const jet::Error& e) {
        if (!brak_tabeli_lub_pola(e)) throw;
    }
    return false;
}

void Oddaj_Kopie(std::string_view tabela, std::string_view kolumna,
                 const Wykonawca_Zmiany& wykonaj) {
    const std::string T = s(tabela), tmp = kKolumnaTymczasowa;
    if (Kopia_Jedyna(tabela, kolumna)) wykonaj("UPDATE " + T + " SET " + s(kolumna) + "=" + tmp);
    if (!Kopia_Jedyna(tabela, kolumna)) wykonaj("alter table " + T + " drop COLUMN " + tmp);
}

std::string Dokoncz_Przerwana_Zmiane(std::string_view tabela, const Wykonawca_Zmiany& wykonaj) {
    if (!Baza_Otwarta) DbPolacz_Ponownie();
    std::string cel;
    {
        ado::Recordset rs;
        try {
            rs.Open("SELECT * FROM " + s(tabela) + " WHERE False", polaczenie());
        } catch (const jet::Error& e) {
            if (e.number() == jet::hr::NoSuchTable) return "";
            throw;
        }
        const std::string tmp = jet::text::upper(kKolumnaTymczasowa);
        const int n = rs.FieldCount();
        for (int i = 0; i + 1 < n && cel.empty(); ++i)
            if (jet::text::upper(rs.Fields(i).Name()) == tmp) cel = rs.Fields(i + 1).Name();
        rs.Close();
    }
    if (!cel.empty()) Oddaj_Kopie(tabela, cel, wykonaj);
    return cel;
}
