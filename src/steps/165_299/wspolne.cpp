#include "steps/165_299/wspolne.h"

#include <memory>

#include "db/polaczenie.h"
#include "jet/error.h"
#include "jet/text.h"

namespace kroki {

void Dodaj_Wiersz_Gdy_Brak(ClsKonwersje& k, const std::string& tekst,
                           const std::vector<jet::Value>& wartosci) {
    std::unique_ptr<ado::Recordset> rs;
    if (k.DbOtwórzSELKonwersje(rs, tekst) == 0) {
        rs->AddNew();
        for (size_t i = 0; i < wartosci.size(); ++i) rs->Fields(static_cast<int>(i)) = wartosci[i];
        rs->UpdateBatch();
    }
    k.ZamknijRSKonwersje(rs);
}

void Numeruj(ClsKonwersje& k, const std::string& tekst,
             const std::function<std::optional<int32_t>(ado::Recordset&)>& licznik) {
    std::unique_ptr<ado::Recordset> rs;
    k.DbOtwórzSELKonwersje(rs, tekst);
    while (!Rekordy(rs).Eof()) {
        if (const auto n = licznik(*rs)) {
            rs->Fields(0) = jet::Value::long_(*n);
            rs->UpdateBatch();
        }
        rs->MoveNext();
    }
    k.ZamknijRSKonwersje(rs);
}

std::string W_Apostrofach(const std::string& tekst) {
    std::string wynik;
    for (char c : tekst) {
        wynik += c;
        if (c == '\'') wynik += '\'';
    }
    return wynik;
}

ado::Recordset& Rekordy(std::unique_ptr<ado::Recordset>& rs) {
    if (!rs)
        throw jet::Error(jet::hr::NotAllowed, "Object variable or With block variable not set");
    return *rs;
}

bool Rowne(const jet::Value& v, double liczba) {
    if (v.is_null() || v.is_empty()) return false;
    return v.to_double() == liczba;
}

void Z_Baza_DAO(ClsKonwersje& k, const std::function<void(dao::Database&)>& praca, int czekaj) {
    k.BazaDAO = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
    praca(*k.BazaDAO);
    k.BazaDAO->Close();
    k.BazaDAO.reset();
    if (czekaj > 0) k.CzekajKonwersje(czekaj);
}

void Przebieg_DAO(ClsKonwersje& k, const std::function<void(dao::TableDef&)>& dla_tabeli,
                  int czekaj) {
    Z_Baza_DAO(
        k,
        [&dla_tabeli](dao::Database& baza) {
            const int n = baza.TableDefCount();
            for (int i = 0; i < n; ++i) {
                dao::TableDef td = baza.TableDefs(i);
                if (td.Name().compare(0, 4, "MSys") == 0) continue;
                dla_tabeli(td);
            }
        },
        czekaj);
}

void Usun_Relacje(dao::Database& baza) {
    for (;;) {
        bool usunieto = false;
        for (const dao::Relation& r : baza.Relations()) {
            baza.DeleteRelation(r.Name);
            usunieto = true;
        }
        if (!usunieto) break;
    }
}

void Dodaj_Skladniki_Plac(ClsKonwersje& k, const std::string& warunek,
                          std::span<const Skladnik_Plac> skladniki) {
    k.DbWykonajDELKonwersje(warunek, "");
    for (const Skladnik_Plac& s : skladniki)
        k.DbWykonajIINKonwersje("[place_opisy] (POLE,OPIS,SKR) values (" + std::to_string(s.pole) +
                                ",'" + s.opis + "','" + s.skr + "')");
}

void Zmien_Nazwy_Tabel(ClsKonwersje& k, const std::vector<Zmiana_Nazwy>& zmiany) {
    Przebieg_DAO(k, [&zmiany](dao::TableDef& td) {
        const std::string nazwa = jet::text::upper(td.Name());
        for (const auto& [stara, nowa] : zmiany) {
            if (nazwa == stara) {
                td.SetName(nowa);
                return;
            }
        }
    });
}

void Zapisz_Wiersze_Pomijajac(ado::Recordset& rs, bool& pomijaj,
                              const std::function<void(ado::Recordset&)>& zmien) {
    while (!rs.Eof()) {
        try {
            zmien(rs);
            pomijaj = true;
            rs.UpdateBatch();
        } catch (const jet::Error&) {
            if (!pomijaj) throw;
            // A record that cannot be saved keeps its stored values; leaving its change
            // pending would fail the move to the next record again and again.
            rs.CancelUpdate();
        }
        try {
            rs.MoveNext();
        } catch (const jet::Error&) {
            return;
        }
    }
}

}  // namespace kroki

namespace kroki {

void Utworz_Tabele_Deklaracji(ClsKonwersje& k) {
    k.DbWykonajKonwersje(
        "create table [Deklaracje] ([Nazwa] TEXT (50), [Rok] long, [Miesiac] "
        "text(20),[data_wyst] date,[imie] text(30),[nazwisko] text(40),[korekta] "
        "logical,[wniosek] logical,[id] counter)");
    k.DbWykonajKonwersje("create table [Deklaracje_Zawart] (id long,Typ text(20),wartosc money)");
}

}  // namespace kroki
